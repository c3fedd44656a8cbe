// The traffic record: how a row reads, and the rows a recorder keeps. (The
// window, the log file and the logging category are tested together with
// the window, through a whole connect.)
#include "TrafficRecorder.h"

#include <QtTest>

class TrafficTest : public QObject {
    Q_OBJECT

private slots:
    // The rows, in order, as each watcher event makes them: the line ends and
    // other controls by name or code (DEL and C1 too), Latin-1 letters as they
    // are, and the time of each row to the millisecond.
    void eventsBecomeRows() {
        TrafficRecorder recorder;
        recorder.portOpened("/dev/pts/3");
        recorder.sent("AT\r");
        recorder.received(QString("AT\r\r\n\x1A\x1B\t") + QChar(0) + QChar(0x7f) + QChar(0x85) +
                          "caf" + QChar(0xe9));
        recorder.collectionEnded(ModemTraffic::CollectionEnd::ReplyComplete);
        recorder.discarded(4);
        recorder.collectionEnded(ModemTraffic::CollectionEnd::TimedOut);
        recorder.portLost("/dev/pts/3");
        recorder.collectionEnded(ModemTraffic::CollectionEnd::PortLost);
        recorder.portClosed("/dev/pts/3");
        QStringList rows;
        for (const TrafficRow& row : recorder.rows())
            rows << trafficRowText(row).mid(13);
        QCOMPARE(rows, (QStringList{"· port opened: /dev/pts/3", "→ AT<CR>",
                                    "← AT<CR><CR><LF><0x1A><0x1B><0x09><0x00><0x7F><0x85>café",
                                    "· end of reply: complete", "· 4 late characters thrown away",
                                    "· end of reply: time-out", "· port lost: /dev/pts/3",
                                    "· end of reply: port lost", "· port closed: /dev/pts/3"}));
        QCOMPARE(trafficRowText({QTime(9, 5, 7, 42), TrafficKind::Sent, "AT\r"}),
                 "09:05:07.042 → AT<CR>");
    }

    // The last rows are kept, numbered on through the dropping and a clear;
    // the listener is told of every change.
    void keepsTheLastRows() {
        TrafficRecorder recorder(3);
        int told = 0;
        recorder.setChangeListener([&] { ++told; });
        for (int i = 0; i < 5; ++i)
            recorder.sent(QString::number(i));
        QCOMPARE(recorder.rows().front().text, "2");
        QCOMPARE(recorder.firstNumber(), 2);
        QCOMPARE(recorder.endNumber(), 5);
        recorder.clear();
        recorder.sent("5");
        QCOMPARE(told, 7);
        QCOMPARE(recorder.firstNumber(), 5);
    }
};

QTEST_GUILESS_MAIN(TrafficTest)
#include "tst_traffic.moc"
