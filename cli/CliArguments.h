#pragma once

#include "PortArgument.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Console;

// One run of tavek-cli as its command line asks for it.
struct Invocation {
    QString verb;     // check, read, write, verify, ports, backups, or a modem command of the table
    QString argument; // the FILE of read, write and verify ("-": standard output or input)
    QList<PortChoice> ports; // Com 1 unless --port says otherwise; several for a fleet
    bool allPorts = false;   // every port where a modem answers the check
    bool verbose = false;
    bool json = false;
    bool yes = false;
    bool verify = true; // a write is read back and compared
    bool backup = true; // what the modem held is read and kept before it is overwritten
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
