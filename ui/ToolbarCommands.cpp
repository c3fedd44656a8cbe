// The toolbar's commands and the two "Set" buttons of the main window.
#include "MainWindow.h"

#include "AboutWindow.h"
#include "ConfigOperations.h"
#include "ExchangeGuard.h"
#include "InitMainWindow.h"
#include "LinkState.h"
#include "MainToolbar.h"
#include "ModemLink.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>

namespace {
constexpr int ConnectionPosition = 1;
constexpr int AboutPosition = 7;
// Positions 3 to 6 work only while connected.
constexpr std::array<int, 4> ConnectedOnly = {3, 4, 5, 6};

const QString RelayOn = QStringLiteral("AT+WIOW=0,0");
const QString RelayOff = QStringLiteral("AT+WIOW=0,1");
} // namespace

void MainWindow::toolbarButtonClick(int position) {
    // The operations pump events, so a click can land in the middle of one.
    // Only About may run alongside; a second exchange would mix the replies.
    if (position != AboutPosition && exchangeRunning_)
        return;
    switch (position) {
    case ConnectionPosition:
        connectOrDisconnect();
        break;
    case 3:
        resetModem();
        break;
    case 4:
        setDefaultSettings();
        break;
    case 5:
        switchRelay(RelayOn);
        break;
    case 6:
        switchRelay(RelayOff);
        break;
    case AboutPosition:
        showAbout();
        break;
    default:
        break;
    }
}

void MainWindow::connectOrDisconnect() {
    // Button 1's image, not ModemConnected, says which way to go.
    if (toolbar_->connectionImage() == 1)
        connectToModem();
    else
        disconnectFromModem();
}

void MainWindow::connectToModem() {
    const ExchangeGuard running(exchangeRunning_);
    toolbar_->setConnectionImage(2);
    setToolbarEnabled(false);
    cmbSerial()->setEnabled(false);
    ConnectModem(port_, *this);
    if (linkState().ModemConnected) {
        setToolbarEnabled(false);
        // The frames are open while the reads run (ConnectModem enabled
        // them), so the user can already edit what has arrived.
        GetInputs(port_, *this);
        GetNumbers(port_, *this);
        setFramesEnabled(true);
        setToolbarEnabled(true);
        for (int position : ConnectedOnly)
            toolbar_->button(position)->setEnabled(true);
    } else {
        toolbar_->setConnectionImage(1);
        cmbSerial()->setEnabled(true);
    }
    setToolbarEnabled(true);
}

void MainWindow::disconnectFromModem() {
    toolbar_->setConnectionImage(1);
    for (int position : ConnectedOnly)
        toolbar_->button(position)->setEnabled(false);
    cmbSerial()->setEnabled(true);
    setFramesEnabled(false);
    // Nothing is sent, but the port is let go: a user who reads "Modem
    // Disconnected" may well open another program on it next.
    if (port_.isOpen())
        port_.close();
    InitMainWindow(*this);
}

void MainWindow::runWithControlsDisabled(const std::function<void()>& operation) {
    const ExchangeGuard running(exchangeRunning_);
    setToolbarEnabled(false);
    frmMain_->setEnabled(false);
    frmNumbers_->setEnabled(false);
    operation();
    setToolbarEnabled(true);
    frmMain_->setEnabled(true);
    frmNumbers_->setEnabled(true);
}

void MainWindow::resetModem() {
    const bool yes = dialogs_.confirm(
        confirmationText({QStringLiteral("ATTENTION:"),
                          QStringLiteral("This action will reset all communication setting!"),
                          QStringLiteral("Do you want to continue?")}));
    if (!yes)
        return;
    runWithControlsDisabled([this] { SendDefaultString(port_, *this); });
}

void MainWindow::setDefaultSettings() {
    const bool yes = dialogs_.confirm(confirmationText(
        {QStringLiteral("ATTENTION:"), QStringLiteral("This action will delete all data!"),
         QStringLiteral("Do you want to continue?")}));
    if (!yes)
        return;
    runWithControlsDisabled([this] {
        DeleteNumbers(*this);
        SetNumbers(port_, *this);
        LoadDefaultMessages(*this);
        SendInputs(port_, *this);
    });
}

void MainWindow::switchRelay(const QString& command) {
    // The relay commands disable nothing while they run.
    const ExchangeGuard running(exchangeRunning_);
    linkState().RelayCommand() = command;
    SendRelayString(port_, *this);
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

void MainWindow::sendInputsClicked() {
    if (exchangeRunning_)
        return;
    const ExchangeGuard running(exchangeRunning_);
    clickSendInputs(port_, *this);
}

void MainWindow::setNumbersClicked() {
    if (exchangeRunning_)
        return;
    const ExchangeGuard running(exchangeRunning_);
    clickSetNumbers(port_, *this);
}
