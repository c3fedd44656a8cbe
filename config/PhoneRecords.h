#pragma once

#include <QString>

// The "AT+EGPHN=" command that writes one phone-book position (1 to 20),
// without its carriage return. A free position is the bare command with the
// position, which empties it in the modem; a number goes out as typed, in
// double quotes, with the number type 128. It must be one the line carries
// (ModemText.h).
QString phoneBookCommand(int position, const QString& number);
