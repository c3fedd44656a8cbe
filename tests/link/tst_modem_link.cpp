// The modem link: which device "Com N" is, how a reply ends and is judged,
// and, through the real serial port to the virtual modem on a 9600 bit/s
// line, the connection check, the relay command, the factory defaults, their
// time-outs and pauses, and what the user is told when the port fails.
#include "AtExchange.h"
#include "CommandRun.h"
#include "ModemBench.h"
#include "ModemLink.h"
#include "PortErrors.h"
#include "PortNames.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimeZone>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString connecting = "status: Modem Connecting...", connected = "status: Modem Connected",
              disconnected = "status: Modem Disconnected";
const QStringList markers{"AT", "OK"};
const QString relayStep = "status: Modem Connected, sending relay string";

// A time-out holds when the collection ends after it, and not much later.
void verifyTimeout(double measuredMs, int timeoutMs) {
    QVERIFY2(
        measuredMs > timeoutMs * 0.98 && measuredMs < timeoutMs * 1.1,
        qPrintable(QStringLiteral("%1 ms for a time-out of %2 ms").arg(measuredMs).arg(timeoutMs)));
}

// How long after its command was written the first step's outcome was
// shown: its collection, timed on the program's own clock.
struct OutcomeClock {
    std::optional<double> ms;
    void watch(ModemBench& bench) {
        bench.view.onStatus = [this, &bench](const QString& text) {
            if (!ms && (text.endsWith("...OK") || text.endsWith("...Failed!")))
                ms = bench.msSinceSend();
        };
    }
};
} // namespace

// How the modem answers "AT", and what the check must end with.
struct CheckRow {
    bool echo;
    int answerOnlyAttempt;
    QByteArray reply; // in place of the normal one; null: the normal one
    QStringList lines;
    bool success;
};
// An operation on a port that cannot be had: how it fails, what the user is told.
enum Operation { Connect, Relay, Defaults };
struct FailureRow {
    Operation operation;
    QString situation;
    QString error; // a pattern for the box's text
    QStringList lines;
    OperationEnd end;
};
Q_DECLARE_METATYPE(CheckRow)
Q_DECLARE_METATYPE(FailureRow)

class ModemLinkTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;

private slots:
    // A home of its own: the test mode's ports folder lies under it, so test
    // programs running at the same time cannot relink each other's ports.
    void initTestCase() {
        qputenv("HOME", QFile::encodeName(home.path()));
        QStandardPaths::setTestModeEnabled(true);
    }
    void cleanup() { QCOMPARE(ModemBench::wireFaults, 0); }

    void listedPortsComeUsbFirstInNaturalOrder_data() {
        using Ports = QList<ListedPort>;
        QTest::addColumn<Ports>("listed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("by value") << Ports{{"ttyS10"}, {"ttyS2"}, {"ttyS1"}, {"ttyX010"}}
                                  << QStringList{"ttyS1", "ttyS2", "ttyS10", "ttyX010"};
        QTest::newRow("usb first")
            << Ports{{"ttyS0"}, {"ttyUSB10", true}, {"ttyACM0", true}, {"ttyUSB9", true}}
            << QStringList{"ttyACM0", "ttyUSB9", "ttyUSB10", "ttyS0"};
        QTest::newRow("prefix first")
            << Ports{{"ttyS1a"}, {"ttyS1"}} << QStringList{"ttyS1", "ttyS1a"};
    }
    void listedPortsComeUsbFirstInNaturalOrder() {
        QFETCH(QList<ListedPort>, listed);
        QFETCH(QStringList, expected);
        QCOMPARE(orderListedPorts(listed), expected);
    }

    void comPortResolvesThroughLinksThenListing() {
        QTemporaryFile device;
        QVERIFY(device.open());
        const QDir folder(portsFolder());
        QVERIFY(folder.mkpath("."));
        QVERIFY(QFile::link(device.fileName(), folder.filePath("alias")));
        QVERIFY(QFile::link(folder.filePath("alias"), folder.filePath("com2"))); // resolved fully
        QVERIFY(QFile::link("/dev/tavek-gone", folder.filePath("com4")));
        const QStringList listed{"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS0"};
        const QStringList expected{
            "",           "/dev/ttyUSB0",    QFileInfo(device).canonicalFilePath(),
            "/dev/ttyS0", "/dev/tavek-gone", ""};
        for (int n = 0; n < expected.size(); ++n)
            QCOMPARE(deviceForComPort(n, listed), expected[n]);
        for (const char* name : {"alias", "com2", "com4"})
            QFile::remove(folder.filePath(name));
    }

    // QSerialPort reports busy and denied alike: only its text tells them
    // apart. A lost device is named, without the system's last words.
    void portErrorsSayWhatHappened() {
        const auto failure = [](int code) {
            const QString text = QString::fromLocal8Bit(std::strerror(code));
            return classifyOpenFailure(QSerialPort::PermissionError, text, "/dev/x");
        };
        QCOMPARE(portErrorMessage(failure(EBUSY)), "Modem already in use");
        QVERIFY(portErrorMessage(failure(EPERM)).contains("dialout"));
        QCOMPARE(
            portErrorMessage({0, "/dev/ttyUSB0", "Inappropriate ioctl for device", false, true}),
            "The serial port /dev/ttyUSB0 was lost (was the adapter unplugged?)");
        QCOMPARE(spokenList({"3", "7", "12"}), "3, 7 and 12");
    }

    // A command of the window: no second one while it runs, the controls off
    // while it runs and on again after, unless the connection was lost.
    void commandsRunOneAtATime() {
        ModemConnection connection;
        connection.ModemConnected = true;
        RecordingView view(&connection);
        {
            const CommandRun first(connection, view, CommandRun::Controls::Off);
            QVERIFY(first.started() && connection.busy());
            const CommandRun second(connection, view, CommandRun::Controls::Untouched);
            QVERIFY(!second.started());
        }
        QVERIFY(!connection.busy());
        {
            const CommandRun relay(connection, view, CommandRun::Controls::Untouched);
            QVERIFY(relay.started());
        }
        {
            const CommandRun upload(connection, view, CommandRun::Controls::Off);
            connection.ModemConnected = false; // the device went away meanwhile
        }
        QCOMPARE(view.events, (QStringList{"controls: off", "controls: on", "controls: off"}));
    }

    // A reply ends with its final result code on a line of its own; an
    // error code makes it not answered, whatever the echo holds.
    void repliesEndAndAreJudged_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("result"); // -1 none yet, 0 OK, 1 an error
        QTest::addColumn<bool>("answered");
        const auto row = [](const char* name, const char* reply, int result, bool answered) {
            QTest::newRow(name) << QString::fromLatin1(reply) << result << answered;
        };
        row("echo, OK", "AT&W\r\r\nOK\r\n", 0, true);
        row("OK without its line end yet", "AT&W\r\r\nOK", -1, true);
        row("OK after a lone CR", "\rOK\r", 0, true);
        row("echo and ERROR", "AT&W\r\r\nERROR\r\n", 1, false);
        row("extended errors", "\r\n+CME ERROR: 3\r\n", 1, false);
        row("SMS errors", "\r\n+CMS ERROR: 500\r\n", 1, false);
        row("OK inside a message line", "\r\n+EGINP: 1,\"C\",\"OK\"\r\n", -1, true);
        row("OK inside a word", "\r\nBOOK\r\n", -1, true);
        row("ok in small letters", "\r\nok\r\n", -1, false);
        row("echo only", "AT+WIOW=0,0\r", -1, true);
        row("the first result code counts", "\r\nOK\r\n\r\nERROR\r\n", 0, true);
    }
    void repliesEndAndAreJudged() {
        QFETCH(QString, reply);
        QFETCH(int, result);
        QFETCH(bool, answered);
        const auto code = finalResultCode(reply);
        QCOMPARE(code ? int(*code) : -1, result);
        QCOMPARE(replyAnswered(reply, markers), answered);
    }

    void connectionCheck_data() {
        QTest::addColumn<CheckRow>("row");
        const auto row = [](const char* name, CheckRow r) { QTest::newRow(name) << r; };
        row("echo and OK", {true, 0, {}, {"AT"}, true});
        row("at counts", {false, 0, "\r\nat\r\n", {"AT"}, true});
        row("OK to the second AT only, after a lone CR", {true, 2, {}, {"AT", "", "AT"}, true});
        row("silence: two attempts of 1.5 s", {false, 0, "", {"AT", "", "AT", ""}, false});
    }
    void connectionCheck() {
        QFETCH(CheckRow, row);
        ModemBench bench;
        bench.modem.setEcho(row.echo);
        bench.modem.setAnswerOnlyAttempt(row.answerOnlyAttempt);
        if (!row.reply.isNull())
            bench.modem.setReplyFor("AT", row.reply);
        QElapsedTimer took;
        took.start();

        bench.connection.disconnect(); // not connected yet

        ConnectModem(bench.connection, bench.view);

        const QStringList answered{connecting, "frames: on", connected};
        const QStringList silent{connecting, "error: Modem not connected", disconnected};
        QStringList firstLines; // of each event: the error box goes on below
        for (const QString& event : bench.view.events)
            firstLines << event.section(u'\n', 0, 0);
        QCOMPARE(firstLines, row.success ? answered : silent);
        if (!row.success) {
            // The device tried, and the three things to check.
            const QRegularExpression more(
                "^Modem not connected\nNo answer to AT came from " + bench.modem.devicePath() +
                QString(" \\(Com %1\\)\\. Check:\n.*switched on.*\n.*cable.*\n"
                        "- that Com %1 is the modem's port: \"Serial ports\" on the toolbar "
                        "shows the device behind each Com number\\.$")
                    .arg(bench.com));
            QVERIFY2(more.match(bench.view.errors().value(0)).hasMatch(),
                     qPrintable(bench.view.errors().value(0)));
        }
        QCOMPARE(bench.connection.ModemConnected, row.success);
        QCOMPARE(bench.connection.port().isOpen(), row.success);
        QCOMPARE(bench.connection.connectedDevice(),
                 row.success ? bench.modem.devicePath() : QString());
        // False from the start of the check until its success.
        const QList<bool> during = bench.view.connectedAt.mid(1, bench.view.connectedAt.size() - 2);
        QVERIFY(!during.contains(true));
        QCOMPARE(bench.view.pumps, 0); // the window stays still during the check
        QCOMPARE(bench.lines(int(row.lines.size())), row.lines);
        if (!row.success) // two attempts that each wait their 1.5 s
            verifyTimeout(took.nsecsElapsed() / 1e6, 2 * 1500);
    }

    void relayCommand_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer"); // ok, error, late, small
        QTest::newRow("on, echo and OK") << "AT+WIOW=0,0"
                                         << "ok";
        QTest::newRow("off, ERROR fails") << "AT+WIOW=0,1"
                                          << "error";
        QTest::newRow("an answer 50 ms late counts") << "AT+WIOW=0,1"
                                                     << "late";
        QTest::newRow("ok in small letters fails after 1.5 s") << "AT+WIOW=0,1"
                                                               << "small";
    }
    void relayCommand() {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        ModemBench bench({16});
        bench.modem.setLowerCase(answer == "small");
        bench.modem.setEcho(answer != "small"); // the echo alone would count
        bench.modem.setReplyDelayMs(answer == "late" ? 50 : 0);
        if (answer == "error")
            bench.modem.setErrorFor(command.toLatin1());
        OutcomeClock outcomeShown;
        outcomeShown.watch(bench);
        QVERIFY(!bench.connection.reopen()); // open before, as after a connection check

        const OperationResult result = SendRelayString(bench.connection, bench.view, command);

        const bool confirmed = answer == "ok" || answer == "late";
        QCOMPARE(bench.view.events,
                 (QStringList{relayStep + "...", relayStep + (confirmed ? "...OK" : "...Failed!"),
                              connected}));
        QCOMPARE(result.end, OperationEnd::Completed);
        QCOMPARE(result.unconfirmed, confirmed ? QList<int>{} : QList<int>{1});
        QVERIFY(!bench.connection.port().isOpen());
        QVERIFY(bench.view.pumps > 0);
        QCOMPARE(bench.lines(1), QStringList{command});
        if (answer == "small")
            verifyTimeout(*outcomeShown.ms, 1500);
        else
            QVERIFY(*outcomeShown.ms < 500);
    }

    void factoryDefaults_data() {
        QTest::addColumn<int>("failing");          // the command the modem answers ERROR to
        QTest::addColumn<bool>("firstUnfinished"); // AT&F gets its echo and nothing more
        QTest::newRow("all answer") << 0 << false;
        QTest::newRow("the third fails, the rest go on") << 3 << false;
        QTest::newRow("no result code to the first: 2 s") << 0 << true;
    }
    void factoryDefaults() {
        QFETCH(int, failing);
        QFETCH(bool, firstUnfinished);
        ModemBench bench({32});
        const QStringList commands = factoryDefaultCommands();
        QCOMPARE(commands, (QStringList{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"}));
        if (failing)
            bench.modem.setErrorFor(commands[failing - 1].toLatin1());
        if (firstUnfinished)
            bench.modem.setReplyFor("AT&F", "");
        OutcomeClock firstOutcome;
        firstOutcome.watch(bench);
        QVERIFY(!bench.connection.reopen());

        const OperationResult result = SendDefaultString(bench.connection, bench.view);

        QStringList expected{"status: Modem Connected, sending default string..."};
        for (int n = 1; n <= 5; ++n) {
            const QString step = "status: Modem Connected, sending default string no. %1%2";
            expected << step.arg(n).arg("...")
                     << step.arg(n).arg(n == failing ? "...Failed!" : "...OK");
        }
        QCOMPARE(bench.view.events, expected << connected);
        QCOMPARE(result.unconfirmed, failing ? QList<int>{failing} : QList<int>{});
        QVERIFY(!bench.connection.port().isOpen());
        QCOMPARE(bench.lines(5), commands);
        // The pause after each judged reply, on the modem's clock.
        bench.verifyPauses(firstUnfinished ? 1 : 0, 4);
        if (firstUnfinished)
            verifyTimeout(*firstOutcome.ms, 2000);
    }

    // A port that cannot be opened, or is lost midway, ends the operation at
    // once: nothing more is sent, the port is released, the user learns why.
    void portFailures_data() {
        QTest::addColumn<FailureRow>("row");
        // Which device "Com N" was looked for, and how to give an adapter a number.
        const QString notValid = "Serial port not valid\nCom \\d+ was looked for at "
                                 "/dev/tavek-none, and no such device is there\\.\n"
                                 "To give your adapter a Com number, click \"Serial ports\" on "
                                 "the toolbar, .*\\.$",
                      noPort = "Serial port not valid\nCom 200 names no serial port: .*\n"
                               "To give your adapter a Com number, .*$",
                      inUse = "Modem already in use$", notTty = "Cannot open /dev/null: [^\n]+$",
                      lost = "The serial port /dev/pts/\\d+ was lost \\(was the adapter "
                             "unplugged\\?\\)$";
        const auto row = [](const char* name, FailureRow r) { QTest::newRow(name) << r; };
        const auto unavailable = OperationEnd::PortUnavailable;
        const auto gone = OperationEnd::PortLost;
        row("check: missing device", {Connect, "/dev/tavek-none", notValid, {}, unavailable});
        row("check: no port numbered", {Connect, "Com 200", noPort, {}, unavailable});
        row("check: held", {Connect, "held", inUse, {}, unavailable});
        row("check: not a tty", {Connect, "/dev/null", notTty, {}, unavailable});
        row("check: denied",
            {Connect, "denied", "Cannot open /dev/pts/\\d+: .*dialout", {}, unavailable});
        row("check: pulled out at its AT", {Connect, "at line 1", lost, {"AT"}, gone});
        row("relay: held", {Relay, "held", inUse, {}, unavailable});
        row("relay: pulled out at its command", {Relay, "at line 1", lost, {"AT+WIOW=0,0"}, gone});
        row("defaults: not a tty", {Defaults, "/dev/null", notTty, {}, unavailable});
        row("defaults: pulled out at the third",
            {Defaults, "at line 3", lost, {"AT&F", "AT&Q1&C1&D0", "ATS0=1"}, gone});
    }
    void portFailures() {
        QFETCH(FailureRow, row);
        ModemBench bench;
        if (row.operation == Connect)
            bench.connection.disconnect(); // not connected yet
        SerialPort holder;
        if (row.situation.startsWith("/dev/")) {
            // "Com N" names that device, or the connection found it.
            QFile::remove(bench.modem.linkPath());
            QVERIFY(QFile::link(row.situation, bench.modem.linkPath()));
            bench.connection.setConnectedDevice(row.situation);
        } else if (row.situation == "Com 200") {
            bench.connection.setCommPortNumber(200);
        } else if (row.situation == "held") {
            QVERIFY(!holder.open(bench.modem.devicePath()));
        } else if (row.situation == "denied") {
            QCOMPARE(::chmod(QFile::encodeName(bench.modem.devicePath()), 0), 0);
            if (::getuid() == 0) { // root ignores file permissions: run the row as nobody
                QProcess child;
                child.setProcessChannelMode(QProcess::MergedChannels);
                child.setChildProcessModifier([] {
                    if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                        ::_exit(99);
                });
                child.start(QCoreApplication::applicationFilePath(),
                            {QString("portFailures:") + QTest::currentDataTag()});
                // A checkout that user nobody cannot reach says nothing about the link.
                if (!child.waitForStarted())
                    QSKIP("this test program cannot be run as user nobody here");
                QVERIFY(child.waitForFinished(30000));
                if (child.exitCode() == 99)
                    QSKIP("cannot become user nobody here");
                QVERIFY2(child.exitCode() == 0, child.readAll().constData());
                return;
            }
        } else if (row.situation.startsWith("at line ")) {
            bench.modem.vanishAtLine(row.situation.mid(8).toInt());
        }
        QElapsedTimer took;
        took.start();

        OperationResult result;
        if (row.operation == Connect)
            ConnectModem(bench.connection, bench.view);
        else if (row.operation == Relay)
            result = SendRelayString(bench.connection, bench.view, RelayOnCommand);
        else
            result = SendDefaultString(bench.connection, bench.view);

        QVERIFY(took.elapsed() < 3000); // at once, not after the time-outs
        QCOMPARE(bench.view.errors().size(), 1);
        const QRegularExpression expected("^" + row.error,
                                          QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(expected.match(bench.view.errors()[0]).hasMatch(),
                 qPrintable(bench.view.errors()[0]));
        if (row.operation == Connect) {
            QCOMPARE(bench.view.events.last(), disconnected);
            QVERIFY(!bench.connection.ModemConnected);
        } else {
            QCOMPARE(result.end, row.end);
            // A port that is only busy keeps the window connected; a lost one
            // is the window's to put back to not connected.
            if (row.end == OperationEnd::PortUnavailable)
                QCOMPARE(bench.view.events.last(), connected);
            else
                QVERIFY(bench.view.events.last().startsWith("error: "));
        }
        QVERIFY(!bench.connection.port().isOpen());
        QTest::qWait(100); // nothing more comes
        QCOMPARE(bench.lines(int(row.lines.size())), row.lines);
    }

    // The device found by the connection check is the one every operation
    // opens until the window disconnects, whatever happens to the link; if
    // it is gone, nothing is sent anywhere.
    void deviceIsFixedAtConnection_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("link removed") << "remove";
        QTest::newRow("link pointed at another modem") << "repoint";
        QTest::newRow("device gone, another modem linked") << "vanish";
    }
    void deviceIsFixedAtConnection() {
        QFETCH(QString, change);
        ModemBench bench;
        VirtualModem other;
        bench.connection.disconnect();
        ConnectModem(bench.connection, bench.view);
        QVERIFY(bench.connection.ModemConnected);
        const QString link = bench.modem.linkPath();
        const QString device = bench.modem.devicePath();
        if (change == "vanish") {
            bench.modem.hangUp();
            QFile::remove(link);
        } else {
            QVERIFY(QFile::remove(link));
        }
        if (change != "remove")
            QVERIFY(QFile::link(other.devicePath(), link));
        bench.modem.clearReceived();

        const OperationResult result =
            SendRelayString(bench.connection, bench.view, RelayOnCommand);

        QTest::qWait(100);
        QVERIFY(other.received().empty());
        if (change == "vanish") {
            QCOMPARE(result.end, OperationEnd::PortUnavailable);
            // The device of the connection, not "Com N": that may name another by now.
            QCOMPARE(bench.view.errors(),
                     QStringList{"Serial port not valid\n" + device + " is not there any more."});
            QVERIFY(bench.modem.received().empty());
        } else {
            QCOMPARE(result.end, OperationEnd::Completed);
            QCOMPARE(bench.lines(1), QStringList{"AT+WIOW=0,0"});
        }
    }
};

QTEST_GUILESS_MAIN(ModemLinkTest)
#include "tst_modem_link.moc"
