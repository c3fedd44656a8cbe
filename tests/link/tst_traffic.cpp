// The traffic record: how a row reads, and the rows a recorder keeps. (The
// window, the log file and the logging category are tested together with
// the window, through a whole connect.)
#include "TrafficRecorder.h"

#include <QtTest>

Q_DECLARE_METATYPE(TrafficKind)

class TrafficTest : public QObject {
    Q_OBJECT

private slots:
    void rowReads_data() {
        QTest::addColumn<TrafficKind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, TrafficKind kind, const QString& text,
                            const QString& shown) { QTest::newRow(name) << kind << text << shown; };
        row("a command line", TrafficKind::Sent, "AT+WIOW=0,0\r", "→ AT+WIOW=0,0<CR>");
        row("a reply's end", TrafficKind::Received, "\r\nOK\r\n", "← <CR><LF>OK<CR><LF>");
        row("a piece of a reply", TrafficKind::Received, "+EGP", "← +EGP");
        row("other controls by code", TrafficKind::Received, QString("\x1A\x1B\t") + QChar(0),
            "← <0x1A><0x1B><0x09><0x00>");
        row("DEL and C1 controls", TrafficKind::Received, QString("a") + QChar(0x7f) + QChar(0x85),
            "← a<0x7F><0x85>");
        row("Latin-1 letters stay", TrafficKind::Received, QString("caf") + QChar(0xe9) + "<CR>",
            "← café<CR>");
        row("a port event", TrafficKind::Port, "port opened: /dev/ttyUSB0",
            "· port opened: /dev/ttyUSB0");
        row("a collection's end", TrafficKind::CollectionEnd, "end of reply: time-out",
            "· end of reply: time-out");
    }
    void rowReads() {
        QFETCH(TrafficKind, kind);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(trafficRowText({QTime(9, 5, 7, 42), kind, text}), "09:05:07.042 " + shown);
    }

    // The rows, in order, as each watcher event makes them.
    void eventsBecomeRows() {
        TrafficRecorder recorder;
        recorder.portOpened("/dev/pts/3");
        recorder.sent("AT\r");
        recorder.received("AT\r\r\n");
        recorder.collectionEnded(ModemTraffic::CollectionEnd::ReplyComplete);
        recorder.discarded(4);
        recorder.collectionEnded(ModemTraffic::CollectionEnd::TimedOut);
        recorder.portLost("/dev/pts/3");
        recorder.collectionEnded(ModemTraffic::CollectionEnd::PortLost);
        recorder.portClosed("/dev/pts/3");
        QStringList rows;
        for (const TrafficRow& row : recorder.rows())
            rows << trafficRowText(row).mid(13);
        QCOMPARE(rows, (QStringList{"· port opened: /dev/pts/3", "→ AT<CR>", "← AT<CR><CR><LF>",
                                    "· end of reply: complete", "· 4 late characters thrown away",
                                    "· end of reply: time-out", "· port lost: /dev/pts/3",
                                    "· end of reply: port lost", "· port closed: /dev/pts/3"}));
    }

    // The last rows are kept, numbered on through the dropping and a clear.
    void keepsTheLastRows() {
        TrafficRecorder recorder(3);
        int told = 0;
        recorder.setChangeListener([&] { ++told; });
        for (int i = 0; i < 5; ++i)
            recorder.sent(QString::number(i));
        QCOMPARE(told, 5);
        QCOMPARE(recorder.rows().size(), 3u);
        QCOMPARE(recorder.rows().front().text, "2");
        QCOMPARE(recorder.firstNumber(), 2);
        QCOMPARE(recorder.endNumber(), 5);
        recorder.clear();
        QCOMPARE(told, 6);
        QVERIFY(recorder.rows().empty());
        QCOMPARE(recorder.firstNumber(), 5);
        recorder.sent("5");
        QCOMPARE(recorder.firstNumber(), 5);
        QCOMPARE(recorder.rows().front().text, "5");
        QCOMPARE(TrafficRecorder().maxRows(), 10000);
    }
};

QTEST_GUILESS_MAIN(TrafficTest)
#include "tst_traffic.moc"
