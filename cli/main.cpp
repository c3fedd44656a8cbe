// tavek-cli: the modem operations of the Tavek window from the command line,
// for scripts and for configuring many modems alike. No display is needed.
#include "CliArguments.h"
#include "CliCommands.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char** argv) {
    // Under a file-size limit (ulimit -f) a save that grows past it would end
    // the program; ignored, the write fails instead and the save says why.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavek-cli"));
    const ParsedCommandLine parsed = parseCommandLine(QCoreApplication::arguments());
    if (!parsed.invocation)
        return parsed.exitCode;
    return runInvocation(*parsed.invocation);
}
