#pragma once

#include "ReplyOwnership.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

class ModemConnection;
class OperationObserver;

// When a collection may end before its time-out.
enum class CompletionRule {
    Length,      // go on while the reply holds fewer than 5 characters
    FinalResult, // go on until the command's own final result code has come
};

// One AT exchange: write a command line, collect the reply until the
// time-out or the completion rule, judge it by its markers.
struct ExchangeSpec {
    QString command;   // without the carriage return; the exchange adds it
    int timeoutMs = 0; // ends after the first pass with more than this elapsed
    CompletionRule rule = CompletionRule::FinalResult;
    bool pumpEvents = true;
    QStringList markers; // case-sensitive substrings that make it answered
};

enum class ExchangeOutcome { Answered, NotAnswered, PortFailed, Cancelled };

// The judgement of a reply: an error result code makes it not answered;
// otherwise it is answered when it holds one of the markers (a plain
// case-sensitive substring test; the echo of a command holds "AT").
bool replyAnswered(const QString& reply, const QStringList& markers);

// The line every command goes out as: its text and one carriage return.
QString commandLine(const QString& command);

// Writes the command line, sets sendTime, empties replyBuffer. Whatever was
// still waiting belongs to an earlier command and is thrown away first. False
// when the port has been lost.
bool writeCommandLine(ModemConnection& connection, const QString& command);

enum class CollectionEnd { Ended, PortFailed, Cancelled };

// One collection into replyBuffer, timed from sendTime: each pass waits up to
// 10 ms for data, pumps events if asked, reads everything waiting, then tests
// the time-out and the completion rule. Always reads at least once. Result
// codes that belong to earlier commands are reported as late as they come.
CollectionEnd collectReply(ModemConnection& connection, OperationObserver& view,
                           const ExchangeSpec& exchange);

// The current command's own reply in replyBuffer, as far as it has come.
OwnReply currentOwnReply(const ModemConnection& connection);

// Ends the current command's exchange: without echo, the codes it took as
// late are paid, and a command whose own code has not come owes one.
void settleResultCodes(ModemConnection& connection);

// How long a pass waits for data before it reads: up to 10 ms, clipped so
// that a silent collection ends just after its time-out (elapsed then is
// strictly greater than it); 0 once the time-out has passed.
int passWaitMs(qint64 elapsedNs, int timeoutMs);

// Write, collect, judge the command's own reply.
ExchangeOutcome runAtExchange(ModemConnection& connection, OperationObserver& view,
                              const ExchangeSpec& exchange);

// Waits more than ms milliseconds, pumping events (the pause after a reply
// is 200 ms; the first waits of the readers 400 ms). False when the user
// closed the window meanwhile.
bool waitPumping(ModemConnection& connection, OperationObserver& view, int ms);
