#include "CliCommands.h"

#include "CliArguments.h"
#include "ConfigOperations.h"
#include "ConfigurationCheck.h"
#include "ExitCodes.h"
#include "ModemLink.h"
#include "ModemSession.h"
#include "OperationTexts.h"
#include "Output.h"
#include "PortListing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

namespace {

// The FILE of read and write that stands for standard output and standard input.
const QString StandardStream = QStringLiteral("-");

// An operation that ran to its end: 0 when the modem confirmed every step,
// 1 when not; 3 when the port could not be had or was lost (the view has
// said why).
int exitCodeOf(const OperationResult& result) {
    if (!result.completed())
        return ExitPortFailed;
    return result.unconfirmed.isEmpty() ? ExitConfirmed : ExitModemFailed;
}

// Every step that was not confirmed, in one "Modem error" as the window has it.
void reportUnconfirmed(ModemSession& session, const QStringList& texts) {
    if (!texts.isEmpty())
        session.view().showModemError(texts.join(u'\n'));
}

int check(ModemSession& session) {
    printLine(QStringLiteral("A modem answers on %1.").arg(session.connection().connectedDevice()));
    return ExitConfirmed;
}

int read(ModemSession& session, const QString& file) {
    // The window's two reads after its connection check, in its order.
    const ReadResult inputs = GetInputs(session.connection(), session.view());
    const ReadResult numbers = inputs.end == OperationEnd::PortLost
                                   ? inputs
                                   : GetNumbers(session.connection(), session.view());
    if (inputs.end == OperationEnd::PortUnavailable || numbers.end == OperationEnd::PortUnavailable)
        printErrorLine(QStringLiteral("Modem error: %1 could not be opened again for the read.")
                           .arg(session.connection().connectedDevice()));
    if (inputs.end != OperationEnd::Completed || numbers.end != OperationEnd::Completed)
        return ExitPortFailed;
    // A file made of half a read would put half a configuration on the next modem.
    if (!inputs.complete || !numbers.complete) {
        const QString what = !inputs.complete && !numbers.complete
                                 ? QStringLiteral("The input configuration and the phone book")
                             : !inputs.complete ? QStringLiteral("The input configuration")
                                                : QStringLiteral("The phone book");
        session.view().showModemError(
            what + QStringLiteral(" could not be read completely from the modem. Nothing was "
                                  "saved."));
        return ExitModemFailed;
    }

    const ModemConfiguration configuration = session.view().configuration();
    const QStringList problems = unsavableParts(configuration);
    if (!problems.isEmpty()) {
        printErrorLine(QStringLiteral("tavek-cli: the modem holds what a configuration file "
                                      "cannot; nothing was saved:\n- ") +
                       problems.join(QStringLiteral("\n- ")));
        return ExitModemFailed;
    }
    if (file.isEmpty() || file == StandardStream) {
        if (printBytes(configurationFileText(configuration)))
            return ExitConfirmed;
        printErrorLine(QStringLiteral("tavek-cli: ") +
                       QCoreApplication::translate("tavek-cli",
                                                   "The configuration could not be written onto "
                                                   "standard output: %1.")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return ExitUsage;
    }
    QString error;
    if (!saveConfigurationFile(file, configuration, &error)) {
        printErrorLine(QStringLiteral("tavek-cli: ") + error);
        return ExitUsage;
    }
    printLine(QStringLiteral("Saved the configuration of the modem on %1 in %2.")
                  .arg(session.connection().connectedDevice(), QDir::toNativeSeparators(file)));
    return ExitConfirmed;
}

int write(ModemSession& session, const ModemConfiguration& configuration) {
    session.view().setConfiguration(configuration);
    // Both "Set" buttons of the window, one after the other.
    const OperationResult inputs = SendInputs(session.connection(), session.view());
    QStringList unconfirmed;
    if (!inputs.unconfirmed.isEmpty())
        unconfirmed << unconfirmedInputRecordsText(inputs.unconfirmed);
    if (!inputs.completed()) {
        reportUnconfirmed(session, unconfirmed);
        return ExitPortFailed;
    }
    const OperationResult numbers = SetNumbers(session.connection(), session.view());
    if (!numbers.unconfirmed.isEmpty())
        unconfirmed << unconfirmedPositionsText(numbers.unconfirmed);
    reportUnconfirmed(session, unconfirmed);
    if (!numbers.completed())
        return ExitPortFailed;
    if (!unconfirmed.isEmpty())
        return ExitModemFailed;
    printLine(QStringLiteral("The modem on %1 confirmed the 9 input records and the 20 "
                             "phone-book positions.")
                  .arg(session.connection().connectedDevice()));
    return ExitConfirmed;
}

int relay(ModemSession& session, bool on) {
    const QString command = on ? RelayOnCommand : RelayOffCommand;
    const OperationResult result = SendRelayString(session.connection(), session.view(), command);
    if (!result.unconfirmed.isEmpty())
        reportUnconfirmed(session, {unconfirmedRelayText(command)});
    const int code = exitCodeOf(result);
    if (code == ExitConfirmed)
        printLine(on ? QStringLiteral("Relay on.") : QStringLiteral("Relay off."));
    return code;
}

int factoryDefaults(ModemSession& session) {
    const OperationResult result = SendDefaultString(session.connection(), session.view());
    if (!result.unconfirmed.isEmpty())
        reportUnconfirmed(session, {unconfirmedDefaultsText(result.unconfirmed)});
    const int code = exitCodeOf(result);
    if (code == ExitConfirmed)
        printLine(QStringLiteral("The factory communication settings are restored."));
    return code;
}

// "Set default settings": the phone book emptied, then the default inputs and messages.
int clear(ModemSession& session) {
    DeleteNumbers(session.view());
    const OperationResult numbers = SetNumbers(session.connection(), session.view());
    QStringList unconfirmed;
    if (!numbers.unconfirmed.isEmpty())
        unconfirmed << unconfirmedPositionsText(numbers.unconfirmed);
    if (!numbers.completed()) {
        // Nothing further goes to a modem whose phone book could not be emptied.
        reportUnconfirmed(session, unconfirmed);
        return ExitPortFailed;
    }
    LoadDefaultMessages(session.view());
    const OperationResult inputs = SendInputs(session.connection(), session.view());
    if (!inputs.unconfirmed.isEmpty())
        unconfirmed << unconfirmedInputRecordsText(inputs.unconfirmed);
    reportUnconfirmed(session, unconfirmed);
    if (!inputs.completed())
        return ExitPortFailed;
    if (!unconfirmed.isEmpty())
        return ExitModemFailed;
    printLine(QStringLiteral("The phone book is empty; the default inputs and messages are set."));
    return ExitConfirmed;
}

// The configuration file of write, or standard input for "-".
ConfigurationFileReading fileToWrite(const QString& argument, const QString& name) {
    if (argument != StandardStream)
        return loadConfigurationFile(argument);
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return {std::nullopt,
                {QCoreApplication::translate("tavek-cli", "%1: cannot be read (%2)")
                     .arg(name, input.errorString())}};
    return loadConfigurationFile(input, name);
}

} // namespace

int runInvocation(const Invocation& invocation) {
    const QString& command = invocation.command;
    if (command == QLatin1String("ports")) {
        printPortCatalog();
        return ExitConfirmed;
    }

    // A file to write is checked whole before any port is opened.
    ModemConfiguration toWrite;
    if (command == QLatin1String("write")) {
        const QString name = invocation.argument == StandardStream
                                 ? QCoreApplication::translate("tavek-cli", "standard input")
                                 : QDir::toNativeSeparators(invocation.argument);
        const ConfigurationFileReading reading = fileToWrite(invocation.argument, name);
        if (!reading.configuration) {
            printErrorLine(QStringLiteral("tavek-cli: %1: nothing was sent.\n%2")
                               .arg(name, problemsText(reading.problems)));
            return ExitUsage;
        }
        toWrite = *reading.configuration;
    }

    ModemSession session(invocation.port, invocation.verbose);
    if (const int code = session.connect(); code != ExitConfirmed)
        return code;
    if (command == QLatin1String("check"))
        return check(session);
    if (command == QLatin1String("read"))
        return read(session, invocation.argument);
    if (command == QLatin1String("write"))
        return write(session, toWrite);
    if (command == QLatin1String("relay"))
        return relay(session, invocation.argument == QLatin1String("on"));
    if (command == QLatin1String("factory-defaults"))
        return factoryDefaults(session);
    return clear(session);
}
