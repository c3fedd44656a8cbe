#pragma once

#include "MainToolbar.h"
#include "MainWindow.h"
#include "PhoneGrid.h"

#include <QAction>
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
    auto window = std::make_unique<MainWindow>();
    if (framesEnabled)
        window->setFramesEnabled(true);
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window.get()) ? std::move(window) : nullptr;
}

// What the user can reach, as the connection state has it: the toolbar, both
// frames, the port selector, how many of the commands that need a modem, and
// the connection button's image.
inline QString reachable(const MainWindow& window) {
    int commands = 0;
    for (ToolbarCommand command : {ToolbarCommand::ResetModem, ToolbarCommand::DefaultSettings,
                                   ToolbarCommand::RelayOn, ToolbarCommand::RelayOff})
        commands += window.toolbar()->button(command)->isEnabled();
    return QString("toolbar %1, frames %2, selector %3, commands %4, image %5")
        .arg(window.toolbar()->isEnabled())
        .arg(window.frmMain()->isEnabled() && window.frmNumbers()->isEnabled())
        .arg(window.cmbSerial()->isEnabled())
        .arg(commands)
        .arg(window.toolbar()->connectionImage());
}
inline const QString NotConnected = "toolbar 1, frames 0, selector 1, commands 0, image 1";
inline const QString Connected = "toolbar 1, frames 1, selector 0, commands 4, image 2";

inline void clickToolbar(MainWindow& window, ToolbarCommand command) {
    QTest::mouseClick(window.toolbar()->button(command), Qt::LeftButton);
}
inline void clickCell(PhoneGrid& grid, int row, int column = PhoneGrid::NumberColumn) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(row, column)).center());
}
