#pragma once

#include "ModemCommands.h"
#include "ModemConfiguration.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class ConfigurationModel;
class ModemConnection;
class SessionFace;

// How a use case of a session ended.
struct SessionResult {
    OperationEnd end = OperationEnd::Completed;
    bool ran = false;        // it sent something (not busy, not answered No, nothing refused)
    QStringList unconfirmed; // the steps the modem did not confirm, in sentences
    QStringList differences; // what the read-back found other than was sent
    QList<StepResult> steps; // every step sent and judged, in order
    bool confirmed() const {
        return ran && end == OperationEnd::Completed && unconfirmed.isEmpty() &&
               differences.isEmpty();
    }
};

// The use cases of a technician at one modem, as both faces offer them:
// connect (the check, then both reads, kept as a backup), disconnect, the
// two "Set" uploads each proved by reading back, and every modem command of
// the table. A command runs to its end inside its call; the operations pump
// events while they wait, so a face may call in again meanwhile, and is then
// ignored: two exchanges on one port would mix their replies.
class ModemSession : public QObject {
    Q_OBJECT
public:
    ModemSession(ModemConnection& connection, ConfigurationModel& shown, SessionFace& face);

    bool busy() const { return busy_; }
    bool connected() const;

    // Whether every write is read back and compared (on unless told).
    void setVerifying(bool on) { verifying_ = on; }
    // Whether a whole read must have been kept as a backup before anything
    // overwrites the modem's configuration (on unless told).
    void setBackupRequired(bool on) { backupRequired_ = on; }
    // Where a whole read is kept: the path written, or nothing and the
    // reason in *error. The backups folder unless told otherwise.
    using BackupKeeper = std::function<std::optional<QString>(
        const ModemConfiguration& read, const QString& device, QString* error)>;
    void setBackupKeeper(BackupKeeper keeper) { keeper_ = std::move(keeper); }

    // The check with "AT"; then, unless asked not to, the inputs and the
    // phone book read into what is shown, and kept as a backup when whole.
    // False when no modem answered, the port was lost, the face was closed,
    // or the user kept unsent changes.
    bool connectModem(bool readConfiguration = true);
    // Sends nothing, lets the port go, and shows the configuration as at
    // start; asks first when what is shown holds changes not sent. False when
    // the user kept them.
    bool disconnectModem();
    // The device held open went away while no command ran.
    void deviceLost();

    // The "Set" buttons: what is shown, sent, then read back and compared.
    SessionResult sendInputs();
    SessionResult setNumbers();
    // A command of the table, after its question.
    SessionResult run(const ModemCommand& command);
    // Reads the modem and compares it with what is shown, writing nothing.
    SessionResult verify();

    // Whether the last read of a frame did not come back whole; a "Set" of
    // that frame asks first.
    bool inputsReadIncomplete() const { return inputsReadIncomplete_; }
    bool phoneBookReadIncomplete() const { return phoneBookReadIncomplete_; }
    // Whether what is shown differs from what the modem was last read or set
    // to (a file just opened counts); disconnecting and closing ask first.
    // An emptied message box and one that shows the placeholder are the
    // same to the user.
    bool holdsUnsentChanges() const;
    // Asks the face whether unsent changes may go; true when there are none.
    bool mayLetChangesGo();
    // The backup of this connection's read, when one was kept.
    QString backupPath() const { return backupPath_; }
    QString backupProblem() const { return backupProblem_; }
    // A file was opened into what is shown: it comes from no incomplete read,
    // and it is not what the modem holds until it is sent.
    void configurationOpened();

private:
    class Running;
    SessionResult finish(const CommandOutcome& outcome, bool verifyInputs, bool verifyNumbers);
    bool mayOverwrite(bool incomplete, const QString& incompleteQuestion);
    void enterLostState();
    void keepBackup(const ModemConfiguration& read);

    ModemConnection& connection_;
    ConfigurationModel& shown_;
    SessionFace& face_;
    bool busy_ = false;
    bool verifying_ = true;
    bool backupRequired_ = true;
    bool inputsReadIncomplete_ = false;
    bool phoneBookReadIncomplete_ = false;
    // What the modem was last read or set to, as the window showed it;
    // nothing when that is not known (a file was opened).
    std::optional<InputsConfig> modemInputs_ = InputsConfig{};
    std::optional<PhoneBook> modemPhoneBook_ = PhoneBook{};
    bool showsLostConnection_ = false; // what a lost connection left is still shown
    QString backupPath_;
    QString backupProblem_;
    BackupKeeper keeper_;
};
