#pragma once

#include "PortArgument.h"

#include <QString>
#include <QStringList>

#include <optional>

// One run of tavek-cli as its command line asks for it.
struct Invocation {
    QString command;  // check, read, write, relay, factory-defaults, clear or ports
    QString argument; // the FILE of read and write, on or off for relay; may be empty
    PortChoice port;  // Com 1 unless --port says otherwise
    bool verbose = false;
    bool yes = false;
};

// Either what to run, or the exit code of a program that has already said
// everything: --help and --version on standard output (0), a command line
// that makes no sense on standard error with the usage text (2). Nothing
// touches a port before the whole command line is known to be good.
struct ParsedCommandLine {
    std::optional<Invocation> invocation;
    int exitCode = 0;
};

ParsedCommandLine parseCommandLine(const QStringList& arguments);
