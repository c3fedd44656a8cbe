#pragma once

#include <QByteArray>
#include <QString>

// Lines for the user: results on standard output, progress and errors on
// standard error (standard output may be carrying a configuration file).
void printLine(const QString& text);
void printErrorLine(const QString& text);
// Bytes exactly as given, on standard output; false when they did not all
// get there (a full disk behind a redirection, say), with errno set.
bool printBytes(const QByteArray& bytes);
