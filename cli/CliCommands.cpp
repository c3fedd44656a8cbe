#include "CliCommands.h"

#include "Backups.h"
#include "CliArguments.h"
#include "CliReport.h"
#include "ConfigFile.h"
#include "Console.h"
#include "ExitCodes.h"
#include "Fleet.h"
#include "LinkEnvironment.h"
#include "PortCatalog.h"
#include "PortListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QIODevice>
#include <QJsonArray>

namespace {

// The texts below in one translation context, by a name that lupdate reads too.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(TavekCli)
};

// The FILE of read, write and verify that stands for standard output and input.
const QString StandardStream = QStringLiteral("-");

// The configuration file of write and verify, or standard input for "-".
ConfigurationFileReading fileToRead(const QString& argument, const QString& name,
                                    QIODevice& standardInput) {
    if (argument != StandardStream)
        return loadConfigurationFile(argument);
    if (!standardInput.isOpen() && !standardInput.open(QIODevice::ReadOnly))
        return {std::nullopt,
                {Texts::tr("%1: cannot be read (%2)").arg(name, standardInput.errorString())}};
    return loadConfigurationFile(standardInput, name);
}

int printBackups(Console& console, bool json) {
    const QList<BackupEntry> backups = listBackups();
    if (json) {
        QJsonArray list;
        for (const BackupEntry& backup : backups)
            list.append(
                QJsonObject{{QStringLiteral("path"), backup.path},
                            {QStringLiteral("device"), backup.device},
                            {QStringLiteral("time"), backup.at.toString(Qt::ISODateWithMs)}});
        console.json({{QStringLiteral("command"), QStringLiteral("backups")},
                      {QStringLiteral("folder"), backupsFolder()},
                      {QStringLiteral("backups"), list}});
        return ExitConfirmed;
    }
    if (backups.isEmpty())
        console.line(
            Texts::tr("No backups yet in %1.").arg(QDir::toNativeSeparators(backupsFolder())));
    for (const BackupEntry& backup : backups)
        console.line(QStringLiteral("%1  %2  %3")
                         .arg(backup.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                              backup.device.leftJustified(16),
                              QDir::toNativeSeparators(backup.path)));
    return ExitConfirmed;
}

// Every port a modem may be on: the system's and the ports folder's, each once.
QList<PortChoice> everyPort() {
    QList<PortChoice> ports;
    for (const CatalogPort& port : portCatalog())
        if (port.present)
            ports << PortChoice{0, port.device};
    return ports;
}

int runInvocation(const Invocation& invocation, Console& console,
                  const LinkEnvironment& environment, QIODevice& standardInput) {
    const QString& verb = invocation.verb;
    if (verb == QLatin1String("ports")) {
        printPortCatalog(console, invocation.json);
        return ExitConfirmed;
    }
    if (verb == QLatin1String("backups"))
        return printBackups(console, invocation.json);

    // A file to write or compare is checked whole before any port is opened.
    std::optional<ModemConfiguration> fromFile;
    if (verb == QLatin1String("write") || verb == QLatin1String("verify")) {
        const QString name = invocation.argument == StandardStream
                                 ? Texts::tr("standard input")
                                 : QDir::toNativeSeparators(invocation.argument);
        const ConfigurationFileReading reading =
            fileToRead(invocation.argument, name, standardInput);
        if (!reading.configuration) {
            console.error(Texts::tr("tavek-cli: %1: nothing was sent.").arg(name) + u'\n' +
                          problemsText(reading.problems));
            return ExitUsage;
        }
        fromFile = reading.configuration;
    }

    if (!invocation.allPorts && invocation.ports.size() == 1) {
        const ModemReport report =
            runOnModem(invocation, invocation.ports.first(), console, environment, fromFile);
        printReport(report, console, invocation.json);
        return report.exitCode;
    }

    // Several modems: a line for each as it ends; the worst code is the program's.
    const QList<PortChoice> ports = invocation.allPorts ? everyPort() : invocation.ports;
    int worst = ExitConfirmed;
    int answered = 0;
    runFleet(invocation, ports, environment, fromFile, [&](const ModemReport& report) {
        // Of every port, only those where a modem answers count.
        const bool noModem = report.result == QLatin1String("no answer") ||
                             report.result == QLatin1String("port failed");
        if (invocation.allPorts && noModem)
            return;
        ++answered;
        worst = qMax(worst, report.exitCode);
        if (invocation.json)
            console.json(reportObject(report));
        else if (report.exitCode == ExitConfirmed)
            console.line(fleetLine(report));
        else
            console.error(fleetLine(report));
    });
    if (invocation.allPorts && answered == 0) {
        console.error(Texts::tr("tavek-cli: no modem answered on any port."));
        return ExitModemFailed;
    }
    return worst;
}

} // namespace

int runTavekCli(const QStringList& arguments, Console& console, const LinkEnvironment& environment,
                QIODevice& standardInput) {
    const ParsedCommandLine parsed = parseCommandLine(arguments, console);
    if (!parsed.invocation)
        return parsed.exitCode;
    // A port problem points to this program's own commands, not to the
    // window's toolbar.
    LinkEnvironment commandLine = environment;
    commandLine.hints = {
        .findPorts = Texts::tr("\"tavek-cli ports\" lists the device behind each Com number."),
        .assignNumber =
            Texts::tr("To give your adapter a Com number, link its device as comN in "
                      "~/.config/tavek/ports (ln -s /dev/serial/by-id/... com3), or name the "
                      "device itself: --port /dev/ttyUSB0. \"tavek-cli ports\" lists them.")};
    return runInvocation(*parsed.invocation, console, commandLine, standardInput);
}
