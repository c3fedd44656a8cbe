#include "StderrTraffic.h"

#include "Output.h"
#include "TrafficRows.h"

namespace {

QString stamp(qint64 ns) {
    return QStringLiteral("%1").arg(double(ns) / 1e9, 8, 'f', 3);
}

} // namespace

StderrTraffic::StderrTraffic() {
    clock_.start();
}

void StderrTraffic::print(const QString& text) {
    flushReceived();
    printErrorLine(stamp(clock_.nsecsElapsed()) + u' ' + text);
}

void StderrTraffic::flushReceived() {
    if (received_.isEmpty())
        return;
    // Stamped with the arrival of its first piece.
    printErrorLine(stamp(receivedSinceNs_) + QStringLiteral(" < ") + visibleControls(received_));
    received_.clear();
}

void StderrTraffic::portOpened(const QString& device) {
    print(QStringLiteral("opened ") + device);
}

void StderrTraffic::portClosed(const QString& device) {
    print(QStringLiteral("closed ") + device);
}

void StderrTraffic::portLost(const QString& device) {
    print(QStringLiteral("lost ") + device);
}

void StderrTraffic::sent(const QString& line) {
    print(QStringLiteral("> ") + visibleControls(line));
}

void StderrTraffic::received(const QString& text) {
    if (received_.isEmpty())
        receivedSinceNs_ = clock_.nsecsElapsed();
    received_ += text;
}

void StderrTraffic::discarded(int characters) {
    print(QStringLiteral("(%1 late characters thrown away)").arg(characters));
}

void StderrTraffic::collectionEnded(CollectionEnd why) {
    switch (why) {
    case CollectionEnd::ReplyComplete:
        flushReceived();
        break;
    case CollectionEnd::TimedOut:
        print(QStringLiteral("(no more: timed out)"));
        break;
    case CollectionEnd::PortLost:
        print(QStringLiteral("(no more: the port failed)"));
        break;
    }
}
