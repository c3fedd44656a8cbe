#pragma once

#include "ModemCommands.h"

#include <QStringList>

class ConfigurationModel;
class ModemConnection;
class SessionFace;

// How a use case of a session ended.
struct SessionResult {
    OperationEnd end = OperationEnd::Completed;
    bool ran = false;        // it sent something (not busy, not answered No, nothing refused)
    QStringList unconfirmed; // the sentences of the "Modem error" box, if any
    bool confirmed() const {
        return ran && end == OperationEnd::Completed && unconfirmed.isEmpty();
    }
};

// The use cases of a technician at one modem, as both faces offer them:
// connect (the check, then both reads), disconnect, the two "Set" uploads
// and every modem command of the table. A command runs to its end inside
// its call; the operations pump events while they wait, so a face may call
// in again meanwhile, and is then ignored: two exchanges on one port would
// mix their replies.
class ModemSession {
public:
    ModemSession(ModemConnection& connection, ConfigurationModel& shown, SessionFace& face);

    bool busy() const { return busy_; }
    bool connected() const;

    // The check with "AT"; then, unless asked not to, the inputs and the
    // phone book read into what is shown. False when no modem answered, the
    // port was lost, or the face was closed.
    bool connectModem(bool readConfiguration = true);
    // Sends nothing, lets the port go, and shows the configuration as at start.
    void disconnectModem();
    // The device held open went away while no command ran.
    void deviceLost();

    // The "Set" buttons: what is shown, sent.
    SessionResult sendInputs();
    SessionResult setNumbers();
    // A command of the table, after its question.
    SessionResult run(const ModemCommand& command);

    // Whether the last read of a frame did not come back whole; a "Set" of
    // that frame asks first.
    bool inputsReadIncomplete() const { return inputsReadIncomplete_; }
    bool phoneBookReadIncomplete() const { return phoneBookReadIncomplete_; }
    // What is shown no longer comes from an incomplete read (a file was opened).
    void forgetIncompleteReads() { inputsReadIncomplete_ = phoneBookReadIncomplete_ = false; }

private:
    class Running;
    SessionResult finish(OperationResult result, const QString& unconfirmedText);
    SessionResult finish(const CommandOutcome& outcome);
    void enterLostState();

    ModemConnection& connection_;
    ConfigurationModel& shown_;
    SessionFace& face_;
    bool busy_ = false;
    bool inputsReadIncomplete_ = false;
    bool phoneBookReadIncomplete_ = false;
    bool showsLostConnection_ = false; // what a lost connection left is still shown
};
