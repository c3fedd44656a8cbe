#pragma once

#include "PortArgument.h"

#include <QString>
#include <QStringList>

#include <optional>

class Console;

// One run of tavek-cli as its command line asks for it.
struct Invocation {
    QString verb;     // check, read, write, ports, or a modem command of the table
    QString argument; // the FILE of read and write ("-": standard output or input)
    PortChoice port;  // Com 1 unless --port says otherwise
    bool verbose = false;
    bool yes = false;
};

// Either what to run, or the exit code of a program that has already said
// everything: --help and --version on standard output (0), a command line
// that makes no sense as one line on standard error (2). Nothing touches a
// port before the whole command line is known to be good.
struct ParsedCommandLine {
    std::optional<Invocation> invocation;
    int exitCode = 0;
};

ParsedCommandLine parseCommandLine(const QStringList& arguments, Console& console);
