#pragma once

#include <QElapsedTimer>
#include <QThread>
#include <QtGlobal>

// The clock the modem link times its waits with: monotonic nanoseconds (so
// that midnight or a changed system time never matters) and a short sleep.
// The program runs on the system's; a test of the timing rules may give one
// of its own.
class LinkClock {
public:
    virtual ~LinkClock() = default;
    virtual qint64 nowNs() const = 0;
    virtual void sleepMs(int ms) = 0;
};

class SystemClock final : public LinkClock {
public:
    SystemClock() { started_.start(); }
    qint64 nowNs() const override { return started_.nsecsElapsed(); }
    void sleepMs(int ms) override { QThread::msleep(ulong(ms)); }

private:
    QElapsedTimer started_;
};
