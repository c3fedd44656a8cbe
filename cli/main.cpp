// tavek-cli: the modem operations of the Tavek window from the command line,
// for scripts and for configuring many modems alike. No display is needed.
#include "CliArguments.h"
#include "CliCommands.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavek-cli"));
    const ParsedCommandLine parsed = parseCommandLine(QCoreApplication::arguments());
    if (!parsed.invocation)
        return parsed.exitCode;
    return runInvocation(*parsed.invocation);
}
