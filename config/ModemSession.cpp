#include "ModemSession.h"

#include "ConfigOperations.h"
#include "ConfigurationCheck.h"
#include "ConfigurationModel.h"
#include "ModemConnection.h"
#include "ModemLink.h"
#include "OperationTexts.h"
#include "PortErrors.h"
#include "SessionFace.h"

using LinkState = SessionFace::LinkState;

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
        if (locks_ && session_.connection_.ModemConnected && !session_.face_.cancelled())
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

ModemSession::ModemSession(ModemConnection& connection, ConfigurationModel& shown,
                           SessionFace& face)
    : connection_(connection), shown_(shown), face_(face) {}

bool ModemSession::connected() const {
    return connection_.ModemConnected;
}

bool ModemSession::connectModem(bool readConfiguration) {
    const Running running(*this, false);
    if (!running.started())
        return false;
    face_.showLinkState(LinkState::Checking);
    // What a lost connection left goes now: a connection shows what its
    // modem holds (and what the user types while it is read), and positions
    // the modem does not list must not keep another connection's numbers.
    if (showsLostConnection_) {
        showsLostConnection_ = false;
        shown_.setConfiguration(ModemConfiguration{});
    }
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
    PhoneBookRead numbers;
    if (inputs.end != OperationEnd::PortLost) {
        numbers = getNumbers(connection_, face_);
        if (face_.cancelled())
            return false;
        shown_.setPhoneBook(applyPhoneBookEntries(shown_.phoneBook(), numbers.arrived));
    }
    if (inputs.end == OperationEnd::PortLost || numbers.end == OperationEnd::PortLost) {
        enterLostState();
        return false;
    }
    inputsReadIncomplete_ = !inputs.complete;
    phoneBookReadIncomplete_ = !numbers.complete;
    face_.showLinkState(LinkState::Connected);
    if (inputsReadIncomplete_ || phoneBookReadIncomplete_)
        face_.showModemError(incompleteReadText(inputsReadIncomplete_, phoneBookReadIncomplete_));
    return true;
}

void ModemSession::disconnectModem() {
    if (busy_)
        return;
    // Nothing is sent, but the port is let go: a user who reads "Modem
    // Disconnected" may well open another program on it next. The next
    // connection looks for its device afresh.
    connection_.disconnect();
    inputsReadIncomplete_ = phoneBookReadIncomplete_ = showsLostConnection_ = false;
    face_.showLinkState(LinkState::Disconnected);
    shown_.setConfiguration(ModemConfiguration{});
}

void ModemSession::deviceLost() {
    if (busy_ || !connection_.ModemConnected || face_.cancelled())
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
    face_.showLinkState(LinkState::Lost);
}

SessionResult ModemSession::finish(OperationResult result, const QString& unconfirmedText) {
    return finish(CommandOutcome{
        result.end, result.unconfirmed.isEmpty() ? QStringList{} : QStringList{unconfirmedText}});
}

// A lost port puts the face back to not connected; the steps the modem did
// not confirm are listed in one box.
SessionResult ModemSession::finish(const CommandOutcome& outcome) {
    SessionResult result{outcome.end, true, outcome.unconfirmed};
    if (face_.cancelled() || outcome.end == OperationEnd::Cancelled)
        return result;
    if (outcome.end == OperationEnd::PortLost) {
        enterLostState();
        return result;
    }
    if (!outcome.unconfirmed.isEmpty())
        face_.showModemError(outcome.unconfirmed.join(u'\n'));
    return result;
}

SessionResult ModemSession::sendInputs() {
    if (busy_)
        return {};
    if (inputsReadIncomplete_ && !face_.sendAnyway(sendInputsAfterIncompleteReadQuestion()))
        return {};
    const Running running(*this, true);
    const OperationResult result = ::sendInputs(connection_, face_, shown_.inputs());
    SessionResult done = finish(result, unconfirmedInputRecordsText(result.unconfirmed));
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
    if (phoneBookReadIncomplete_ && !face_.sendAnyway(setNumbersAfterIncompleteReadQuestion()))
        return {};
    const Running running(*this, true);
    const OperationResult result = ::setNumbers(connection_, face_, shown_.phoneBook());
    SessionResult done = finish(result, unconfirmedPositionsText(result.unconfirmed));
    if (result.completed())
        phoneBookReadIncomplete_ = false;
    return done;
}

SessionResult ModemSession::run(const ModemCommand& command) {
    if (busy_)
        return {};
    if (command.question && !face_.confirm(*command.question))
        return {};
    const Running running(*this, command.locksControls);
    CommandContext context{connection_, face_, shown_};
    const CommandOutcome outcome = command.run(context);
    SessionResult done = finish(outcome);
    // What is shown now is what was sent, not what an incomplete read left.
    if (outcome.end == OperationEnd::Completed && command.replacesConfiguration)
        inputsReadIncomplete_ = phoneBookReadIncomplete_ = false;
    return done;
}
