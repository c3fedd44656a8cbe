#pragma once

#include "ConfigFile.h"

#include <QStringList>

// What of a configuration a file cannot hold, said the way the window shows
// it (an input's message box, a position of the grid) rather than as a place
// in the file. The window lets through what the file refuses: a "+" typed
// in the middle of a number, a message longer than 50 characters read from
// the modem. Empty when the configuration can be saved.
//   "Position 3: "++39+1" holds something other than digits and one leading "+""
//   "Input 2, Single message: 57 characters long; a message holds at most 50"
QStringList unsavableParts(const ModemConfiguration& configuration);
