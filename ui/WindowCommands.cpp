// What the toolbar's buttons run: a modem command of the table through the
// session, or one of the window's own.
#include "MainWindow.h"

#include "AboutWindow.h"
#include "MainToolbar.h"
#include "ModemCommands.h"

void MainWindow::runCommand(const QString& id) {
    if (const ModemCommand* command = findModemCommand(id)) {
        session_.run(*command);
        return;
    }
    if (id == WindowCommand::Connection)
        connectOrDisconnect();
    else if (id == WindowCommand::OpenConfiguration)
        openConfiguration();
    else if (id == WindowCommand::SaveConfiguration)
        saveConfiguration();
    else if (id == WindowCommand::ModemTraffic)
        showModemTraffic();
    else if (id == WindowCommand::SerialPorts)
        showSerialPorts();
    else if (id == WindowCommand::About)
        showAbout(); // also while a modem command runs
}

void MainWindow::connectOrDisconnect() {
    // The button's image is the toolbar's own record of the state.
    if (toolbar_->connectionImage() == 1)
        session_.connectModem();
    else
        session_.disconnectModem();
}

void MainWindow::showAbout() {
    if (!about_) {
        about_ = new AboutWindow(this);
        about_->openLink = openLink;
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}
