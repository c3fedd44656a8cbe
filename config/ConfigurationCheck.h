#pragma once

#include "ConfigFile.h"

#include <QStringList>

// What of a configuration a file cannot hold, said the way the window shows
// it (an input's message box, a position of the grid) rather than as a place
// in the file. The window lets through what the file refuses: a "+" left
// alone in a cell, a message longer than 160 characters or a number with a
// blank read from the modem. Empty when the configuration can be saved.
//   "Position 3: "+" is a "+" without digits"
//   "Input 2, Single message: 167 characters long; a message holds at most 160"
QStringList unsavableParts(const ModemConfiguration& configuration);

// The phone-book positions whose text the modem's phone book cannot take as
// a number, as the one box that names them before a "Set" sends anything;
// empty when every position is free or holds a number.
QString unsendableNumbersText(const PhoneBook& phoneBook);
