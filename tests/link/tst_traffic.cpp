// The traffic record: how a row reads, the rows a recorder keeps, and that
// the log file and the tavek.modem logging category get the very same rows.
#include "TrafficRecorder.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TrafficKind)

namespace {
QStringList capturedMessages;
void capture(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (QByteArray(context.category) == "tavek.modem")
        capturedMessages << message;
}
} // namespace

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

    // The file and the logging category get each row as the recorder keeps it.
    void fileAndCategoryGetTheSameRows() {
        QTemporaryDir folder;
        const QString path = folder.filePath("traffic.log");
        QFile stale(path); // a file given again is emptied
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("an earlier run\n");
        stale.close();
        QString reason;
        auto log = TrafficLogFile::open(path, &reason);
        QVERIFY2(log, qPrintable(reason));

        TrafficRecorder recorder;
        recorder.setLogFile(std::move(log));
        QLoggingCategory::setFilterRules("tavek.modem.debug=true");
        capturedMessages.clear();
        const QtMessageHandler before = qInstallMessageHandler(capture);
        recorder.sent("AT\r");
        recorder.received("\r\nOK\r\n\x1A");
        recorder.collectionEnded(ModemTraffic::CollectionEnd::ReplyComplete);
        qInstallMessageHandler(before);
        QLoggingCategory::setFilterRules("tavek.modem.debug=false");
        recorder.sent("ATI\r"); // the category is off again; the file goes on

        QStringList rows;
        for (const TrafficRow& row : recorder.rows())
            rows << trafficRowText(row);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), rows.join('\n') + '\n');
        QCOMPARE(capturedMessages, rows.mid(0, 3));
    }

    void unwritableLogSaysWhy() {
        QString reason;
        QVERIFY(!TrafficLogFile::open("/nonexistent-folder/traffic.log", &reason));
        QCOMPARE(reason, QStringLiteral("No such file or directory"));
    }
};

QTEST_GUILESS_MAIN(TrafficTest)
#include "tst_traffic.moc"
