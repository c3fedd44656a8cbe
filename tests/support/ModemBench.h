#pragma once

#include "ModemConnection.h"
#include "RecordingView.h"
#include "VirtualModem.h"

#include <QTest>

#include <algorithm>
#include <chrono>

// How the modem's bytes reach the program: byte by byte as they come off the
// line, or in a USB adapter's bursts; and how long the modem thinks before
// its result code.
struct Line {
    int usbLatencyMs = 0;
    int processingMs = 20;
};
Q_DECLARE_METATYPE(Line)

// A virtual modem on a 9600 bit/s line, linked as a "Com N" of its own in the
// test's ports folder, a connection to it as after a successful connection
// check, and a window that records. The test program gives itself a home
// folder of its own first.
struct ModemBench {
    VirtualModem modem;
    ModemConnection connection;
    RecordingView view{&connection};
    int com = 0;

    explicit ModemBench(Line line = {}) {
        modem.setUsbLatencyMs(line.usbLatencyMs);
        modem.setProcessingMs(line.processingMs);
        com = modem.linkAs();
        connection.setCommPortNumber(qint16(com));
        // As after a successful check: the device held open.
        if (const auto error = connection.attach(modem.devicePath()))
            qFatal("the virtual modem cannot be opened: %s", qPrintable(error->reason));
        connection.modemConnected = true;
    }
    // A modem that echoes or not, and a connection that knows it, as the
    // connection check would have learned.
    void setEcho(bool on) {
        modem.setEcho(on);
        connection.setModemEchoes(on);
    }

    // Whatever a test did, every line went out ended by one CR alone: a line
    // feed anywhere is counted here, and the test's cleanup() fails on it.
    ~ModemBench() {
        QByteArray expected;
        for (const auto& received : modem.received())
            expected += received.line + '\r';
        if (modem.receivedBytes() != expected) {
            qWarning("bytes on the wire: %s", modem.receivedBytes().toPercentEncoding().data());
            ++wireFaults;
        }
    }
    static inline int wireFaults = 0;

    QStringList lines(int waitFor = 0) const {
        modem.waitForLines(waitFor, 2000);
        QStringList out;
        for (const auto& received : modem.received())
            out << QString::fromLatin1(received.line);
        return out;
    }
    // Milliseconds on the line between the result code that ended line i-1's
    // answer and the first character of line i: the program's judgement and
    // its pause.
    double pauseBeforeMs(int i) const {
        const auto received = modem.received();
        const auto& before = received.at(i - 1);
        if (!before.resultAt)
            return -1;
        return std::chrono::duration<double, std::milli>(received.at(i).firstByteAt -
                                                         *before.resultAt)
            .count();
    }
    // The pauses before lines first+1 to last, on the modem's clock, hold
    // when every one is longer than 200 ms and they are shorter than 300 ms:
    // their median is, and a busy machine may hold one of them up, but not
    // for long.
    void verifyPauses(int first, int last) const {
        QList<double> pauses;
        for (int i = first + 1; i <= last; ++i)
            pauses << pauseBeforeMs(i);
        std::sort(pauses.begin(), pauses.end());
        QString seen =
            QStringLiteral("pauses before lines %1 to %2, sorted:").arg(first + 1).arg(last);
        for (double pause : pauses)
            seen += u' ' + QString::number(pause, 'f', 1);
        QVERIFY2(pauses.first() > 200, qPrintable(seen));
        QVERIFY2(pauses[pauses.size() / 2] < 300, qPrintable(seen));
        QVERIFY2(pauses.last() < 1000, qPrintable(seen));
    }

    // How long ago the current command was written, on the program's clock.
    double msSinceSend() const { return connection.sinceSendNs() / 1e6; }
};
