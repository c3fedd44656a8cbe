#pragma once

#include "ModemTraffic.h"

#include <QElapsedTimer>
#include <QString>

// What crosses the line, on standard error for --verbose: one line per event,
// stamped with the seconds since the command started; ">" what was sent, "<"
// what came back. A reply arrives in pieces (byte by byte on a real line);
// its pieces are gathered into one line, printed when its collection ends or
// anything else happens. Control characters show as in the traffic window:
// <CR>, <LF>, <0x1A>.
class StderrTraffic final : public ModemTraffic {
public:
    StderrTraffic();

    void portOpened(const QString& device) override;
    void portClosed(const QString& device) override;
    void portLost(const QString& device) override;
    void sent(const QString& line) override;
    void received(const QString& text) override;
    void discarded(int characters) override;
    void collectionEnded(CollectionEnd why) override;

private:
    void print(const QString& text);
    void flushReceived();

    QElapsedTimer clock_;
    QString received_;
    qint64 receivedSinceNs_ = 0;
};
