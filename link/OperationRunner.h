#pragma once

#include "AtExchange.h"

#include <QList>
#include <QString>
#include <QStringList>

class ModemConnection;
class OperationObserver;

// How an operation on the modem ended.
enum class OperationEnd {
    Completed,       // every step was sent (each may still have failed)
    PortUnavailable, // the port could not be opened; nothing was sent
    PortLost,        // the device went away midway; nothing more was sent
    Cancelled,       // the window was closed; nothing more was sent
};

// A step that was sent and judged: its command line and whether the modem
// confirmed it.
struct StepResult {
    QString command;
    bool confirmed = false;
};

struct OperationResult {
    OperationEnd end = OperationEnd::Completed;
    // The steps the modem did not confirm, by their number (from 1).
    QList<int> unconfirmed;
    // Every step judged, in order.
    QList<StepResult> steps;

    bool completed() const { return end == OperationEnd::Completed; }
};

// One command of an operation that writes to the modem, and what the status
// line says of it: text followed by "...OK" or "...Failed!" once its reply
// has been judged, and, where announced, text followed by "..." before.
struct Step {
    ExchangeSpec exchange;
    QString text;
    bool announced = false;
};

// An operation that writes to the modem, as a table: the status it opens
// with (none when empty) and its steps in order.
struct OperationPlan {
    QString openingText;
    QList<Step> steps;
};

// Waits longer than this after each judged reply before the next command.
inline constexpr int PauseAfterReplyMs = 200;

// Runs an operation: the port opened afresh on the connection's device, each
// step sent, judged, shown and followed by its pause, every step in turn
// also after a failed one, and "Modem Connected" at the end. When the port
// cannot be had or is lost, the operation stops at once, the port is let go
// and the user learns why; a closed window stops it silently.
OperationResult runOperation(ModemConnection& connection, OperationObserver& view,
                             const OperationPlan& plan);

// A query of the readers: nothing is read for the first wait; then the
// reply is collected, pumping events, until the modem's final result code
// has come or the time-out has passed. The port is closed afterwards.
struct QueryPlan {
    QString query;
    int firstWaitMs = 400;
    int timeoutMs = 600;
};

struct QueryReply {
    OperationEnd end = OperationEnd::Completed;
    QString text;          // the raw reply, also what came before the port was lost
    bool complete = false; // it ended with "OK": nothing of it is missing
};

// A port that cannot be opened gives an empty reply and no box (the reader's
// caller says what could not be read); one lost midway is told at once.
QueryReply runQuery(ModemConnection& connection, OperationObserver& view, const QueryPlan& plan);

// Items as a sentence lists them: "3", "3 and 7", "3, 7 and 12".
QString spokenList(const QStringList& items);
