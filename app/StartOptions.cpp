#include "StartOptions.h"

#include "tavek_version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

// The options every Qt program takes (QGuiApplication, QApplication and the
// X11 platform), which QApplication takes out of the arguments itself. They
// pass here unseen in the help, so that "tavek -style Fusion" still works.
constexpr const char* QtOptionsWithValue[] = {"platform",
                                              "platformpluginpath",
                                              "platformtheme",
                                              "plugin",
                                              "qwindowgeometry",
                                              "qwindowicon",
                                              "qwindowtitle",
                                              "session",
                                              "display",
                                              "geometry",
                                              "name",
                                              "title",
                                              "visual",
                                              "style",
                                              "stylesheet",
                                              "qmljsdebugger"};
constexpr const char* QtFlags[] = {"reverse", "widgetcount", "sync", "nograb", "dograb"};

void addQtOptions(QCommandLineParser& parser) {
    for (const char* name : QtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : QtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QString usageText(const QCommandLineParser& parser, const QString& program) {
    // Without an application object the parser cannot know the program's name.
    return parser.helpText().replace(QStringLiteral("<executable_name>"), program) +
           QCoreApplication::translate(
               "StartOptions", "\nQt's own options, such as -platform NAME and -style NAME, are "
                               "accepted too.\n");
}

} // namespace

StartOptions parseStartOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's options have always been written with one dash: -platform, -style.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QCoreApplication::translate(
        "StartOptions", "Configures KVZ GSM alarm modems over a serial port, in a window.\n"
                        "tavek-cli does the same from the command line."));
    const QCommandLineOption help({"h", "help"},
                                  QCoreApplication::translate("StartOptions", "Shows this help."));
    const QCommandLineOption version(
        {"V", "version"}, QCoreApplication::translate("StartOptions", "Shows the version."));
    const QCommandLineOption log(
        QStringLiteral("log"),
        QCoreApplication::translate("StartOptions", "Writes the modem traffic to <file> as well."),
        QStringLiteral("file"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(log);
    addQtOptions(parser);

    const QString program = QFileInfo(arguments.value(0, QStringLiteral("tavek"))).fileName();
    QString refusal;
    if (!parser.parse(arguments))
        refusal = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        refusal = QCoreApplication::translate("StartOptions", "Unexpected argument '%1'.")
                      .arg(parser.positionalArguments()[0]);
    if (!refusal.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n\n%s", qPrintable(program), qPrintable(refusal),
                     qPrintable(usageText(parser, program)));
        return {2, {}};
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(usageText(parser, program)), stdout);
        return {0, {}};
    }
    if (parser.isSet(version)) {
        std::printf("%s %d.%d\n", qPrintable(program), tavek::version::major,
                    tavek::version::minor);
        return {0, {}};
    }
    return {std::nullopt, parser.value(log)};
}
