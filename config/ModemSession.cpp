#include "ModemSession.h"

#include "Backups.h"
#include "ConfigOperations.h"
#include "ConfigurationCheck.h"
#include "ConfigurationModel.h"
#include "ModemConnection.h"
#include "ModemLink.h"
#include "OperationTexts.h"
#include "PortErrors.h"
#include "SessionFace.h"
#include "Verification.h"

#include <QCoreApplication>
#include <QDateTime>

using LinkState = SessionFace::LinkState;
using Warning = SessionFace::Warning;

// One command on the connection, the session busy while it runs. Where it
// locks them, the controls are off while it runs and on again after, unless
// the connection was lost or the face closed meanwhile.
class ModemSession::Running {
public:
    Running(ModemSession& session, bool locksControls)
        : session_(session), locks_(locksControls && !session.busy_), started_(!session.busy_) {
        if (!started_)
            return;
        session_.busy_ = true;
        if (locks_)
            session_.face_.setControlsEnabled(false);
    }
    ~Running() {
        if (!started_)
            return;
        session_.busy_ = false;
        if (locks_ && session_.connection_.modemConnected && !session_.face_.cancelled())
            session_.face_.setControlsEnabled(true);
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    bool started() const { return started_; }

private:
    ModemSession& session_;
    bool locks_;
    bool started_;
};

namespace {

// The text a box holds for the user: nothing, whether emptied or showing the
// placeholder.
QString heldText(const MessageText& message) {
    return message.isPlaceholder() ? QString() : message.text;
}

bool sameForTheUser(const InputsConfig& a, const InputsConfig& b) {
    for (int n = 0; n < InputCount; ++n) {
        const InputConfig &x = a[n], &y = b[n];
        if (x.status != y.status || x.delayIndex != y.delayIndex || x.restState != y.restState ||
            x.bit != y.bit || heldText(x.singleMessage) != heldText(y.singleMessage) ||
            heldText(x.doubleMessage) != heldText(y.doubleMessage))
            return false;
    }
    return true;
}

} // namespace

ModemSession::ModemSession(ModemConnection& connection, ConfigurationModel& shown,
                           SessionFace& face)
    : connection_(connection), shown_(shown), face_(face),
      keeper_([](const ModemConfiguration& read, const QString& device, QString* error) {
          return ::keepBackup(read, device, QDateTime::currentDateTime(), error);
      }) {}

bool ModemSession::holdsUnsentChanges() const {
    return !modemInputs_ || !sameForTheUser(*modemInputs_, shown_.inputs()) || !modemPhoneBook_ ||
           *modemPhoneBook_ != shown_.phoneBook();
}

void ModemSession::configurationOpened() {
    inputsReadIncomplete_ = phoneBookReadIncomplete_ = false;
    modemInputs_.reset();
    modemPhoneBook_.reset();
}

bool ModemSession::connected() const {
    return connection_.modemConnected;
}

bool ModemSession::mayLetChangesGo() {
    if (!holdsUnsentChanges())
        return true;
    return face_.warn(Warning::UnsentChanges,
                      tr("The window holds changes that were not sent to the modem. Discard "
                         "them?"));
}

bool ModemSession::connectModem(bool readConfiguration) {
    if (busy_)
        return false;
    // A new connection's read replaces what a lost one left shown.
    if (showsLostConnection_ && !mayLetChangesGo())
        return false;
    const Running running(*this, false);
    face_.showLinkState(LinkState::Checking);
    // What a lost connection left goes now: a connection shows what its
    // modem holds (and what the user types while it is read), and positions
    // the modem does not list must not keep another connection's numbers.
    if (showsLostConnection_) {
        showsLostConnection_ = false;
        shown_.setConfiguration(ModemConfiguration{});
        modemInputs_ = InputsConfig{};
        modemPhoneBook_ = PhoneBook{};
    }
    backupPath_.clear();
    backupProblem_ = tr("No configuration was read whole from the modem.");
    if (!::connectModem(connection_, face_)) {
        if (!face_.cancelled())
            face_.showLinkState(LinkState::CheckFailed);
        return false;
    }
    if (!readConfiguration) {
        face_.showLinkState(LinkState::Connected);
        return true;
    }
    // What arrives is shown at once, and the user may already edit it.
    face_.showLinkState(LinkState::Reading);
    const InputsRead inputs = getInputs(connection_, face_);
    if (face_.cancelled())
        return false;
    shown_.setInputs(applyInputsReading(shown_.inputs(), inputs.arrived));
    // What the modem holds, without what the user typed meanwhile.
    modemInputs_ = applyInputsReading(modemInputs_.value_or(InputsConfig{}), inputs.arrived);
    PhoneBookRead numbers;
    if (inputs.end != OperationEnd::PortLost) {
        numbers = getNumbers(connection_, face_);
        if (face_.cancelled())
            return false;
        shown_.setPhoneBook(applyPhoneBookEntries(shown_.phoneBook(), numbers.arrived));
        modemPhoneBook_ =
            applyPhoneBookEntries(modemPhoneBook_.value_or(PhoneBook{}), numbers.arrived);
    }
    if (inputs.end == OperationEnd::PortLost || numbers.end == OperationEnd::PortLost) {
        enterLostState();
        return false;
    }
    inputsReadIncomplete_ = !inputs.complete;
    phoneBookReadIncomplete_ = !numbers.complete;
    // What the modem held before anything overwrites it: the readings alone,
    // without what the user typed meanwhile.
    if (inputs.complete && numbers.complete)
        keepBackup({applyInputsReading(InputsConfig{}, inputs.arrived),
                    applyPhoneBookEntries(PhoneBook{}, numbers.arrived)});
    face_.showLinkState(LinkState::Connected);
    if (inputsReadIncomplete_ || phoneBookReadIncomplete_)
        face_.showModemError(incompleteReadText(inputsReadIncomplete_, phoneBookReadIncomplete_));
    return true;
}

void ModemSession::keepBackup(const ModemConfiguration& read) {
    QString problem;
    if (const auto path = keeper_(read, connection_.connectedDevice(), &problem))
        backupPath_ = *path;
    else
        backupProblem_ = problem;
}

bool ModemSession::disconnectModem() {
    if (busy_ || !mayLetChangesGo())
        return false;
    // Nothing is sent, but the port is let go: a user who reads "Modem
    // Disconnected" may well open another program on it next. The next
    // connection looks for its device afresh.
    connection_.disconnect();
    inputsReadIncomplete_ = phoneBookReadIncomplete_ = showsLostConnection_ = false;
    face_.showLinkState(LinkState::Disconnected);
    shown_.setConfiguration(ModemConfiguration{});
    modemInputs_ = InputsConfig{};
    modemPhoneBook_ = PhoneBook{};
    return true;
}

void ModemSession::deviceLost() {
    if (busy_ || !connection_.modemConnected || face_.cancelled())
        return;
    PortError lost = connection_.port().failure().value_or(PortError{});
    lost.device = connection_.connectedDevice();
    lost.lost = true;
    face_.showModemError(portErrorMessage(lost));
    enterLostState();
}

void ModemSession::enterLostState() {
    // As after a disconnect, but what is shown stays: the user will plug the
    // adapter in again and reconnect.
    connection_.disconnect();
    inputsReadIncomplete_ = phoneBookReadIncomplete_ = false;
    showsLostConnection_ = true;
    backupPath_.clear();
    face_.showLinkState(LinkState::Lost);
}

// Before anything overwrites what the modem holds: what was read of it must
// have been whole and kept, or the user says to go on without.
bool ModemSession::mayOverwrite(bool incomplete, const QString& incompleteQuestion) {
    if (incomplete)
        return face_.warn(Warning::IncompleteRead, incompleteQuestion);
    if (backupRequired_ && backupPath_.isEmpty())
        return face_.warn(Warning::NoBackup,
                          tr("No backup of the modem's configuration was kept: %1 Sending now "
                             "overwrites what the modem holds, and nothing here can put it back. "
                             "Send anyway?")
                              .arg(backupProblem_));
    return true;
}

// A lost port puts the face back to not connected. What was written is read
// back and compared: the steps the modem did not confirm and every
// difference are listed in one box.
SessionResult ModemSession::finish(const CommandOutcome& outcome, bool verifyInputs,
                                   bool verifyNumbers) {
    SessionResult result{outcome.end, true, outcome.unconfirmed, {}, outcome.steps};
    if (face_.cancelled() || outcome.end == OperationEnd::Cancelled)
        return result;
    if (outcome.end == OperationEnd::PortLost) {
        enterLostState();
        return result;
    }
    const InputsConfig sentInputs = shown_.inputs();
    const PhoneBook sentNumbers = shown_.phoneBook();
    if (verifying_ && (verifyInputs || verifyNumbers)) {
        face_.setStatusText(tr("Modem Connected, verifying..."));
        if (verifyInputs) {
            const InputsRead read = getInputs(connection_, face_);
            if (read.end != OperationEnd::Completed) {
                result.end = read.end;
                return finish(CommandOutcome{read.end, result.unconfirmed, result.steps}, false,
                              false);
            }
            const QStringList found = inputDifferences(sentInputs, read.arrived, read.complete);
            result.differences << found;
            if (found.isEmpty())
                modemInputs_ = sentInputs;
        }
        if (verifyNumbers) {
            const PhoneBookRead read = getNumbers(connection_, face_);
            if (read.end != OperationEnd::Completed) {
                result.end = read.end;
                return finish(CommandOutcome{read.end, result.unconfirmed, result.steps}, false,
                              false);
            }
            const QStringList found =
                phoneBookDifferences(sentNumbers, read.arrived, read.complete);
            result.differences << found;
            if (found.isEmpty())
                modemPhoneBook_ = sentNumbers;
        }
        face_.setStatusText(tr("Modem Connected"));
    } else if (outcome.unconfirmed.isEmpty()) {
        // Sent and confirmed, not read back: taken as held.
        if (verifyInputs)
            modemInputs_ = sentInputs;
        if (verifyNumbers)
            modemPhoneBook_ = sentNumbers;
    }
    if (!result.unconfirmed.isEmpty() || !result.differences.isEmpty())
        face_.showWriteProblems(result.unconfirmed, result.differences);
    return result;
}

SessionResult ModemSession::sendInputs() {
    if (busy_ || !mayOverwrite(inputsReadIncomplete_, sendInputsAfterIncompleteReadQuestion()))
        return {};
    // A Double message goes nowhere when the Single box of its input shows
    // the placeholder: both go out empty. Nobody's typed text is dropped
    // without a word.
    QStringList dropped;
    for (int n = 1; n <= InputCount; ++n) {
        const InputConfig& input = shown_.input(n);
        if (input.singleMessage.isPlaceholder() && !input.doubleMessage.isPlaceholder() &&
            !input.doubleMessage.text.isEmpty())
            dropped << tr("Input %1: the Double message is not sent, because the Single message "
                          "is empty.")
                           .arg(n);
    }
    if (!dropped.isEmpty() &&
        !face_.warn(Warning::DoubleMessage, dropped.join(u'\n') + u'\n' + tr("Send anyway?")))
        return {};
    const Running running(*this, true);
    const OperationResult result = ::sendInputs(connection_, face_, shown_.inputs());
    const SessionResult done =
        finish({result.end,
                result.unconfirmed.isEmpty()
                    ? QStringList{}
                    : QStringList{unconfirmedInputRecordsText(result.unconfirmed)},
                result.steps},
               true, false);
    if (result.completed())
        inputsReadIncomplete_ = false;
    return done;
}

SessionResult ModemSession::setNumbers() {
    if (busy_)
        return {};
    // What the modem's phone book cannot take is not sent: one box names it.
    if (const QString refused = unsendableNumbersText(shown_.phoneBook()); !refused.isEmpty()) {
        face_.showModemError(refused);
        return {};
    }
    if (!mayOverwrite(phoneBookReadIncomplete_, setNumbersAfterIncompleteReadQuestion()))
        return {};
    const Running running(*this, true);
    const OperationResult result = ::setNumbers(connection_, face_, shown_.phoneBook());
    const SessionResult done = finish(
        {result.end,
         result.unconfirmed.isEmpty() ? QStringList{}
                                      : QStringList{unconfirmedPositionsText(result.unconfirmed)},
         result.steps},
        false, true);
    if (result.completed())
        phoneBookReadIncomplete_ = false;
    return done;
}

SessionResult ModemSession::run(const ModemCommand& command) {
    if (busy_)
        return {};
    if (command.question && !face_.confirm(*command.question))
        return {};
    if (command.replacesConfiguration &&
        !mayOverwrite(inputsReadIncomplete_ || phoneBookReadIncomplete_,
                      tr("The modem's configuration was not read completely. What it holds now "
                         "is replaced, and no backup of it was kept. Go on anyway?")))
        return {};
    const Running running(*this, command.locksControls);
    CommandContext context{connection_, face_, shown_};
    const CommandOutcome outcome = command.run(context);
    const bool replaces = command.replacesConfiguration;
    if (replaces) { // not known until the read-back says
        modemInputs_.reset();
        modemPhoneBook_.reset();
    }
    SessionResult done = finish(outcome, replaces, replaces);
    // What is shown now is what was sent, not what an incomplete read left.
    if (outcome.end == OperationEnd::Completed && replaces)
        inputsReadIncomplete_ = phoneBookReadIncomplete_ = false;
    return done;
}

SessionResult ModemSession::verify() {
    if (busy_)
        return {};
    const Running running(*this, false);
    return finish(CommandOutcome{}, true, true);
}
