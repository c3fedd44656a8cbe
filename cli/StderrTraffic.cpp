#include "StderrTraffic.h"

#include "Output.h"

namespace {

QString visible(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c.unicode() < 32 || (c.unicode() >= 127 && c.unicode() <= 159))
            out += QStringLiteral("\\x%1").arg(int(c.unicode()), 2, 16, QChar(u'0'));
        else
            out += c;
    }
    return out;
}

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
    printErrorLine(stamp(receivedSinceNs_) + QStringLiteral(" < ") + visible(received_));
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
    print(QStringLiteral("> ") + visible(line));
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
