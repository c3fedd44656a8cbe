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
inline QString reachable(const MainWindow& window) {
    int commands = 0;
    for (int position : {3, 4, 5, 6})
        commands += window.toolbar()->buttonWidget(position)->isEnabled();
    return QString("toolbar %1, frames %2, selector %3, commands %4, image %5")
        .arg(window.toolbar()->isEnabled())
        .arg(window.frmMain()->isEnabled() && window.frmNumbers()->isEnabled())
        .arg(window.cmbSerial()->isEnabled())
        .arg(commands)
        .arg(window.toolbar()->connectionImage());
}
inline const QString NotConnected = "toolbar 1, frames 0, selector 1, commands 0, image 1";
inline const QString Connected = "toolbar 1, frames 1, selector 0, commands 4, image 2";

inline void clickToolbar(MainWindow& window, int position) {
    QTest::mouseClick(window.toolbar()->buttonWidget(position), Qt::LeftButton);
}
inline void clickCell(PhoneGrid& grid, int row, int column = PhoneGrid::NumberColumn) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(row, column)).center());
}
