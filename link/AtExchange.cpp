#include "AtExchange.h"

#include "ModemConnection.h"
#include "OperationObserver.h"

#include <algorithm>

namespace {

constexpr int longestPassWaitMs = 10;
constexpr qint64 nsPerMs = 1'000'000;

// Tells the watchers of the late result codes that came since they last heard.
void reportLateCodes(ModemConnection& connection, const OwnReply& own) {
    while (connection.lateCodesReported < own.lateCodes.size())
        connection.traffic().lateResultCode(own.lateCodes.at(connection.lateCodesReported++));
}

bool collectionGoesOn(CompletionRule rule, const ModemConnection& connection, const OwnReply& own) {
    switch (rule) {
    case CompletionRule::Length:
        return connection.replyBuffer.size() < 5;
    case CompletionRule::FinalResult:
        return !own.result;
    }
    return false;
}

} // namespace

bool replyAnswered(const QString& reply, const QStringList& markers) {
    if (finalResultCode(reply) == FinalResult::Error)
        return false;
    return std::any_of(markers.begin(), markers.end(), [&](const QString& marker) {
        return reply.contains(marker, Qt::CaseSensitive);
    });
}

QString commandLine(const QString& command) {
    return command + QChar(13);
}

bool writeCommandLine(ModemConnection& connection, const QString& command) {
    SerialPort& port = connection.port();
    // Result codes among what is thrown away were owed by earlier commands.
    const QString late = port.discardInput();
    if (!connection.modemEchoes())
        connection.setOwedResultCodes(connection.owedResultCodes() - resultCodeCount(late));
    const bool written = port.write(commandLine(command));
    connection.sendTime = connection.clock().nowNs();
    connection.replyBuffer.clear();
    connection.currentCommand = command;
    connection.lateCodesReported = 0;
    return written;
}

OwnReply currentOwnReply(const ModemConnection& connection) {
    return ownReply(connection.replyBuffer, connection.currentCommand, connection.modemEchoes(),
                    connection.owedResultCodes());
}

void settleResultCodes(ModemConnection& connection) {
    if (connection.modemEchoes())
        return;
    const OwnReply own = currentOwnReply(connection);
    connection.setOwedResultCodes(connection.owedResultCodes() - int(own.lateCodes.size()) +
                                  (own.result ? 0 : 1));
}

int passWaitMs(qint64 elapsedNs, int timeoutMs) {
    const qint64 leftNs = qint64(timeoutMs) * nsPerMs - elapsedNs;
    if (leftNs < 0)
        return 0;
    return int(std::min<qint64>(longestPassWaitMs, leftNs / nsPerMs + 1));
}

CollectionEnd collectReply(ModemConnection& connection, OperationObserver& view,
                           const ExchangeSpec& exchange) {
    SerialPort& port = connection.port();
    const qint64 timeoutNs = qint64(exchange.timeoutMs) * nsPerMs;
    OwnReply own = currentOwnReply(connection);
    for (;;) {
        if (view.cancelled())
            return CollectionEnd::Cancelled;
        // A port closed under us (by a handler run from pumpEvents) would
        // turn every wait into no wait at all: treat it as lost.
        if (!port.isOpen()) {
            connection.traffic().collectionEnded(ModemTraffic::CollectionEnd::PortLost);
            return CollectionEnd::PortFailed;
        }
        port.waitForData(passWaitMs(connection.sinceSendNs(), exchange.timeoutMs));
        if (exchange.pumpEvents)
            view.pumpEvents();
        // What arrived before a device went away still counts.
        const QString arrived = port.readAll();
        if (!arrived.isEmpty()) {
            connection.replyBuffer += arrived;
            own = currentOwnReply(connection);
            reportLateCodes(connection, own);
        }
        if (port.failure()) {
            connection.traffic().collectionEnded(ModemTraffic::CollectionEnd::PortLost);
            return CollectionEnd::PortFailed;
        }
        if (!collectionGoesOn(exchange.rule, connection, own)) {
            connection.traffic().collectionEnded(ModemTraffic::CollectionEnd::ReplyComplete);
            return CollectionEnd::Ended;
        }
        if (connection.sinceSendNs() > timeoutNs) {
            connection.traffic().collectionEnded(ModemTraffic::CollectionEnd::TimedOut);
            return CollectionEnd::Ended;
        }
    }
}

ExchangeOutcome runAtExchange(ModemConnection& connection, OperationObserver& view,
                              const ExchangeSpec& exchange) {
    // A close the user asked for meanwhile is taken before anything is sent.
    if (exchange.pumpEvents)
        view.pumpEvents();
    if (view.cancelled())
        return ExchangeOutcome::Cancelled;
    if (!writeCommandLine(connection, exchange.command))
        return ExchangeOutcome::PortFailed;
    switch (collectReply(connection, view, exchange)) {
    case CollectionEnd::PortFailed:
        return ExchangeOutcome::PortFailed;
    case CollectionEnd::Cancelled:
        return ExchangeOutcome::Cancelled;
    case CollectionEnd::Ended:
        break;
    }
    // Only the command's own echo and result code judge it: a late "OK"
    // confirms nothing, a late "ERROR" fails nothing, and a stray line ("RING",
    // "+CLIP: ...") is no answer.
    const OwnReply own = currentOwnReply(connection);
    settleResultCodes(connection);
    return replyAnswered(judgedText(exchange.command, own), exchange.markers)
               ? ExchangeOutcome::Answered
               : ExchangeOutcome::NotAnswered;
}

bool waitPumping(ModemConnection& connection, OperationObserver& view, int ms) {
    LinkClock& clock = connection.clock();
    const qint64 start = clock.nowNs();
    // Pumps, then sleeps briefly so that the wait costs no CPU; the sleep is
    // clipped so the wait ends just after ms.
    while (clock.nowNs() - start <= qint64(ms) * nsPerMs) {
        view.pumpEvents();
        if (view.cancelled())
            return false;
        const int sleepMs = passWaitMs(clock.nowNs() - start, ms);
        if (sleepMs > 0)
            clock.sleepMs(sleepMs);
    }
    return !view.cancelled();
}
