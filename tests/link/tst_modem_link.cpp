// The modem link: which device "Com N" is, how a reply ends and is judged,
// and, through the real serial port to the virtual modem on a 9600 bit/s
// line, the connection check, the relay command, the factory defaults, their
// time-outs and pauses, and what the user is told when the port fails.
#include "AtExchange.h"
#include "ModemBench.h"
#include "ModemLink.h"
#include "OwnHome.h"
#include "PortErrors.h"
#include "PortNames.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <optional>

namespace {
const QString connected = "status: Modem Connected";
const QString relayStep = "status: Modem Connected, sending relay string";

// A time-out holds when the collection ends after it, and not much later.
void verifyTimeout(double ms, int timeoutMs) {
    QVERIFY2(ms > timeoutMs * 0.98 && ms < timeoutMs * 1.1,
             qPrintable(QString("%1 ms for a time-out of %2 ms").arg(ms).arg(timeoutMs)));
}

// How long after its command was written the first step's outcome was
// shown: its collection, timed on the program's own clock.
struct OutcomeClock {
    std::optional<double> ms;
    explicit OutcomeClock(ModemBench& bench) {
        bench.view.onStatus = [this, &bench](const QString& text) {
            if (!ms && (text.endsWith("...OK") || text.endsWith("...Failed!")))
                ms = bench.msSinceSend();
        };
    }
};
} // namespace

class ModemLinkTest : public QObject {
    Q_OBJECT

    OwnHome home;

private slots:
    void cleanup() { QCOMPARE(ModemBench::wireFaults, 0); }

    // Whose result code is it? What came after "AT+EGPHN=3" was written: the
    // command's own code is the first after its echo, or without echo the
    // first after the codes earlier commands still owe; the others are late
    // and judge nothing. "O" marks the own code, "E" an own error, "-" none
    // yet; the late codes follow.
    void aReplyBelongsToItsCommand_data() {
        QTest::addColumn<QString>("received");
        QTest::addColumn<bool>("echoes");
        QTest::addColumn<int>("owed");
        QTest::addColumn<QString>("verdict");
        const QString echo = "AT+EGPHN=3\r";
        QTest::newRow("echo, OK") << echo + "\r\nOK\r\n" << true << 0 << "O";
        QTest::newRow("echo ended by CR LF, ERROR") << echo + "\n\r\nERROR\r\n" << true << 0 << "E";
        QTest::newRow("an earlier OK before the echo") << "OK\r\n" + echo + "\r\nERROR\r\n"
                                                       << true << 0 << "E OK";
        QTest::newRow("an earlier OK, the echo still coming")
            << "\r\nOK\r\nAT+EGP" << true << 0 << "- OK";
        QTest::newRow("an OK whose line has not ended") << echo + "\r\nOK" << true << 0 << "-";
        QTest::newRow("stray lines between") << echo + "\r\nRING\r\n\r\n+CREG: 1\r\n\r\nOK\r\n"
                                             << true << 0 << "O";
        QTest::newRow("+CME ERROR") << echo + "\r\n+CME ERROR: 4\r\n" << true << 0 << "E";
        QTest::newRow("no echo, nothing owed") << "\r\nOK\r\n" << false << 0 << "O";
        QTest::newRow("no echo, one code owed") << "\r\nERROR\r\n\r\nOK\r\n"
                                                << false << 1 << "O ERROR";
        QTest::newRow("no echo, the owed code only") << "\r\nOK\r\n" << false << 1 << "- OK";
        QTest::newRow("OK inside information text") << echo + "\r\n+X: OK\r\n" << true << 0 << "-";
    }
    void aReplyBelongsToItsCommand() {
        QFETCH(QString, received);
        QFETCH(bool, echoes);
        QFETCH(int, owed);
        QFETCH(QString, verdict);
        const OwnReply own = ownReply(received, u"AT+EGPHN=3", echoes, owed);
        const QString mark = !own.result ? "-" : *own.result == FinalResult::Ok ? "O" : "E";
        QCOMPARE((QStringList{mark} + own.lateCodes).join(' '), verdict);
        // Judged by its own echo and code alone: a late OK confirms nothing.
        QCOMPARE(replyAnswered(judgedText(u"AT+EGPHN=3", own), {"AT", "OK"}),
                 mark == "O" || (mark == "-" && own.echoed));
    }

    // "Com N" is a link in the ports folder, even one whose device is not
    // there, or else the N-th listed port: USB adapters first, in natural order.
    void comPortIsALinkOrTheNthListedPort() {
        const QList<ListedPort> listed{{"ttyS10"},         {"ttyS2"},  {"ttyS1a"},
                                       {"ttyUSB10", true}, {"ttyS1"},  {"ttyACM0", true},
                                       {"ttyUSB9", true},  {"ttyX010"}};
        QCOMPARE(orderListedPorts(listed), (QStringList{"ttyACM0", "ttyUSB9", "ttyUSB10", "ttyS1",
                                                        "ttyS1a", "ttyS2", "ttyS10", "ttyX010"}));
        QVERIFY(QDir().mkpath(portsFolder()));
        QVERIFY(QFile::link("/dev/tavek-gone", portsFolder() + "/com2"));
        const QStringList expected{"", "/dev/ttyUSB0", "/dev/tavek-gone", "/dev/ttyS0", ""};
        for (int n = 0; n < expected.size(); ++n)
            QCOMPARE(deviceForComPort(n, {"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS0"}),
                     expected[n]);
    }

    // QSerialPort reports busy and denied alike: only its text tells them
    // apart. (A test cannot be denied a port where it runs as root.)
    void busyAndDeniedAreToldApart() {
        const auto failure = [](int code) {
            const QString text = QString::fromLocal8Bit(std::strerror(code));
            return portErrorMessage(classifyOpenFailure(QSerialPort::PermissionError, text, "/x"));
        };
        QCOMPARE(failure(EBUSY), "Modem already in use");
        QVERIFY(
            QRegularExpression("(?s)^Cannot open /x: .*dialout").match(failure(EACCES)).hasMatch());
        QCOMPARE(spokenList({"3", "7", "12"}), "3, 7 and 12");
    }

    // A reply ends with its final result code on a line of its own; an
    // error code makes it not answered, whatever the echo holds.
    void repliesEndAndAreJudged_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("result"); // -1 none yet, 0 OK, 1 an error
        QTest::addColumn<bool>("answered");
        QTest::newRow("echo, OK") << QString("AT&W\r\r\nOK\r\n") << 0 << true;
        QTest::newRow("OK without its line end yet") << QString("AT&W\r\r\nOK") << -1 << true;
        QTest::newRow("OK after a lone CR") << QString("\rOK\r") << 0 << true;
        QTest::newRow("echo and ERROR") << QString("AT&W\r\r\nERROR\r\n") << 1 << false;
        QTest::newRow("extended errors") << QString("\r\n+CME ERROR: 3\r\n") << 1 << false;
        QTest::newRow("SMS errors") << QString("\r\n+CMS ERROR: 500\r\n") << 1 << false;
        QTest::newRow("OK as a message") << QString("\r\n+EGINP: 1,\"C\",\"OK\"\r\n") << -1 << true;
        QTest::newRow("ok in small letters") << QString("\r\nok\r\n") << -1 << false;
        QTest::newRow("echo only") << QString("AT+WIOW=0,0\r") << -1 << true;
    }
    void repliesEndAndAreJudged() {
        QFETCH(QString, reply);
        QFETCH(int, result);
        QFETCH(bool, answered);
        const auto code = finalResultCode(reply);
        QCOMPARE(code ? int(*code) : -1, result);
        QCOMPARE(replyAnswered(reply, {"AT", "OK"}), answered);
    }

    // The check sends AT, and once more after a lone CR if nothing came. No
    // answer in two attempts of 1.5 s, or a port that cannot be had or is
    // lost, ends in "not connected" and says why.
    void connectionCheck_data() {
        QTest::addColumn<QString>("modem"); // what the modem, or its link, does
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("error"); // a pattern for the box; empty: connected
        const QString noAnswer =
            "Modem not connected\nNo answer to AT came from {device} \\(Com {com}\\)\\. Check:\n";
        // Which device "Com N" was looked for, and how to give an adapter a number.
        const QString notValid = "Serial port not valid\nCom {com} was looked for at /dev/tavek-"
                                 "none, and no such device is there\\.\nTo give your adapter a "
                                 "Com number, click \"Serial ports\" on the toolbar";
        QTest::newRow("echo and OK") << "" << QStringList{"AT"} << "";
        QTest::newRow("at counts") << "at" << QStringList{"AT"} << "";
        // The check goes by its markers alone: an echo counts, whatever
        // follows it, and however the bytes are cut in time.
        QTest::newRow("echo and ERROR in one write") << "error at once" << QStringList{"AT"} << "";
        QTest::newRow("echo and ERROR on the line") << "error" << QStringList{"AT"} << "";
        QTest::newRow("OK to the second AT only, after a lone CR")
            << "2nd attempt" << QStringList{"AT", "", "AT"} << "";
        QTest::newRow("silence: two attempts of 1.5 s")
            << "silent" << QStringList{"AT", "", "AT", ""} << noAnswer;
        QTest::newRow("missing device") << "/dev/tavek-none" << QStringList{} << notValid;
        QTest::newRow("pulled out at its AT")
            << "pulled out" << QStringList{"AT"}
            << "The serial port {device} was lost \\(was the adapter unplugged\\?\\)$";
    }
    void connectionCheck() {
        QFETCH(QString, modem);
        QFETCH(QStringList, lines);
        QFETCH(QString, error);
        ModemBench bench;
        bench.connection.disconnect(); // not connected yet
        const QString device = bench.modem.devicePath();
        bench.modem.setEcho(modem != "at" && modem != "silent");
        bench.modem.setAnswerOnlyAttempt(modem == "2nd attempt" ? 2 : 0);
        if (modem == "at" || modem == "silent")
            bench.modem.setReplyFor("AT", modem == "at" ? "\r\nat\r\n" : "");
        if (modem.startsWith("error"))
            bench.modem.setReplyFor("AT", "\r\nERROR\r\n");
        bench.modem.setInstant(modem == "error at once");
        if (modem == "pulled out")
            bench.modem.vanishAtLine(1);
        if (modem.startsWith("/dev/")) {
            QVERIFY(QFile::remove(bench.modem.linkPath()));
            QVERIFY(QFile::link(modem, bench.modem.linkPath()));
        }
        QElapsedTimer took;
        took.start();

        const bool connected = connectModem(bench.connection, bench.view);

        const bool success = error.isEmpty();
        QCOMPARE(connected, success);
        const QString box = bench.view.errors().value(0);
        const QStringList said =
            success ? QStringList{"status: Modem Connecting...", "status: Modem Connected"}
                    : QStringList{"status: Modem Connecting...", "error: " + box,
                                  "status: Modem Disconnected"};
        QCOMPARE(bench.view.events, said);
        error.replace("{device}", device).replace("{com}", QString::number(bench.com));
        QVERIFY2(QRegularExpression("^" + error).match(box).hasMatch(), qPrintable(box));
        QCOMPARE(bench.connection.modemConnected, success);
        QCOMPARE(bench.connection.port().isOpen(), success);
        QCOMPARE(bench.connection.connectedDevice(), success ? device : QString());
        QCOMPARE(bench.view.pumps, 0); // the window stays still during the check
        QCOMPARE(bench.lines(int(lines.size())), lines);
        if (modem == "silent") // two attempts that each wait their 1.5 s
            verifyTimeout(took.nsecsElapsed() / 1e6, 2 * 1500);
        else if (!success)
            QVERIFY(took.elapsed() < 3000); // at once, not after the time-outs
    }

    // The relay command, judged by its final result code, or after 1.5 s by
    // what came. (ERROR to it: the window's failure-flow test.)
    void relayCommand_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("on, echo and OK") << QString("ok");
        QTest::newRow("off, ok in small letters fails after 1.5 s") << QString("small");
    }
    void relayCommand() {
        QFETCH(QString, answer);
        const QString command = answer == "ok" ? RelayOnCommand : RelayOffCommand;
        ModemBench bench({16});
        bench.modem.setLowerCase(answer == "small");
        bench.setEcho(answer != "small"); // the echo alone would count
        OutcomeClock outcomeShown(bench);

        const OperationResult result = sendRelayString(bench.connection, bench.view, command);

        const bool confirmed = answer == "ok";
        QCOMPARE(bench.view.events,
                 (QStringList{relayStep + "...", relayStep + (confirmed ? "...OK" : "...Failed!"),
                              connected}));
        QCOMPARE(result.unconfirmed, confirmed ? QList<int>{} : QList<int>{1});
        QVERIFY(bench.connection.port().isOpen()); // held until the disconnect
        QCOMPARE(bench.lines(1), QStringList{command});
        if (answer == "small")
            verifyTimeout(*outcomeShown.ms, 1500);
        else
            QVERIFY(*outcomeShown.ms < 500);
    }

    // Each default is judged by its final result code, or after 2 s by what
    // came; a pause follows each judged reply.
    void factoryDefaults_data() {
        QTest::addColumn<int>("failing");          // the command the modem answers ERROR to
        QTest::addColumn<bool>("firstUnfinished"); // AT&F gets its echo and nothing more
        QTest::newRow("all answer") << 0 << false;
        QTest::newRow("the third fails, the rest go on") << 3 << false;
        QTest::newRow("only an echo to the first: 2 s, and the echo counts") << 0 << true;
    }
    void factoryDefaults() {
        QFETCH(int, failing);
        QFETCH(bool, firstUnfinished);
        ModemBench bench({32});
        if (failing)
            bench.modem.setErrorFor(factoryDefaultCommands()[failing - 1].toLatin1());
        if (firstUnfinished)
            bench.modem.setReplyFor("AT&F", "");
        OutcomeClock firstOutcome(bench);

        const OperationResult result = sendDefaultString(bench.connection, bench.view);

        QStringList expected{"status: Modem Connected, sending default string..."};
        for (int n = 1; n <= 5; ++n) {
            const QString step = "status: Modem Connected, sending default string no. %1%2";
            expected << step.arg(n).arg("...")
                     << step.arg(n).arg(n == failing ? "...Failed!" : "...OK");
        }
        QCOMPARE(bench.view.events, expected << connected);
        QCOMPARE(result.unconfirmed, failing ? QList<int>{failing} : QList<int>{});
        QVERIFY(bench.connection.port().isOpen()); // held until the disconnect
        QCOMPARE(bench.lines(5),
                 (QStringList{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"}));
        // The pause after each judged reply, on the modem's clock.
        bench.verifyPauses(firstUnfinished ? 1 : 0, 4);
        if (firstUnfinished)
            verifyTimeout(*firstOutcome.ms, 2000);
    }

    // The device the check found is held open until the disconnect. One that
    // went away ends the operation before anything is sent: the port is let
    // go, the user learns why, and nothing reaches the device that "Com N"
    // names now.
    void aDeviceGoneEndsTheOperation_data() {
        QTest::addColumn<bool>("relay"); // or the defaults
        QTest::addColumn<QString>("situation");
        QTest::newRow("relay: the modem unplugged, another linked as its Com N") << true << "gone";
        QTest::newRow("defaults: the port closed under the connection") << false << "closed";
    }
    void aDeviceGoneEndsTheOperation() {
        QFETCH(bool, relay);
        QFETCH(QString, situation);
        ModemBench bench;
        VirtualModem other;
        const QString link = bench.modem.linkPath();
        const QString device = bench.modem.devicePath();
        if (situation == "gone") {
            bench.modem.hangUp();
            QVERIFY(QFile::link(other.devicePath(), link));
        } else {
            bench.connection.port().close();
        }

        const OperationResult result =
            relay ? sendRelayString(bench.connection, bench.view, RelayOnCommand)
                  : sendDefaultString(bench.connection, bench.view);

        QCOMPARE(result.end, OperationEnd::PortLost);
        QCOMPARE(bench.view.errors().size(), 1);
        QVERIFY2(bench.view.errors()[0].contains(device), qPrintable(bench.view.errors()[0]));
        QVERIFY(!bench.connection.port().isOpen());
        QTest::qWait(100); // nothing comes later
        QVERIFY(bench.modem.received().empty() && other.received().empty());
    }
};

QTEST_GUILESS_MAIN(ModemLinkTest)
#include "tst_modem_link.moc"
