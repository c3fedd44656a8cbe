#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of the window program. It is read before the
// QApplication exists, so that --help, --version and a refused command line
// need no display. A new option is one QCommandLineOption in
// StartOptions.cpp and, where it carries a value, a field here.
struct StartOptions {
    // Set when the program ends at once: 0 after --help or --version
    // (printed on standard output), 2 after a refused command line (the
    // usage text on standard error).
    std::optional<int> exitCode;
    // --log FILE: the modem traffic goes to this file as well.
    QString logFile;
};

StartOptions parseStartOptions(const QStringList& arguments);
