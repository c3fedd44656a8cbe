#pragma once

#include "WindowControls.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include <memory>

// A fresh main window, shown and active, as a user has it in front of them
// at a first start (nothing remembered from a window closed before); null if
// the window system never made it active.
inline std::unique_ptr<MainWindow> shownWindow(bool framesEnabled = false) {
    QStandardPaths::setTestModeEnabled(true);
    saveWindowSettings({});
    auto window = std::make_unique<MainWindow>();
    if (framesEnabled) {
        frmMain(*window)->setEnabled(true);
        frmNumbers(*window)->setEnabled(true);
    }
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window.get()) ? std::move(window) : nullptr;
}

// What the user can reach, as the connection state has it: the toolbar, both
// frames, the port selector, how many of the commands that need a modem, and
// the connection button's image.
inline QString reachable(const MainWindow& window) {
    int commands = 0;
    for (const char* command : {"factory-defaults", "clear", "relay-on", "relay-off"})
        commands += window.toolbar()->button(QString::fromLatin1(command))->isEnabled();
    return QString("toolbar %1, frames %2, selector %3, commands %4, image %5")
        .arg(window.toolbar()->isEnabled())
        .arg(frmMain(window)->isEnabled() && frmNumbers(window)->isEnabled())
        .arg(cmbSerial(window)->isEnabled())
        .arg(commands)
        .arg(window.toolbar()->connectionImage());
}
inline const QString NotConnected = "toolbar 1, frames 0, selector 1, commands 0, image 1";
inline const QString Connected = "toolbar 1, frames 1, selector 0, commands 4, image 2";

inline void clickToolbar(MainWindow& window, const QString& command) {
    QTest::mouseClick(window.toolbar()->button(command), Qt::LeftButton);
}
inline void clickCell(PhoneGrid& grid, int row, int column = PhoneGrid::NumberColumn) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(row, column)).center());
}
