// The toolbar's commands and the two "Set" buttons of the main window.
#include "MainWindow.h"

#include "AboutWindow.h"
#include "ConfigOperations.h"
#include "ExchangeGuard.h"
#include "InitMainWindow.h"
#include "LinkState.h"
#include "MainToolbar.h"
#include "ModemLink.h"
#include "OperationTexts.h"
#include "PortSelector.h"

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
        const ReadResult inputs = GetInputs(port_, *this);
        const ReadResult numbers =
            inputs.end == OperationEnd::PortLost || closing_ ? inputs : GetNumbers(port_, *this);
        if (closing_)
            return;
        if (inputs.end == OperationEnd::PortLost || numbers.end == OperationEnd::PortLost) {
            enterLostState();
            return;
        }
        inputsReadIncomplete_ = !inputs.complete;
        phoneBookReadIncomplete_ = !numbers.complete;
        setFramesEnabled(true);
        setToolbarEnabled(true);
        for (int position : ConnectedOnly)
            toolbar_->button(position)->setEnabled(true);
        if (inputsReadIncomplete_ || phoneBookReadIncomplete_)
            showModemError(incompleteReadText(inputsReadIncomplete_, phoneBookReadIncomplete_));
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
    // Disconnected" may well open another program on it next. The next
    // connection looks for its device afresh.
    port_.close();
    port_.unpinDevice();
    inputsReadIncomplete_ = phoneBookReadIncomplete_ = false;
    InitMainWindow(*this);
}

void MainWindow::enterLostState() {
    // As after a disconnect, but what the window shows stays, and so does the
    // chosen "Com N": the user will plug the adapter in again and reconnect.
    toolbar_->setConnectionImage(1);
    for (int position : ConnectedOnly)
        toolbar_->button(position)->setEnabled(false);
    setFramesEnabled(false);
    setToolbarEnabled(true);
    port_.close();
    port_.unpinDevice();
    linkState().ModemConnected = false;
    inputsReadIncomplete_ = phoneBookReadIncomplete_ = false;
    const int chosen = cmbSerial()->currentIndex();
    fillPortSelector(*cmbSerial(), port_);
    selectPort(qMax(0, chosen));
    cmbSerial()->setEnabled(true);
    setStatusText(QStringLiteral("Modem Disconnected"));
}

bool MainWindow::afterOperation(const OperationResult& result, const QString& unconfirmedText) {
    if (closing_ || result.end == OperationEnd::Cancelled)
        return false;
    if (result.end == OperationEnd::PortLost) {
        enterLostState();
        return false;
    }
    if (!unconfirmedText.isEmpty())
        showModemError(unconfirmedText);
    return result.completed();
}

void MainWindow::runWithControlsDisabled(const std::function<void()>& operation) {
    const ExchangeGuard running(exchangeRunning_);
    setToolbarEnabled(false);
    frmMain_->setEnabled(false);
    frmNumbers_->setEnabled(false);
    operation();
    if (closing_ || !linkState().ModemConnected)
        return; // the port was lost: enterLostState has set the controls
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
    runWithControlsDisabled([this] {
        const OperationResult result = SendDefaultString(port_, *this);
        afterOperation(result, result.unconfirmed.isEmpty()
                                   ? QString()
                                   : unconfirmedDefaultsText(result.unconfirmed));
    });
}

void MainWindow::setDefaultSettings() {
    const bool yes = dialogs_.confirm(confirmationText(
        {QStringLiteral("ATTENTION:"), QStringLiteral("This action will delete all data!"),
         QStringLiteral("Do you want to continue?")}));
    if (!yes)
        return;
    runWithControlsDisabled([this] {
        DeleteNumbers(*this);
        const OperationResult numbers = SetNumbers(port_, *this);
        if (!numbers.completed()) {
            // Nothing further goes to a modem whose phone book could not be emptied.
            afterOperation(numbers, unconfirmedNumbersText(numbers));
            return;
        }
        LoadDefaultMessages(*this);
        const OperationResult inputs = SendInputs(port_, *this);
        // One box for both uploads, each step the modem did not confirm once.
        QStringList unconfirmed;
        if (!numbers.unconfirmed.isEmpty())
            unconfirmed << unconfirmedPositionsText(numbers.unconfirmed);
        if (!inputs.unconfirmed.isEmpty())
            unconfirmed << unconfirmedInputRecordsText(inputs.unconfirmed);
        if (afterOperation(inputs, unconfirmed.join(u'\n')))
            inputsReadIncomplete_ = phoneBookReadIncomplete_ = false;
    });
}

void MainWindow::switchRelay(const QString& command) {
    // The relay commands disable nothing while they run.
    const ExchangeGuard running(exchangeRunning_);
    linkState().RelayCommand() = command;
    const OperationResult result = SendRelayString(port_, *this);
    afterOperation(result,
                   result.unconfirmed.isEmpty() ? QString() : unconfirmedRelayText(command));
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
    if (inputsReadIncomplete_ && !dialogs_.sendAnyway(sendInputsAfterIncompleteReadQuestion()))
        return;
    const ExchangeGuard running(exchangeRunning_);
    const OperationResult result = clickSendInputs(port_, *this);
    if (afterOperation(result, result.unconfirmed.isEmpty()
                                   ? QString()
                                   : unconfirmedInputRecordsText(result.unconfirmed)))
        inputsReadIncomplete_ = false;
}

void MainWindow::setNumbersClicked() {
    if (exchangeRunning_)
        return;
    if (phoneBookReadIncomplete_ && !dialogs_.sendAnyway(setNumbersAfterIncompleteReadQuestion()))
        return;
    const ExchangeGuard running(exchangeRunning_);
    const OperationResult result = clickSetNumbers(port_, *this);
    if (afterOperation(result, unconfirmedNumbersText(result)))
        phoneBookReadIncomplete_ = false;
}

QString MainWindow::unconfirmedNumbersText(const OperationResult& result) {
    return result.unconfirmed.isEmpty() ? QString() : unconfirmedPositionsText(result.unconfirmed);
}
