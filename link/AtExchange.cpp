#include "AtExchange.h"

#include "LinkState.h"
#include "ModemView.h"
#include "SerialPort.h"

#include <QThread>

#include <algorithm>

namespace {

constexpr int longestPassWaitMs = 10;
constexpr qint64 nsPerMs = 1'000'000;

bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

std::optional<FinalResult> resultOfLine(QStringView line) {
    if (line == u"OK")
        return FinalResult::Ok;
    if (line == u"ERROR" || line.startsWith(u"+CME ERROR:") || line.startsWith(u"+CMS ERROR:"))
        return FinalResult::Error;
    return std::nullopt;
}

bool collectionGoesOn(CompletionRule rule, const QString& reply) {
    switch (rule) {
    case CompletionRule::Length:
        return reply.size() < 5;
    case CompletionRule::FinalResult:
        return !finalResultCode(reply);
    }
    return false;
}

} // namespace

std::optional<FinalResult> finalResultCode(QStringView reply) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < reply.size(); ++i) {
        if (!isLineBreak(reply[i]))
            continue;
        if (const auto result = resultOfLine(reply.mid(start, i - start)))
            return result;
        start = i + 1;
    }
    return std::nullopt;
}

bool replyAnswered(const QString& reply, const QStringList& markers) {
    if (finalResultCode(reply) == FinalResult::Error)
        return false;
    return std::any_of(markers.begin(), markers.end(), [&](const QString& marker) {
        return reply.contains(marker, Qt::CaseSensitive);
    });
}

bool writeCommandLine(SerialPort& port, const QString& command) {
    LinkState& link = linkState();
    port.discardInput();
    const bool written = port.write(command + QChar(13));
    link.SendTime.start();
    link.ReplyBuffer.clear();
    return written;
}

int passWaitMs(qint64 elapsedNs, int timeoutMs) {
    const qint64 leftNs = qint64(timeoutMs) * nsPerMs - elapsedNs;
    if (leftNs < 0)
        return 0;
    return int(std::min<qint64>(longestPassWaitMs, leftNs / nsPerMs + 1));
}

CollectionEnd collectReply(SerialPort& port, ModemView& view, const ExchangeSpec& exchange) {
    LinkState& link = linkState();
    const qint64 timeoutNs = qint64(exchange.timeoutMs) * nsPerMs;
    for (;;) {
        if (view.cancelled())
            return CollectionEnd::Cancelled;
        // A port closed under us (by a handler run from pumpEvents) would
        // turn every wait into no wait at all: treat it as lost.
        if (!port.isOpen())
            return CollectionEnd::PortFailed;
        port.waitForData(passWaitMs(link.SendTime.nsecsElapsed(), exchange.timeoutMs));
        if (exchange.pumpEvents)
            view.pumpEvents();
        // What arrived before a device went away still counts.
        link.ReplyBuffer += port.readAll();
        if (port.failure())
            return CollectionEnd::PortFailed;
        if (link.SendTime.nsecsElapsed() > timeoutNs ||
            !collectionGoesOn(exchange.rule, link.ReplyBuffer))
            return CollectionEnd::Ended;
    }
}

ExchangeOutcome runAtExchange(SerialPort& port, ModemView& view, const ExchangeSpec& exchange) {
    if (view.cancelled())
        return ExchangeOutcome::Cancelled;
    if (!writeCommandLine(port, exchange.command))
        return ExchangeOutcome::PortFailed;
    switch (collectReply(port, view, exchange)) {
    case CollectionEnd::PortFailed:
        return ExchangeOutcome::PortFailed;
    case CollectionEnd::Cancelled:
        return ExchangeOutcome::Cancelled;
    case CollectionEnd::Ended:
        break;
    }
    return replyAnswered(linkState().ReplyBuffer, exchange.markers) ? ExchangeOutcome::Answered
                                                                    : ExchangeOutcome::NotAnswered;
}

bool waitPumping(ModemView& view, int ms) {
    LinkState& link = linkState();
    link.SendTime.start();
    // Pumps, then sleeps briefly so that the wait costs no CPU; the sleep is
    // clipped so the wait ends just after ms.
    while (link.SendTime.nsecsElapsed() <= qint64(ms) * nsPerMs) {
        view.pumpEvents();
        if (view.cancelled())
            return false;
        const int sleepMs = passWaitMs(link.SendTime.nsecsElapsed(), ms);
        if (sleepMs > 0)
            QThread::msleep(sleepMs);
    }
    return !view.cancelled();
}
