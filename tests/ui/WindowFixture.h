#pragma once

#include "LinkState.h"
#include "MainToolbar.h"
#include "MainWindow.h"
#include "PhoneGrid.h"

#include <QComboBox>
#include <QGroupBox>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include <memory>

// A fresh main window, shown and active, as a user has it in front of them;
// null if the window system never made it active.
inline std::unique_ptr<MainWindow> shownWindow(bool framesEnabled = false) {
    QStandardPaths::setTestModeEnabled(true);
    linkState() = LinkState{};
    auto window = std::make_unique<MainWindow>();
    if (framesEnabled)
        window->setFramesEnabled(true);
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window.get()) ? std::move(window) : nullptr;
}

// What the user can reach, as the connection state has it: the toolbar, both
// frames, the port selector, how many of buttons 3 to 6, and button 1's image.
struct Reachable {
    bool toolbar, frames, selector;
    int commands, image;
    bool operator==(const Reachable&) const = default;
};
inline Reachable reachable(const MainWindow& window) {
    Reachable now{window.toolbar()->isEnabled(),
                  window.frmMain()->isEnabled() && window.frmNumbers()->isEnabled(),
                  window.cmbSerial()->isEnabled(), 0, window.toolbar()->connectionImage()};
    for (int position : {3, 4, 5, 6})
        now.commands += window.toolbar()->buttonWidget(position)->isEnabled();
    return now;
}
inline const Reachable NotConnected{true, false, true, 0, 1};
inline const Reachable Connected{true, true, false, 4, 2};

inline void clickToolbar(MainWindow& window, int position) {
    QTest::mouseClick(window.toolbar()->buttonWidget(position), Qt::LeftButton);
}
inline void clickCell(PhoneGrid& grid, int row, int column = PhoneGrid::NumberColumn) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(row, column)).center());
}
