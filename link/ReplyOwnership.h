#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// How a V.250 modem ends its reply to a command: "OK", or one of the error
// codes "ERROR", "+CME ERROR: n" and "+CMS ERROR: n". Everything before it is
// the echo of the command or information text.
enum class FinalResult { Ok, Error };

// The final result code that a whole line is, if it is one.
std::optional<FinalResult> resultCodeOfLine(QStringView line);

// The first final result code that stands on a line of its own in the text:
// after the start or a line break, and ended by CR or LF (so that "OK"
// inside information text, or an "OK" whose line has not ended yet, does not
// count).
std::optional<FinalResult> finalResultCode(QStringView text);

// How many whole lines of the text are final result codes.
int resultCodeCount(QStringView text);

// Which part of what came after a command was written is that command's
// own reply. A modem answers its command lines one after the other, so:
// - when it echoes, everything before the command's echo (the command text
//   and its CR) belongs to earlier commands, and the first final result code
//   after the echo is the command's own;
// - when it does not echo, the first `owed` final result codes are those that
//   earlier commands still owe (their collections ended before the codes
//   came), and the next one is the command's own.
// A result code that belongs to an earlier command is late: it confirms and
// fails nothing.
struct OwnReply {
    bool started = false;              // the echo has come (always, without echo)
    bool echoed = false;               // the command's echo was found
    qsizetype start = 0;               // where the command's own part begins: after its echo
    QStringList lateCodes;             // result code lines of earlier commands, in order
    std::optional<FinalResult> result; // the command's own final result code
    QString resultLine;                // its line, as it came
    qsizetype resultAt = -1;           // where that line begins
    qsizetype end = -1;                // just after that line's line break

    // The information text between the echo and the own result code (or the
    // end of what came, while it has not come).
    QStringView information(QStringView received) const;
};

OwnReply ownReply(QStringView received, QStringView command, bool echoes, int owed);

// The text a command's reply is judged by: its echo and its own result
// code, and nothing that belongs to another command or to no command.
QString judgedText(QStringView command, const OwnReply& own);
