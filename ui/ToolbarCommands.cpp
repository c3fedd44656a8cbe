// The toolbar's commands and the two "Set" buttons of the main window.
#include "MainWindow.h"

#include "AboutWindow.h"
#include "CommandRun.h"
#include "ConfigOperations.h"
#include "ConfigurationCheck.h"
#include "InitMainWindow.h"
#include "ModemLink.h"
#include "OperationTexts.h"
#include "PortSelector.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>

using Controls = CommandRun::Controls;

void MainWindow::toolbarButtonClick(int position) {
    if (const auto command = MainToolbar::commandAt(position))
        run(*command);
}

void MainWindow::run(ToolbarCommand command) {
    switch (command) {
    case ToolbarCommand::Connection:
        connectOrDisconnect();
        break;
    case ToolbarCommand::ResetModem:
        resetModem();
        break;
    case ToolbarCommand::DefaultSettings:
        setDefaultSettings();
        break;
    case ToolbarCommand::RelayOn:
        switchRelay(RelayOnCommand);
        break;
    case ToolbarCommand::RelayOff:
        switchRelay(RelayOffCommand);
        break;
    case ToolbarCommand::OpenConfiguration:
        openConfiguration();
        break;
    case ToolbarCommand::SaveConfiguration:
        saveConfiguration();
        break;
    case ToolbarCommand::About:
        showAbout(); // also while a modem command runs
        break;
    case ToolbarCommand::ModemTraffic:
        showModemTraffic();
        break;
    case ToolbarCommand::SerialPorts:
        showSerialPorts();
        break;
    }
}

void MainWindow::connectOrDisconnect() {
    if (connection_.ModemConnected)
        disconnectFromModem();
    else
        connectToModem();
}

void MainWindow::connectToModem() {
    const CommandRun running(connection_, *this, Controls::Untouched);
    if (!running.started())
        return;
    toolbar_->showConnectionImage(true);
    toolbar_->setEnabled(false);
    cmbSerial()->setEnabled(false);
    // What a lost connection left in the window goes now: a connection shows
    // what its modem holds (and what the user types while it is read), and
    // rows the modem does not list must not keep another connection's numbers.
    if (showsLostConnection_) {
        showsLostConnection_ = false;
        for (int n = 1; n <= InputCount; ++n)
            setInputConfig(n, InputConfig{});
        for (int p = 1; p <= PhoneBookSize; ++p)
            setPhoneNumber(p, QString());
    }
    ConnectModem(connection_, *this);
    if (connection_.ModemConnected) {
        // The frames are open while the reads run (ConnectModem enabled
        // them), so the user can already edit what has arrived.
        const ReadResult inputs = GetInputs(connection_, *this);
        const ReadResult numbers = inputs.end == OperationEnd::PortLost || closing_
                                       ? inputs
                                       : GetNumbers(connection_, *this);
        if (closing_)
            return;
        if (inputs.end == OperationEnd::PortLost || numbers.end == OperationEnd::PortLost) {
            enterLostState();
            return;
        }
        inputsReadIncomplete_ = !inputs.complete;
        phoneBookReadIncomplete_ = !numbers.complete;
        setFramesEnabled(true);
        toolbar_->setEnabled(true);
        toolbar_->setConnectedCommandsEnabled(true);
        if (inputsReadIncomplete_ || phoneBookReadIncomplete_)
            showModemError(incompleteReadText(inputsReadIncomplete_, phoneBookReadIncomplete_));
    } else {
        toolbar_->showConnectionImage(false);
        cmbSerial()->setEnabled(true);
    }
    toolbar_->setEnabled(true);
}

void MainWindow::disconnectFromModem() {
    if (connection_.busy())
        return;
    toolbar_->showConnectionImage(false);
    toolbar_->setConnectedCommandsEnabled(false);
    cmbSerial()->setEnabled(true);
    setFramesEnabled(false);
    // Nothing is sent, but the port is let go: a user who reads "Modem
    // Disconnected" may well open another program on it next. The next
    // connection looks for its device afresh.
    connection_.disconnect();
    inputsReadIncomplete_ = phoneBookReadIncomplete_ = false;
    InitMainWindow(*this);
}

void MainWindow::enterLostState() {
    // As after a disconnect, but what the window shows stays, and so does the
    // chosen "Com N": the user will plug the adapter in again and reconnect.
    showsLostConnection_ = true;
    toolbar_->showConnectionImage(false);
    toolbar_->setConnectedCommandsEnabled(false);
    setFramesEnabled(false);
    toolbar_->setEnabled(true);
    connection_.disconnect();
    inputsReadIncomplete_ = phoneBookReadIncomplete_ = false;
    const int chosen = cmbSerial()->currentIndex();
    fillPortSelector(*cmbSerial(), connection_);
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

void MainWindow::resetModem() {
    if (connection_.busy())
        return;
    const bool yes = dialogs_.confirm(
        confirmationText({QStringLiteral("ATTENTION:"),
                          QStringLiteral("This action will reset all communication setting!"),
                          QStringLiteral("Do you want to continue?")}));
    if (!yes)
        return;
    const CommandRun running(connection_, *this, Controls::Off);
    if (!running.started())
        return;
    const OperationResult result = SendDefaultString(connection_, *this);
    afterOperation(result, result.unconfirmed.isEmpty()
                               ? QString()
                               : unconfirmedDefaultsText(result.unconfirmed));
}

void MainWindow::setDefaultSettings() {
    if (connection_.busy())
        return;
    const bool yes = dialogs_.confirm(confirmationText(
        {QStringLiteral("ATTENTION:"), QStringLiteral("This action will delete all data!"),
         QStringLiteral("Do you want to continue?")}));
    if (!yes)
        return;
    const CommandRun running(connection_, *this, Controls::Off);
    if (!running.started())
        return;
    DeleteNumbers(*this);
    const OperationResult numbers = SetNumbers(connection_, *this);
    QStringList unconfirmed;
    if (!numbers.unconfirmed.isEmpty())
        unconfirmed << unconfirmedPositionsText(numbers.unconfirmed);
    if (!numbers.completed()) {
        // Nothing further goes to a modem whose phone book could not be emptied.
        afterOperation(numbers, unconfirmed.join(u'\n'));
        return;
    }
    LoadDefaultMessages(*this);
    const OperationResult inputs = SendInputs(connection_, *this);
    // One box for both uploads, each step the modem did not confirm once.
    if (!inputs.unconfirmed.isEmpty())
        unconfirmed << unconfirmedInputRecordsText(inputs.unconfirmed);
    if (afterOperation(inputs, unconfirmed.join(u'\n')))
        inputsReadIncomplete_ = phoneBookReadIncomplete_ = false;
}

void MainWindow::switchRelay(const QString& command) {
    // The relay commands disable nothing while they run.
    const CommandRun running(connection_, *this, Controls::Untouched);
    if (!running.started())
        return;
    const OperationResult result = SendRelayString(connection_, *this, command);
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
    if (connection_.busy())
        return;
    if (inputsReadIncomplete_ && !dialogs_.sendAnyway(sendInputsAfterIncompleteReadQuestion()))
        return;
    const CommandRun running(connection_, *this, Controls::Off);
    if (!running.started())
        return;
    const OperationResult result = SendInputs(connection_, *this);
    if (afterOperation(result, result.unconfirmed.isEmpty()
                                   ? QString()
                                   : unconfirmedInputRecordsText(result.unconfirmed)))
        inputsReadIncomplete_ = false;
}

void MainWindow::setNumbersClicked() {
    if (connection_.busy())
        return;
    // A "+" left alone, or a number read from a modem that is none, is
    // named before anything is sent.
    std::array<QString, PhoneBookSize> numbers;
    for (int p = 1; p <= PhoneBookSize; ++p)
        numbers[p - 1] = phoneNumber(p);
    if (const QString refused = unsendableNumbersText(numbers); !refused.isEmpty()) {
        showModemError(refused);
        return;
    }
    if (phoneBookReadIncomplete_ && !dialogs_.sendAnyway(setNumbersAfterIncompleteReadQuestion()))
        return;
    const CommandRun running(connection_, *this, Controls::Off);
    if (!running.started())
        return;
    const OperationResult result = SetNumbers(connection_, *this);
    if (afterOperation(result, result.unconfirmed.isEmpty()
                                   ? QString()
                                   : unconfirmedPositionsText(result.unconfirmed)))
        phoneBookReadIncomplete_ = false;
}
