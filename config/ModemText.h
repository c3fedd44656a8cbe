#pragma once

#include <QString>
#include <QStringView>

// The port writes every character as one byte of Latin-1. Text taken from
// the window goes through here on its way into a command line, so what the
// modem receives is decided in one place and can be checked before sending.

// Each character that Latin-1 lacks becomes one "?" (a character outside the
// Basic Multilingual Plane counts once, not once per UTF-16 half).
QString latin1Text(QStringView text);

// A control character: below 32, DEL (127), or the C1 controls (128 to 159).
// A line break or a Ctrl-Z inside a record would end the command line early
// or start one of the modem's own; DEL and the C1 controls are no text either.
bool isControlCharacter(QChar c);

// The same as latin1Text, and control characters are left out.
QString latin1TextWithoutControls(QStringView text);
