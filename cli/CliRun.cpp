#include "CliRun.h"

#include "CliFace.h"
#include "ConfigFile.h"
#include "ConfigurationCheck.h"
#include "ConfigurationModel.h"
#include "Console.h"
#include "ExitCodes.h"
#include "ModemConnection.h"
#include "ModemSession.h"
#include "StderrTraffic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The texts below in one translation context, by a name that lupdate reads too.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(TavekCli)
};

const QString StandardStream = QStringLiteral("-");

// Notes whether the port was opened and whether it was lost: a check that
// got no answer on a port it had is the modem's failure, any other the port's.
struct PortWatch final : ModemTraffic {
    bool opened = false;
    bool lost = false;
    void portOpened(const QString&) override { opened = true; }
    void portLost(const QString&) override { lost = true; }
};

// One modem's way: the connection, the configuration in memory, the session
// over both, and the watchers of the line. The port is let go when it ends.
class CliRun {
public:
    CliRun(const Invocation& invocation, const PortChoice& port, Console& console,
           const LinkEnvironment& environment)
        : invocation_(invocation), port_(port), console_(console), connection_(environment),
          face_(console, invocation.verbose, invocation.yes) {
        connection_.traffic().add(&watch_);
        if (invocation.verbose) {
            stderrTraffic_ = std::make_unique<StderrTraffic>(
                [&console](const QString& row) { console.error(row); });
            connection_.traffic().add(stderrTraffic_.get());
        }
        if (port.device.isEmpty()) {
            connection_.setCommPortNumber(qint16(port.comNumber));
        } else {
            // As for a link in the ports folder: a stable alias such as
            // /dev/serial/by-id/... is opened by its real name, so that its
            // lock file is the one other programs look for.
            const QString resolved = QFileInfo(port.device).canonicalFilePath();
            connection_.setNamedDevice(resolved.isEmpty() ? port.device : resolved);
        }
        session_.setVerifying(invocation.verify);
        session_.setBackupRequired(invocation.backup);
        report_.verb = invocation.verb;
        report_.port = port.text();
    }
    ~CliRun() {
        connection_.disconnect();
        connection_.traffic().remove(stderrTraffic_.get());
    }

    ModemReport run(const std::optional<ModemConfiguration>& fromFile);

private:
    bool connect(bool readConfiguration);
    void end(int exitCode, const QString& result, const QString& said);
    void ended(const SessionResult& result, const QString& said);
    void read();
    void write(const ModemConfiguration& configuration);
    void verify(const ModemConfiguration& configuration);
    void command(const ModemCommand& command);

    const Invocation& invocation_;
    const PortChoice& port_;
    Console& console_;
    ModemReport report_;
    // Declared before the connection, which tells them of its last close.
    PortWatch watch_;
    std::unique_ptr<StderrTraffic> stderrTraffic_;
    ModemConnection connection_;
    ConfigurationModel model_;
    CliFace face_;
    ModemSession session_{connection_, model_, face_};
};

void CliRun::end(int exitCode, const QString& result, const QString& said) {
    report_.exitCode = exitCode;
    report_.result = result;
    report_.said = said;
}

// The connection check, as the window's plug runs it, with the reads and the
// backup after it when asked; every command starts with it.
bool CliRun::connect(bool readConfiguration) {
    const QString looked = connection_.deviceForCommPort();
    QString where = port_.text();
    if (looked.isEmpty())
        where += Texts::tr(" (no such port)");
    else if (looked != where)
        where += QStringLiteral(" (%1)").arg(looked);
    const bool connected = session_.connectModem(readConfiguration);
    report_.device =
        connection_.connectedDevice().isEmpty() ? looked : connection_.connectedDevice();
    report_.backup = session_.backupPath();
    if (connected)
        return true;
    // The session has said why; the port's failures have their own code.
    if (watch_.lost)
        end(ExitPortFailed, QStringLiteral("port lost"),
            Texts::tr("The port %1 was lost.").arg(where));
    else if (watch_.opened)
        end(ExitModemFailed, QStringLiteral("no answer"),
            Texts::tr("No modem answered on %1.").arg(where));
    else
        end(ExitPortFailed, QStringLiteral("port failed"),
            Texts::tr("The port %1 could not be used.").arg(where));
    return false;
}

// 0 when the modem confirmed every step and holds what was sent, 1 when it
// did not confirm a step, 4 when it holds something else, 3 when the port
// was lost, 5 when what it held could not be kept first.
void CliRun::ended(const SessionResult& result, const QString& said) {
    report_.steps = result.steps;
    report_.differences = result.differences;
    if (!result.ran) {
        if (face_.refused() == SessionFace::Warning::DoubleMessage)
            end(ExitUsage, QStringLiteral("refused"), Texts::tr("Nothing was sent."));
        else
            end(ExitNoBackup, QStringLiteral("no backup"),
                Texts::tr("What the modem holds could not be kept first: nothing was sent."));
    } else if (result.end != OperationEnd::Completed) {
        end(ExitPortFailed, QStringLiteral("port lost"),
            Texts::tr("The port %1 was lost.").arg(report_.device));
    } else if (!result.unconfirmed.isEmpty()) {
        end(ExitModemFailed, QStringLiteral("not confirmed"),
            Texts::tr("The modem on %1 did not confirm every step.").arg(report_.device));
    } else if (!result.differences.isEmpty()) {
        end(ExitDifferent, QStringLiteral("different"),
            Texts::tr("The modem on %1 holds something other than was sent.").arg(report_.device));
    } else {
        end(ExitConfirmed, QStringLiteral("confirmed"), said);
    }
}

void CliRun::read() {
    // A file made of half a read would put half a configuration on the next
    // modem: the session has said what was not whole.
    if (session_.inputsReadIncomplete() || session_.phoneBookReadIncomplete())
        return end(ExitModemFailed, QStringLiteral("incomplete"), Texts::tr("Nothing was saved."));
    const ModemConfiguration& configuration = model_.configuration();
    const QStringList problems = unsavableParts(configuration);
    if (!problems.isEmpty()) {
        report_.errors << problems;
        return end(
            ExitModemFailed, QStringLiteral("unsavable"),
            Texts::tr("The modem holds what a configuration file cannot; nothing was saved:") +
                QStringLiteral("\n- ") + problems.join(QStringLiteral("\n- ")));
    }
    report_.configuration = configuration;
    const QString& file = invocation_.argument;
    if (file.isEmpty() || file == StandardStream)
        return end(ExitConfirmed, QStringLiteral("read"), QString());
    QString error;
    if (!saveConfigurationFile(file, configuration, &error)) {
        report_.errors << error;
        return end(ExitUsage, QStringLiteral("not saved"), error);
    }
    report_.saved = QDir::toNativeSeparators(file);
    end(ExitConfirmed, QStringLiteral("saved"),
        Texts::tr("Saved the configuration of the modem on %1 in %2.")
            .arg(report_.device, report_.saved));
}

void CliRun::write(const ModemConfiguration& configuration) {
    {
        // What is sent is the file's, not what was read; no change of the user's.
        model_.setConfiguration(configuration);
    }
    // Both "Set" buttons of the window, one after the other, each read back.
    const SessionResult inputs = session_.sendInputs();
    if (!inputs.ran || inputs.end != OperationEnd::Completed)
        return ended(inputs, {});
    SessionResult numbers = session_.setNumbers();
    numbers.steps = inputs.steps + numbers.steps;
    numbers.unconfirmed = inputs.unconfirmed + numbers.unconfirmed;
    numbers.differences = inputs.differences + numbers.differences;
    ended(numbers, invocation_.verify
                       ? Texts::tr("The modem on %1 confirmed the 9 input records and "
                                   "the 20 phone-book positions, and holds them.")
                             .arg(report_.device)
                       : Texts::tr("The modem on %1 confirmed the 9 input records and "
                                   "the 20 phone-book positions.")
                             .arg(report_.device));
}

void CliRun::verify(const ModemConfiguration& configuration) {
    model_.setConfiguration(configuration);
    ended(session_.verify(),
          Texts::tr("The modem on %1 holds what the file says.").arg(report_.device));
}

void CliRun::command(const ModemCommand& command) {
    ended(session_.run(command),
          QCoreApplication::translate(ModemCommandsContext, command.doneText));
}

ModemReport CliRun::run(const std::optional<ModemConfiguration>& fromFile) {
    const QString& verb = invocation_.verb;
    const ModemCommand* tableCommand = findModemCommand(verb);
    // What the modem held is read and kept before anything overwrites it.
    const bool overwrites =
        verb == QLatin1String("write") || (tableCommand && tableCommand->replacesConfiguration);
    const bool reads = verb == QLatin1String("read") || (overwrites && invocation_.backup);
    if (connect(reads)) {
        if (verb == QLatin1String("check"))
            end(ExitConfirmed, QStringLiteral("answered"),
                Texts::tr("A modem answers on %1.").arg(report_.device));
        else if (verb == QLatin1String("read"))
            read();
        else if (verb == QLatin1String("write"))
            write(*fromFile);
        else if (verb == QLatin1String("verify"))
            verify(*fromFile);
        else
            command(*tableCommand);
    }
    report_.errors = face_.errors() + report_.errors;
    return report_;
}

} // namespace

ModemReport runOnModem(const Invocation& invocation, const PortChoice& port, Console& console,
                       const LinkEnvironment& environment,
                       const std::optional<ModemConfiguration>& fromFile) {
    CliRun run(invocation, port, console, environment);
    return run.run(fromFile);
}
