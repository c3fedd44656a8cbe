#pragma once

#include <QString>
#include <QStringView>

// The port writes every character as one byte of Latin-1. Text taken from
// the window goes through here on its way into a command line, so what the
// modem receives is decided in one place and can be checked before sending.

// Each character that Latin-1 lacks becomes one "?" (a character outside the
// Basic Multilingual Plane counts once, not once per UTF-16 half).
QString latin1Text(QStringView text);

// The same, and control characters (below 32) are left out: a line break or
// a Ctrl-Z inside a record would end the command line early or start one of
// the modem's own.
QString latin1TextWithoutControls(QStringView text);
