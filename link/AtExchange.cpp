#include "AtExchange.h"

#include "LinkState.h"
#include "ModemView.h"
#include "SerialPort.h"

#include <QThread>

#include <algorithm>

namespace {

constexpr int longestPassWaitMs = 10;
constexpr qint64 nsPerMs = 1'000'000;

bool collectionGoesOn(CompletionRule rule, SerialPort& port, const QString& reply) {
    switch (rule) {
    case CompletionRule::Length:
        return reply.size() < 5;
    case CompletionRule::Draining:
        return port.charactersWaiting() != 0;
    case CompletionRule::Marker:
        return !reply.contains(QLatin1String("OK"));
    }
    return false;
}

} // namespace

bool replyHasMarker(const QString& reply, const QStringList& markers) {
    return std::any_of(markers.begin(), markers.end(), [&](const QString& marker) {
        return reply.contains(marker, Qt::CaseSensitive);
    });
}

bool writeCommandLine(SerialPort& port, const QString& command) {
    LinkState& link = linkState();
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

bool collectReply(SerialPort& port, ModemView& view, const ExchangeSpec& exchange) {
    LinkState& link = linkState();
    const qint64 timeoutNs = qint64(exchange.timeoutMs) * nsPerMs;
    for (;;) {
        // A port closed under us (by a handler run from pumpEvents) would
        // turn every wait into no wait at all: treat it as lost.
        if (!port.isOpen() || port.failure())
            return false;
        port.waitForData(passWaitMs(link.SendTime.nsecsElapsed(), exchange.timeoutMs));
        if (exchange.pumpEvents)
            view.pumpEvents();
        link.ReplyBuffer += port.readAll();
        const bool goesOn = link.SendTime.nsecsElapsed() <= timeoutNs &&
                            collectionGoesOn(exchange.rule, port, link.ReplyBuffer);
        // The read or the draining rule's poll may have found the port gone.
        if (port.failure())
            return false;
        if (!goesOn)
            return true;
    }
}

ExchangeOutcome runAtExchange(SerialPort& port, ModemView& view, const ExchangeSpec& exchange) {
    if (!writeCommandLine(port, exchange.command) || !collectReply(port, view, exchange))
        return ExchangeOutcome::PortFailed;
    return replyHasMarker(linkState().ReplyBuffer, exchange.markers) ? ExchangeOutcome::Answered
                                                                     : ExchangeOutcome::NotAnswered;
}

void waitPumping(ModemView& view, int ms) {
    LinkState& link = linkState();
    link.SendTime.start();
    // Pumps, then sleeps briefly so that the wait costs no CPU; the sleep is
    // clipped so the wait ends just after ms.
    while (link.SendTime.nsecsElapsed() <= qint64(ms) * nsPerMs) {
        view.pumpEvents();
        const int sleepMs = passWaitMs(link.SendTime.nsecsElapsed(), ms);
        if (sleepMs > 0)
            QThread::msleep(sleepMs);
    }
}
