// tavek-cli: the modem operations of the Tavek window from the command line,
// for scripts and for configuring many modems alike. No display is needed.
#include "CliCommands.h"
#include "Console.h"
#include "LinkEnvironment.h"
#include "Translations.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>

int main(int argc, char** argv) {
    // Under a file-size limit (ulimit -f) a save that grows past it would end
    // the program; ignored, the write fails instead and the save says why.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavek-cli"));
    // The system's language (LANG, LANGUAGE); English where Tavek has none.
    installTranslations(app);
    Console console;
    QFile standardInput;
    standardInput.open(stdin, QIODevice::ReadOnly);
    return runTavekCli(QCoreApplication::arguments(), console, LinkEnvironment{}, standardInput);
}
