#pragma once

#include <QStringList>

class Console;
class QIODevice;
struct LinkEnvironment;

// Runs tavek-cli with its command line (the program's name first) through
// the same session and command table as the window, and returns its exit
// code (ExitCodes.h). The modem is reached through the environment: the
// system's serial ports, or the line simulation's; standard input is read
// for "write -".
int runTavekCli(const QStringList& arguments, Console& console, const LinkEnvironment& environment,
                QIODevice& standardInput);
