#include "CliArguments.h"

#include "Console.h"
#include "ExitCodes.h"
#include "ModemCommands.h"

#include "tavek_version.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

// The texts below in one translation context, by a name that lupdate reads too.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(TavekCli)
};

// The verbs of the program itself, what follows them, and their help; the
// modem commands of the table follow them.
struct Verb {
    const char* name;
    const char* shape; // what it takes, for the help
    int least;
    int most;
    const char* help;
};
constexpr Verb OwnVerbs[] = {
    {"check", "", 0, 0,
     QT_TRANSLATE_NOOP("TavekCli", "the connection check: does a modem answer?")},
    {"read", "[FILE|-]", 0, 1,
     QT_TRANSLATE_NOOP("TavekCli", "reads the inputs and the phone book into FILE (.tavek), or "
                                   "onto standard output")},
    {"write", "FILE|-", 1, 1,
     QT_TRANSLATE_NOOP("TavekCli", "keeps a backup of the modem, sends FILE's inputs and all 20 "
                                   "phone-book positions, and reads them back to verify (-: "
                                   "the file from standard input)")},
    {"verify", "FILE|-", 1, 1,
     QT_TRANSLATE_NOOP("TavekCli", "compares the modem with FILE, writing nothing")},
    {"ports", "", 0, 0,
     QT_TRANSLATE_NOOP("TavekCli", "lists the serial ports with their Com numbers")},
    {"backups", "", 0, 0,
     QT_TRANSLATE_NOOP("TavekCli", "lists the automatic backups, newest first (restore one "
                                   "with write)")},
};

const Verb* ownVerb(const QString& name) {
    for (const Verb& verb : OwnVerbs)
        if (name == QLatin1String(verb.name))
            return &verb;
    return nullptr;
}

QString description() {
    QString text =
        Texts::tr("Configures a KVZ GSM alarm modem over a serial port, as the Tavek window "
                  "does.") +
        QStringLiteral("\n\n") + Texts::tr("Commands:") + u'\n';
    const auto add = [&text](const QString& usage, const QString& help) {
        text += QStringLiteral("  %1 %2\n").arg(usage, -24).arg(help);
    };
    for (const Verb& verb : OwnVerbs)
        add(QStringLiteral("%1 %2").arg(QLatin1String(verb.name), QLatin1String(verb.shape)),
            Texts::tr(verb.help));
    for (const ModemCommand& command : modemCommands())
        add(command.id + (command.question ? QStringLiteral(" --yes") : QString()),
            QCoreApplication::translate(ModemCommandsContext, command.caption));
    add(QStringLiteral("relay on|off"), Texts::tr("the same as relay-on and relay-off"));
    text +=
        u'\n' + Texts::tr("Exit codes:") + u'\n' +
        Texts::tr("  0  everything went through and the modem confirmed every step\n"
                  "  1  the modem did not answer, did not confirm a step, or a read was not whole\n"
                  "  2  a wrong command line or a bad FILE to write (nothing was sent),\n"
                  "     or a FILE that could not be saved\n"
                  "  3  the port could not be opened, or was lost\n"
                  "  4  the modem, read back, holds something other than was sent\n"
                  "  5  what the modem held could not be kept as a backup: nothing was "
                  "overwritten\n"
                  "For several modems (--port given again, or --all-ports), the highest of "
                  "theirs.");
    return text;
}

// A usage error is one line, and where to read more.
ParsedCommandLine refused(Console& console, const QString& why) {
    console.error(QStringLiteral("tavek-cli: ") + why);
    console.error(Texts::tr("Try 'tavek-cli --help'."));
    return {std::nullopt, ExitUsage};
}

// The verb and what follows it, "relay on" spelt as the table spells it;
// or why they make no sense.
struct Command {
    QString verb, argument, problem;
};
Command commandOf(QStringList positional, bool yes) {
    if (positional.isEmpty())
        return {{}, {}, Texts::tr("No command given.")};
    if (positional.size() == 2 && positional[0] == QLatin1String("relay") &&
        (positional[1] == QLatin1String("on") || positional[1] == QLatin1String("off")))
        positional = {QStringLiteral("relay-") + positional[1]};
    const QString verb = positional.first();
    const qsizetype given = positional.size() - 1;
    int least = 0, most = 0;
    if (const Verb* own = ownVerb(verb)) {
        least = own->least;
        most = own->most;
    } else if (const ModemCommand* command = findModemCommand(verb)) {
        if (command->question && !yes)
            return {{},
                    {},
                    Texts::tr("%1 changes what the modem holds: \"%2\" Add --yes to go ahead.")
                        .arg(verb, QCoreApplication::translate(
                                       ModemCommandsContext,
                                       command->question->lines.value(1).toUtf8().constData()))};
    } else if (verb == QLatin1String("relay")) {
        return {{}, {}, Texts::tr("relay takes on or off.")};
    } else {
        return {{}, {}, Texts::tr("Unknown command '%1'.").arg(verb)};
    }
    if (given < least)
        return {{}, {}, Texts::tr("%1 needs a FILE, or - for standard input.").arg(verb)};
    if (given > most)
        return {{},
                {},
                Texts::tr("Unexpected argument '%1' after %2.").arg(positional.at(most + 1), verb)};
    return {verb, positional.value(1), {}};
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments, Console& console) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addPositionalArgument(QStringLiteral("command"), Texts::tr("See Commands above."),
                                 QStringLiteral("command [FILE|-]"));
    const QCommandLineOption port(
        {QStringLiteral("p"), QStringLiteral("port")},
        Texts::tr(
            "The modem's port: comN or \"Com N\" as the window numbers them (a link comN in the "
            "ports folder, else the N-th listed port), or a device such as /dev/ttyUSB0. "
            "Default: com1. Given again, the modems are worked on at once."),
        QStringLiteral("PORT"));
    const QCommandLineOption allPorts(
        QStringLiteral("all-ports"),
        Texts::tr("Every serial port where a modem answers the check."));
    const QCommandLineOption json(
        QStringLiteral("json"), Texts::tr("Results as JSON, one object a line (README: \"tavek-cli "
                                          "--json\")."));
    const QCommandLineOption noVerify(QStringLiteral("no-verify"),
                                      Texts::tr("write: does not read back what was sent."));
    const QCommandLineOption noBackup(
        QStringLiteral("no-backup"),
        Texts::tr("write, clear: does not read and keep what the modem "
                  "held first."));
    const QCommandLineOption verbose({QStringLiteral("v"), QStringLiteral("verbose")},
                                     Texts::tr("Shows the progress and the traffic on the line on "
                                               "standard error."));
    const QCommandLineOption quiet({QStringLiteral("q"), QStringLiteral("quiet")},
                                   Texts::tr("Prints nothing but errors."));
    const QCommandLineOption yes(
        {QStringLiteral("y"), QStringLiteral("yes")},
        Texts::tr("Answers yes to the question of a command that changes what "
                  "the modem holds (factory-defaults, clear)."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  Texts::tr("Shows this help."));
    const QCommandLineOption version({QStringLiteral("V"), QStringLiteral("version")},
                                     Texts::tr("Shows the version."));
    for (const QCommandLineOption& option :
         {port, allPorts, json, verbose, quiet, yes, noVerify, noBackup, help, version})
        parser.addOption(option);

    if (!parser.parse(arguments))
        return refused(console, parser.errorText());
    if (parser.isSet(help)) {
        console.bytes(parser.helpText().toLocal8Bit());
        return {std::nullopt, ExitConfirmed};
    }
    if (parser.isSet(version)) {
        console.line(QStringLiteral("tavek-cli %1.%2")
                         .arg(tavek::version::major)
                         .arg(tavek::version::minor));
        return {std::nullopt, ExitConfirmed};
    }
    const Command command = commandOf(parser.positionalArguments(), parser.isSet(yes));
    if (!command.problem.isEmpty())
        return refused(console, command.problem);
    Invocation invocation;
    const QStringList named =
        parser.isSet(port) ? parser.values(port) : QStringList{QStringLiteral("com1")};
    for (const QString& given : named) {
        const std::optional<PortChoice> choice = parsePortArgument(given);
        if (!choice)
            return refused(console,
                           Texts::tr("--port %1 names no port: give comN (1 to %2), \"Com N\" "
                                     "or a device path such as /dev/ttyUSB0.")
                               .arg(given)
                               .arg(HighestComNumber));
        if (invocation.ports.contains(*choice))
            return refused(console, Texts::tr("--port %1 is given twice.").arg(given));
        invocation.ports << *choice;
    }
    invocation.allPorts = parser.isSet(allPorts);
    const bool several = invocation.allPorts || invocation.ports.size() > 1;
    const bool onePortOnly = command.verb == QLatin1String("read") ||
                             command.verb == QLatin1String("ports") ||
                             command.verb == QLatin1String("backups");
    if (several && onePortOnly)
        return refused(console, Texts::tr("%1 works on one port.").arg(command.verb));
    if (invocation.allPorts && parser.isSet(port))
        return refused(console, Texts::tr("--all-ports and --port do not go together."));
    console.quiet = parser.isSet(quiet);
    invocation.verb = command.verb;
    invocation.argument = command.argument;
    invocation.verbose = parser.isSet(verbose) && !several;
    invocation.json = parser.isSet(json);
    invocation.yes = parser.isSet(yes);
    invocation.verify = !parser.isSet(noVerify);
    invocation.backup = !parser.isSet(noBackup);
    return {invocation, ExitConfirmed};
}
