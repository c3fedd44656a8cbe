#include "CliCommands.h"

#include "CliArguments.h"
#include "CliFace.h"
#include "ConfigFile.h"
#include "ConfigurationCheck.h"
#include "ConfigurationModel.h"
#include "Console.h"
#include "ExitCodes.h"
#include "ModemConnection.h"
#include "ModemSession.h"
#include "PortListing.h"
#include "StderrTraffic.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <cerrno>
#include <cstring>

namespace {

// The FILE of read and write that stands for standard output and standard input.
const QString StandardStream = QStringLiteral("-");

QString tr(const char* text) {
    return QCoreApplication::translate("tavek-cli", text);
}

// Notes whether the port was opened and whether it was lost: a check that
// got no answer on a port it had is the modem's failure, any other the port's.
struct PortWatch final : ModemTraffic {
    bool opened = false;
    bool lost = false;
    void portOpened(const QString&) override { opened = true; }
    void portLost(const QString&) override { lost = true; }
};

// One command's way to the modem: the connection, the configuration in
// memory, the session over both, and the watchers of the line. The port is
// let go when it ends.
class CliRun {
public:
    CliRun(const Invocation& invocation, Console& console, const LinkEnvironment& environment)
        : invocation_(invocation), console_(console), connection_(environment),
          face_(console, invocation.verbose, invocation.yes) {
        connection_.traffic().add(&watch_);
        if (invocation.verbose) {
            stderrTraffic_ = std::make_unique<StderrTraffic>(
                [&console](const QString& row) { console.error(row); });
            connection_.traffic().add(stderrTraffic_.get());
        }
        const PortChoice& port = invocation.port;
        if (port.device.isEmpty()) {
            connection_.setCommPortNumber(qint16(port.comNumber));
        } else {
            // As for a link in the ports folder: a stable alias such as
            // /dev/serial/by-id/... is opened by its real name, so that its
            // lock file is the one other programs look for.
            const QString resolved = QFileInfo(port.device).canonicalFilePath();
            connection_.setNamedDevice(resolved.isEmpty() ? port.device : resolved);
        }
    }
    ~CliRun() {
        connection_.disconnect();
        connection_.traffic().remove(stderrTraffic_.get());
    }

    ModemSession& session() { return session_; }
    ConfigurationModel& model() { return model_; }
    QString device() const { return connection_.connectedDevice(); }

    // The connection check, as the window's plug runs it, with the reads
    // after it when asked; every command starts with it.
    int connect(bool readConfiguration) {
        const QString device = connection_.deviceForCommPort();
        if (session_.connectModem(readConfiguration))
            return ExitConfirmed;
        // The session has said why; the port's failures have their own code.
        if (watch_.lost)
            return ExitPortFailed;
        if (watch_.opened) {
            console_.error(tr("tavek-cli: no modem answered on %1.").arg(where(device)));
            return ExitModemFailed;
        }
        console_.error(tr("tavek-cli: the port %1 could not be used.").arg(where(device)));
        return ExitPortFailed;
    }

    // 0 when the modem confirmed every step, 1 when not, 3 when the port was lost.
    static int exitCodeOf(const SessionResult& result) {
        if (result.end != OperationEnd::Completed)
            return ExitPortFailed;
        return result.confirmed() ? ExitConfirmed : ExitModemFailed;
    }

private:
    QString where(const QString& device) const {
        QString where = invocation_.port.text();
        if (device.isEmpty())
            where += tr(" (no such port)");
        else if (device != where)
            where += QStringLiteral(" (%1)").arg(device);
        return where;
    }

    const Invocation& invocation_;
    Console& console_;
    // Declared before the connection, which tells them of its last close.
    PortWatch watch_;
    std::unique_ptr<StderrTraffic> stderrTraffic_;
    ModemConnection connection_;
    ConfigurationModel model_;
    CliFace face_;
    ModemSession session_{connection_, model_, face_};
};

int check(CliRun& run, Console& console) {
    console.line(tr("A modem answers on %1.").arg(run.device()));
    return ExitConfirmed;
}

int read(CliRun& run, Console& console, const QString& file) {
    // A file made of half a read would put half a configuration on the next
    // modem: the session has said what was not whole.
    if (run.session().inputsReadIncomplete() || run.session().phoneBookReadIncomplete()) {
        console.error(tr("tavek-cli: nothing was saved."));
        return ExitModemFailed;
    }
    const ModemConfiguration& configuration = run.model().configuration();
    const QStringList problems = unsavableParts(configuration);
    if (!problems.isEmpty()) {
        console.error(tr("tavek-cli: the modem holds what a configuration file cannot; nothing "
                         "was saved:") +
                      QStringLiteral("\n- ") + problems.join(QStringLiteral("\n- ")));
        return ExitModemFailed;
    }
    if (file.isEmpty() || file == StandardStream) {
        if (console.bytes(configurationFileText(configuration)))
            return ExitConfirmed;
        console.error(QStringLiteral("tavek-cli: ") +
                      tr("The configuration could not be written onto standard output: %1.")
                          .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return ExitUsage;
    }
    QString error;
    if (!saveConfigurationFile(file, configuration, &error)) {
        console.error(QStringLiteral("tavek-cli: ") + error);
        return ExitUsage;
    }
    console.line(tr("Saved the configuration of the modem on %1 in %2.")
                     .arg(run.device(), QDir::toNativeSeparators(file)));
    return ExitConfirmed;
}

int write(CliRun& run, Console& console, const ModemConfiguration& configuration) {
    run.model().setConfiguration(configuration);
    // Both "Set" buttons of the window, one after the other.
    const SessionResult inputs = run.session().sendInputs();
    if (inputs.end != OperationEnd::Completed)
        return ExitPortFailed;
    const SessionResult numbers = run.session().setNumbers();
    if (numbers.end != OperationEnd::Completed)
        return ExitPortFailed;
    if (!inputs.confirmed() || !numbers.confirmed())
        return ExitModemFailed;
    console.line(tr("The modem on %1 confirmed the 9 input records and the 20 phone-book "
                    "positions.")
                     .arg(run.device()));
    return ExitConfirmed;
}

int command(CliRun& run, Console& console, const ModemCommand& command) {
    const int code = CliRun::exitCodeOf(run.session().run(command));
    if (code == ExitConfirmed)
        console.line(QCoreApplication::translate(ModemCommandsContext, command.doneText));
    return code;
}

// The configuration file of write, or standard input for "-".
ConfigurationFileReading fileToWrite(const QString& argument, const QString& name,
                                     QIODevice& standardInput) {
    if (argument != StandardStream)
        return loadConfigurationFile(argument);
    if (!standardInput.isOpen() && !standardInput.open(QIODevice::ReadOnly))
        return {std::nullopt,
                {tr("%1: cannot be read (%2)").arg(name, standardInput.errorString())}};
    return loadConfigurationFile(standardInput, name);
}

int runInvocation(const Invocation& invocation, Console& console,
                  const LinkEnvironment& environment, QIODevice& standardInput) {
    const QString& verb = invocation.verb;
    if (verb == QLatin1String("ports")) {
        printPortCatalog(console);
        return ExitConfirmed;
    }

    // A file to write is checked whole before any port is opened.
    ModemConfiguration toWrite;
    if (verb == QLatin1String("write")) {
        const QString name = invocation.argument == StandardStream
                                 ? tr("standard input")
                                 : QDir::toNativeSeparators(invocation.argument);
        const ConfigurationFileReading reading =
            fileToWrite(invocation.argument, name, standardInput);
        if (!reading.configuration) {
            console.error(tr("tavek-cli: %1: nothing was sent.").arg(name) + u'\n' +
                          problemsText(reading.problems));
            return ExitUsage;
        }
        toWrite = *reading.configuration;
    }

    CliRun run(invocation, console, environment);
    const bool reads = verb == QLatin1String("read");
    if (const int code = run.connect(reads); code != ExitConfirmed)
        return code;
    if (verb == QLatin1String("check"))
        return check(run, console);
    if (reads)
        return read(run, console, invocation.argument);
    if (verb == QLatin1String("write"))
        return write(run, console, toWrite);
    return command(run, console, *findModemCommand(verb));
}

} // namespace

int runTavekCli(const QStringList& arguments, Console& console, const LinkEnvironment& environment,
                QIODevice& standardInput) {
    const ParsedCommandLine parsed = parseCommandLine(arguments, console);
    if (!parsed.invocation)
        return parsed.exitCode;
    return runInvocation(*parsed.invocation, console, environment, standardInput);
}
