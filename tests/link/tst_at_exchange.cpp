// The AT exchange through the real serial port to the virtual modem.
#include "AtExchange.h"
#include "LinkState.h"
#include "ModemOnPort.h"
#include "RecordingView.h"
#include "SerialPort.h"

#include <QThread>
#include <QtTest>

namespace {
const QByteArray command = "ATX"; // the modem answers it only as each row says
const QStringList relayMarkers{"AT", "OK"};
} // namespace

class AtExchangeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModemOnPort> modem;
    std::unique_ptr<SerialPort> port;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        modem = std::make_unique<ModemOnPort>(1);
        port = std::make_unique<SerialPort>();
        port->setPortNumber(1);
        const auto error = port->open();
        QVERIFY2(!error, error ? qPrintable(error->reason) : "");
    }
    void cleanup() {
        port.reset();
        modem.reset();
    }

    void passWaitIsClippedToTheTimeout_data() {
        QTest::addColumn<qint64>("elapsedNs");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("waitMs");
        QTest::newRow("start") << qint64(0) << 1500 << 10;
        QTest::newRow("5.5 ms left") << qint64(1494'500'000) << 1500 << 6;
        QTest::newRow("exactly at the time-out") << qint64(1500'000'000) << 1500 << 1;
        QTest::newRow("just past it") << qint64(1500'000'001) << 1500 << 0;
        QTest::newRow("time-out 0, at once") << qint64(0) << 0 << 1;
    }
    void passWaitIsClippedToTheTimeout() {
        QFETCH(qint64, elapsedNs);
        QFETCH(int, timeoutMs);
        QFETCH(int, waitMs);
        QCOMPARE(passWaitMs(elapsedNs, timeoutMs), waitMs);
    }

    void completionRules_data() {
        QTest::addColumn<int>("rule");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("chunkBytes");
        QTest::addColumn<QString>("collected");
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<bool>("answered");
        const int length = int(CompletionRule::Length);
        const int draining = int(CompletionRule::Draining);
        const int marker = int(CompletionRule::Marker);
        QTest::newRow("length: 4 characters wait for the time-out")
            << length << false << QByteArray("OK\r\n") << 0 << 0 << "OK\r\n"
            << true << true;
        QTest::newRow("length: 5 characters end it")
            << length << false << QByteArray("OK\r\nX") << 0 << 0 << "OK\r\nX" << false << true;
        QTest::newRow("length: 5 characters in pieces")
            << length << false << QByteArray("OK\r\nXYZ") << 0 << 2 << "OK\r\nXY" << false << true;
        QTest::newRow("draining: reads a reply that is there at once")
            << draining << true << QByteArray("\r\nOK\r\n") << 0 << 0 << "ATX\r\r\nOK\r\n"
            << false << true;
        QTest::newRow("draining: a reply 100 ms late is not waited for")
            << draining << true << QByteArray("\r\nOK\r\n") << 100 << 0 << "" << false << false;
        QTest::newRow("marker: OK in pieces")
            << marker << false << QByteArray("\r\nOK\r\n") << 0 << 1 << "\r\nOK" << false << true;
        QTest::newRow("marker: ok in small letters fails")
            << marker << false << QByteArray("\r\nok\r\n") << 0 << 0 << "\r\nok\r\n"
            << true << false;
        QTest::newRow("marker: an echo without OK still counts")
            << marker << true << QByteArray() << 0 << 0 << "ATX\r" << true << true;
        QTest::newRow("marker: silence")
            << marker << false << QByteArray() << 0 << 0 << "" << true << false;
    }
    void completionRules() {
        QFETCH(int, rule);
        QFETCH(bool, echo);
        QFETCH(QByteArray, reply);
        QFETCH(int, delayMs);
        QFETCH(int, chunkBytes);
        QFETCH(QString, collected);
        QFETCH(bool, timedOut);
        QFETCH(bool, answered);
        modem->modem->setEcho(echo);
        modem->modem->setReplyFor(command, reply);
        modem->modem->setReplyDelayMs(delayMs);
        modem->modem->setChunks(chunkBytes, 40);

        const int timeoutMs = 400;
        const bool pump = CompletionRule(rule) != CompletionRule::Length;
        RecordingView view;
        const ExchangeOutcome outcome = runAtExchange(
            *port, view,
            {QString::fromLatin1(command), timeoutMs, CompletionRule(rule), pump, relayMarkers});
        const qint64 elapsedNs = linkState().SendTime.nsecsElapsed();

        QCOMPARE(linkState().ReplyBuffer, collected);
        QCOMPARE(outcome, answered ? ExchangeOutcome::Answered : ExchangeOutcome::NotAnswered);
        if (timedOut)
            QVERIFY2(elapsedNs > timeoutMs * 1'000'000LL, qPrintable(QString::number(elapsedNs)));
        else
            QVERIFY2(elapsedNs < timeoutMs * 1'000'000LL, qPrintable(QString::number(elapsedNs)));
        QCOMPARE(view.pumps > 0, pump);
        QCOMPARE(modem->lines(), QStringList{QString::fromLatin1(command)});
    }

    void readsOnceEvenPastTheTimeout() {
        QVERIFY(writeCommandLine(*port, "AT"));
        QTRY_COMPARE(port->charactersWaiting(), 9); // "AT\r\r\nOK\r\n"
        linkState().SendTime.start();
        QThread::msleep(5);
        RecordingView view;
        QVERIFY(collectReply(*port, view, {"AT", 0, CompletionRule::Marker, false, relayMarkers}));
        QCOMPARE(linkState().ReplyBuffer, QString("AT\r\r\nOK\r\n"));
    }

    void textIsLatin1BothWays() {
        modem->modem->setEcho(false);
        modem->modem->setReplyFor("AT\xE9", "\xB0OK\xFF");
        RecordingView view;
        const auto outcome = runAtExchange(
            *port, view, {QString("AT\u00E9"), 400, CompletionRule::Marker, true, relayMarkers});
        QCOMPARE(outcome, ExchangeOutcome::Answered);
        QVERIFY(modem->modem->waitForLines(1, 1000));
        QCOMPARE(modem->modem->received().front().line, QByteArray("AT\xE9"));
        QTRY_COMPARE(linkState().ReplyBuffer + port->readAll(), QString("\u00B0OK\u00FF"));
    }

    void portLostMidwayEndsTheExchange() {
        modem->modem->hangUpAfterBytes(4); // the echo, then the modem is gone
        RecordingView view;
        const auto outcome =
            runAtExchange(*port, view, {"AT", 2000, CompletionRule::Marker, true, relayMarkers});
        QCOMPARE(outcome, ExchangeOutcome::PortFailed);
        QVERIFY(linkState().SendTime.elapsed() < 2000);
        QVERIFY(port->failure());
        QVERIFY(port->failure()->lost);
        QVERIFY(!port->device().isEmpty());
        QCOMPARE(port->failure()->device, port->device());
        QVERIFY(!port->write("AT\r"));
        port->close();
        QVERIFY(!port->isOpen());
    }
};

QTEST_GUILESS_MAIN(AtExchangeTest)
#include "tst_at_exchange.moc"
