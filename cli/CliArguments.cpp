#include "CliArguments.h"

#include "ExitCodes.h"
#include "Output.h"

#include "tavek_version.h"

#include <QCommandLineParser>

namespace {

const QString description = QStringLiteral(
    "Configures a KVZ GSM alarm modem over a serial port, as the Tavek window does.\n"
    "\n"
    "Commands:\n"
    "  check                   the connection check: does a modem answer?\n"
    "  read [FILE]             reads the inputs and the phone book into FILE (.tavek),\n"
    "                          or onto standard output (no FILE, or -)\n"
    "  write FILE              sends FILE's inputs and all 20 phone-book positions\n"
    "                          (- reads the file from standard input)\n"
    "  relay on|off            switches the relay\n"
    "  factory-defaults --yes  restores the factory communication settings\n"
    "  clear --yes             empties the phone book and loads the default inputs\n"
    "                          and messages (\"Set default settings\")\n"
    "  ports                   lists the serial ports with their Com numbers\n"
    "\n"
    "Exit codes:\n"
    "  0  everything went through and the modem confirmed every step\n"
    "  1  the modem did not answer, or did not confirm a step\n"
    "  2  a wrong command line or a bad FILE to write (nothing was sent),\n"
    "     or a FILE that could not be saved\n"
    "  3  the port could not be opened, or was lost");

// What each command takes after its name: none, one optional, one required.
struct CommandShape {
    const char* name;
    int least;
    int most;
    bool needsYes;
};
constexpr CommandShape Commands[] = {
    {"check", 0, 0, false},           {"read", 0, 1, false},
    {"write", 1, 1, false},           {"relay", 1, 1, false},
    {"factory-defaults", 0, 0, true}, {"clear", 0, 0, true},
    {"ports", 0, 0, false},
};

const CommandShape* shapeOf(const QString& command) {
    for (const CommandShape& shape : Commands) {
        if (command == QLatin1String(shape.name))
            return &shape;
    }
    return nullptr;
}

ParsedCommandLine refused(const QCommandLineParser& parser, const QString& why) {
    printErrorLine(QStringLiteral("tavek-cli: ") + why + u'\n');
    printErrorLine(parser.helpText());
    return {std::nullopt, ExitUsage};
}

// Why the command and what follows it make no sense; empty when they do.
QString commandProblem(const QStringList& positional, bool yes) {
    if (positional.isEmpty())
        return QStringLiteral("No command given.");
    const QString& command = positional.first();
    const CommandShape* shape = shapeOf(command);
    if (!shape)
        return QStringLiteral("Unknown command '%1'.").arg(command);
    const qsizetype given = positional.size() - 1;
    if (given < shape->least)
        return QStringLiteral("%1 needs %2.")
            .arg(command, command == QLatin1String("relay") ? QStringLiteral("on or off")
                                                            : QStringLiteral("a FILE"));
    if (given > shape->most)
        return QStringLiteral("Unexpected argument '%1' after %2.")
            .arg(positional.at(shape->most + 1), command);
    if (command == QLatin1String("relay") && positional[1] != QLatin1String("on") &&
        positional[1] != QLatin1String("off"))
        return QStringLiteral("relay takes on or off, not '%1'.").arg(positional[1]);
    if (shape->needsYes && !yes)
        return command == QLatin1String("clear")
                   ? QStringLiteral("clear deletes all data of the modem: the phone book and the "
                                    "inputs' settings and messages. Add --yes to go ahead.")
                   : QStringLiteral("factory-defaults resets all communication settings of the "
                                    "modem. Add --yes to go ahead.");
    return {};
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("See Commands above."),
                                 QStringLiteral("command [FILE|on|off]"));
    const QCommandLineOption port(
        {"p", "port"},
        QStringLiteral("The modem's port: comN or \"Com N\" as the window numbers them (a "
                       "link comN in the ports folder, else the N-th listed port), or a device "
                       "such as /dev/ttyUSB0. Default: com1."),
        QStringLiteral("PORT"), QStringLiteral("com1"));
    const QCommandLineOption verbose({"v", "verbose"},
                                     QStringLiteral("Shows the progress and the traffic on the "
                                                    "line on standard error."));
    const QCommandLineOption yes({"y", "yes"},
                                 QStringLiteral("Confirms factory-defaults and clear."));
    const QCommandLineOption help({"h", "help"}, QStringLiteral("Shows this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Shows the version."));
    for (const QCommandLineOption& option : {port, verbose, yes, help, version})
        parser.addOption(option);

    if (!parser.parse(arguments))
        return refused(parser, parser.errorText());
    if (parser.isSet(help)) {
        printBytes(parser.helpText().toLocal8Bit());
        return {std::nullopt, ExitConfirmed};
    }
    if (parser.isSet(version)) {
        printLine(QStringLiteral("tavek-cli %1.%2")
                      .arg(tavek::version::major)
                      .arg(tavek::version::minor));
        return {std::nullopt, ExitConfirmed};
    }

    const QStringList positional = parser.positionalArguments();
    const QString problem = commandProblem(positional, parser.isSet(yes));
    if (!problem.isEmpty())
        return refused(parser, problem);
    const std::optional<PortChoice> portChoice = parsePortArgument(parser.value(port));
    if (!portChoice)
        return refused(parser, QStringLiteral("--port %1 names no port: give comN (1 to %2), "
                                              "\"Com N\" or a device path such as /dev/ttyUSB0.")
                                   .arg(parser.value(port))
                                   .arg(HighestComNumber));

    Invocation invocation;
    invocation.command = positional.first();
    invocation.argument = positional.value(1);
    invocation.port = *portChoice;
    invocation.verbose = parser.isSet(verbose);
    invocation.yes = parser.isSet(yes);
    return {invocation, ExitConfirmed};
}
