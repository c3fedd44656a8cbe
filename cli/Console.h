#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <cstdio>

// Where tavek-cli speaks: results on standard output, progress and errors on
// standard error (standard output may be carrying a configuration file).
// The program speaks to the process's streams; a test or the line
// simulation gives streams of its own.
class Console {
public:
    Console(std::FILE* out = stdout, std::FILE* err = stderr) : out_(out), err_(err) {}

    // A result line; nothing with --quiet.
    void line(const QString& text);
    // An error or a progress line, always (progress only when asked for).
    void error(const QString& text);
    // Bytes exactly as given (a configuration file). False when they could
    // not all be written.
    bool bytes(const QByteArray& bytes);
    // One JSON object on a line of its own (--json), also with --quiet.
    void json(const QJsonObject& object);

    bool quiet = false;

private:
    std::FILE* out_;
    std::FILE* err_;
};
