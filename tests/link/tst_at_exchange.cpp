// The AT exchange through the real serial port to the virtual modem.
#include "AtExchange.h"
#include "ModemOnPort.h"
#include "RecordingView.h"
#include "SerialPort.h"

#include <QThread>
#include <QtTest>

// A reply to "ATX", how it comes (delayed, in pieces 40 ms apart) and how
// the collection must end.
struct Reply {
    CompletionRule rule;
    bool echo;
    QByteArray bytes;
    int delayMs, chunkBytes;
    QByteArray collected;
    bool timedOut, answered;
};
Q_DECLARE_METATYPE(Reply)

class AtExchangeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModemOnPort> modem;
    std::unique_ptr<SerialPort> port;
    RecordingView view;
    const QStringList markers{"AT", "OK"};

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        modem = std::make_unique<ModemOnPort>();
        port = std::make_unique<SerialPort>();
        view = RecordingView();
        port->setPortNumber(1);
        QVERIFY(!port->open());
    }
    void cleanup() {
        port.reset();
        modem.reset();
    }

    void completionRules_data() {
        QTest::addColumn<Reply>("reply");
        using R = CompletionRule;
        const QByteArray ok = "\r\nOK\r\n";
        const auto row = [](const char* name, Reply reply) { QTest::newRow(name) << reply; };
        row("length: 4 go on", {R::Length, false, "OK\r\n", 0, 0, "OK\r\n", true, true});
        row("length: 5 end", {R::Length, false, "OK\r\nX", 0, 0, "OK\r\nX", false, true});
        row("length: 5 in pieces", {R::Length, false, "OK\r\nXYZ", 0, 2, "OK\r\nXY", false, true});
        row("draining: prompt", {R::Draining, true, ok, 0, 0, "ATX\r" + ok, false, true});
        row("draining: 100 ms late", {R::Draining, true, ok, 100, 0, "", false, false});
        row("marker: OK in pieces", {R::Marker, false, ok, 0, 1, "\r\nOK", false, true});
        row("marker: ok fails", {R::Marker, false, "\r\nok\r\n", 0, 0, "\r\nok\r\n", true, false});
        row("marker: echo only counts", {R::Marker, true, "", 0, 0, "ATX\r", true, true});
        row("marker: silence", {R::Marker, false, "", 0, 0, "", true, false});
    }
    void completionRules() {
        QFETCH(Reply, reply);
        modem->modem.setEcho(reply.echo);
        modem->modem.setReplyFor("ATX", reply.bytes);
        modem->modem.setReplyDelayMs(reply.delayMs);
        modem->modem.setChunks(reply.chunkBytes, 40);

        const auto outcome = runAtExchange(*port, view, {"ATX", 400, reply.rule, true, markers});

        QCOMPARE(linkState().ReplyBuffer, QString::fromLatin1(reply.collected));
        QCOMPARE(outcome,
                 reply.answered ? ExchangeOutcome::Answered : ExchangeOutcome::NotAnswered);
        QCOMPARE(linkState().SendTime.nsecsElapsed() > 400'000'000, reply.timedOut);
        QCOMPARE(modem->lines(), QStringList{"ATX"});
    }

    void readsOnceEvenPastTheTimeout() {
        QVERIFY(writeCommandLine(*port, "AT"));
        QTRY_COMPARE(port->charactersWaiting(), 9); // "AT\r\r\nOK\r\n"
        linkState().SendTime.start();
        QThread::msleep(5);
        QVERIFY(collectReply(*port, view, {"AT", 0, CompletionRule::Marker, false, markers}));
        QCOMPARE(linkState().ReplyBuffer, "AT\r\r\nOK\r\n");
        QCOMPARE(view.pumps, 0);
    }

    void textIsLatin1BothWays() {
        modem->modem.setEcho(false);
        modem->modem.setReplyFor("AT\xE9", "\xB0OK\xFF");
        QCOMPARE(
            runAtExchange(*port, view, {"AT\u00E9", 400, CompletionRule::Marker, true, markers}),
            ExchangeOutcome::Answered);
        QCOMPARE(modem->lines(), QStringList{"AT\u00E9"});
        QTRY_COMPARE(linkState().ReplyBuffer + port->readAll(), "\u00B0OK\u00FF");
    }
};

QTEST_GUILESS_MAIN(AtExchangeTest)
#include "tst_at_exchange.moc"
