#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

class SerialPort;
class ModemView;

// When a collection may end before its time-out.
enum class CompletionRule {
    Length,   // go on while the reply holds fewer than 5 characters
    Draining, // go on while the port still reports characters waiting
    Marker,   // go on while the reply does not contain "OK"
};

struct ExchangeSpec {
    QString command;   // without the carriage return; the exchange adds it
    int timeoutMs = 0; // ends after the first pass with more than this elapsed
    CompletionRule rule = CompletionRule::Draining;
    bool pumpEvents = true;
    QStringList markers; // case-sensitive substrings that make it answered
};

enum class ExchangeOutcome { Answered, NotAnswered, PortFailed };

// Plain case-sensitive substring test of the reply markers.
bool replyHasMarker(const QString& reply, const QStringList& markers);

// Writes the command line, sets SendTime, empties ReplyBuffer. False when
// the port has been lost.
bool writeCommandLine(SerialPort& port, const QString& command);

// One collection into ReplyBuffer, timed from SendTime: each pass waits up to
// 10 ms for data, pumps events if asked, reads everything waiting, then tests
// the time-out and the completion rule. Always reads at least once.
// False when the port was lost.
bool collectReply(SerialPort& port, ModemView& view, const ExchangeSpec& exchange);

// How long a pass waits for data before it reads: up to 10 ms, clipped so
// that a silent collection ends just after its time-out (elapsed then is
// strictly greater than it); 0 once the time-out has passed.
int passWaitMs(qint64 elapsedNs, int timeoutMs);

// Write, collect, judge.
ExchangeOutcome runAtExchange(SerialPort& port, ModemView& view, const ExchangeSpec& exchange);

// Restarts SendTime and waits more than ms milliseconds, pumping events
// (the pause after a reply is 200 ms; the initial waits of the readers 400 ms).
void waitPumping(ModemView& view, int ms);
