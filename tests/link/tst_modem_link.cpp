// The connection check, the relay command and the factory defaults, through
// the real serial port to the virtual modem.
#include "ModemLink.h"
#include "ModemOnPort.h"
#include "RecordingView.h"
#include "SerialPort.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {
const QString connecting = "status: Modem Connecting...", connected = "status: Modem Connected";
const QString disconnected = "status: Modem Disconnected";
const QStringList factoryCommands{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"};
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
    QString error;
    QStringList lines;
};
Q_DECLARE_METATYPE(CheckRow)
Q_DECLARE_METATYPE(FailureRow)

class ModemLinkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModemOnPort> modem;
    std::unique_ptr<SerialPort> port;
    RecordingView view;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        modem = std::make_unique<ModemOnPort>();
        port = std::make_unique<SerialPort>();
        port->setPortNumber(1);
        view = RecordingView();
        linkState().ModemConnected = true; // as after an earlier check
        linkState().RelayCommand() = "AT+WIOW=0,0";
    }
    void cleanup() {
        port.reset();
        modem.reset();
    }

    void connectionCheck_data() {
        QTest::addColumn<CheckRow>("row");
        QTest::newRow("echo and OK") << CheckRow{true, 0, {}, {"AT"}, true};
        QTest::newRow("at counts") << CheckRow{false, 0, "\r\nat\r\n", {"AT"}, true};
        QTest::newRow("OK to the second AT only, after a lone CR")
            << CheckRow{true, 2, {}, {"AT", "", "AT"}, true};
        QTest::newRow("silence: two attempts")
            << CheckRow{false, 0, "", {"AT", "", "AT", ""}, false};
    }
    void connectionCheck() {
        QFETCH(CheckRow, row);
        modem->modem.setEcho(row.echo);
        modem->modem.setAnswerOnlyAttempt(row.answerOnlyAttempt);
        if (!row.reply.isNull())
            modem->modem.setReplyFor("AT", row.reply);

        ConnectModem(*port, view);

        const QStringList answered{connecting, "frames: on", connected};
        const QStringList silent{connecting, "error: Modem not connected", disconnected};
        QCOMPARE(view.events, row.success ? answered : silent);
        QCOMPARE(linkState().ModemConnected, row.success);
        QCOMPARE(port->isOpen(), row.success);
        // False from the start of the check until its success.
        QVERIFY(!view.connectedAt.mid(1, view.connectedAt.size() - 2).contains(true));
        QCOMPARE(view.pumps, 0); // the window stays still during the check
        QCOMPARE(modem->lines(), row.lines);
    }

    void relayCommand_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("lowerCase");
        QTest::addColumn<int>("delayMs");
        QTest::newRow("on, echo and OK") << "AT+WIOW=0,0" << false << 0;
        QTest::newRow("off, ok in small letters fails") << "AT+WIOW=0,1" << true << 0;
        QTest::newRow("an answer 100 ms late fails") << "AT+WIOW=0,1" << false << 100;
    }
    void relayCommand() {
        QFETCH(QString, command);
        QFETCH(bool, lowerCase);
        QFETCH(int, delayMs);
        modem->modem.setEcho(!lowerCase);
        modem->modem.setLowerCase(lowerCase);
        modem->modem.setReplyDelayMs(delayMs);
        linkState().RelayCommand() = command;
        QVERIFY(!port->open()); // open before, as after a connection check
        QElapsedTimer outcomeShown;
        view.onStatus = [&](const QString& text) {
            if (text.endsWith("!") || text.endsWith("...OK"))
                outcomeShown.start();
        };

        SendRelayString(*port, view);

        QVERIFY(outcomeShown.nsecsElapsed() > 200'000'000); // the pause after the reply
        const QString sending = "status: Modem Connected, sending relay string";
        const bool answered = !lowerCase && delayMs == 0;
        const QString outcome = sending + (answered ? "...OK" : "...Failed!");
        QCOMPARE(view.events, (QStringList{sending + "...", outcome, connected}));
        QVERIFY(!port->isOpen());
        QVERIFY(linkState().ModemConnected);
        QVERIFY(view.pumps > 0);
        QVERIFY(modem->modem.waitForLines(1, 1000));
        QCOMPARE(modem->lines(), QStringList{command});
    }

    void factoryDefaults_data() {
        QTest::addColumn<QByteArray>("failing"); // a command the modem is silent to
        QTest::newRow("all answer") << QByteArray();
        QTest::newRow("the third fails, the rest go on") << QByteArray("ATS0=1");
    }
    void factoryDefaults() {
        QFETCH(QByteArray, failing);
        modem->modem.setEcho(false); // no echo to pass a silent command
        modem->modem.setReplyFor(failing, "");
        QVERIFY(!port->open());

        SendDefaultString(*port, view);

        QStringList expected{"status: Modem Connected, sending default string..."};
        for (int n = 1; n <= 5; ++n) {
            const QString step = "status: Modem Connected, sending default string no. %1%2";
            const bool fails = factoryCommands[n - 1] == failing;
            expected << step.arg(n).arg("...") << step.arg(n).arg(fails ? "...Failed!" : "...OK");
        }
        QCOMPARE(view.events, expected << connected);
        QVERIFY(!port->isOpen());
        QCOMPARE(modem->lines(), factoryCommands);
        const auto received = modem->modem.received();
        for (size_t i = 1; i < received.size(); ++i)
            QVERIFY(received[i].at - received[i - 1].at > std::chrono::milliseconds(200));
    }

    // A port that cannot be opened, or is lost midway, ends the operation at
    // once: nothing more is sent, the port is released, the user learns why.
    void portFailures_data() {
        QTest::addColumn<FailureRow>("row");
        const QString notValid = "Serial port not valid", inUse = "Modem already in use",
                      notTty = "Cannot open /dev/null: ", lost = "The connection through ";
        const auto row = [](const char* name, FailureRow r) { QTest::newRow(name) << r; };
        row("check: missing device", {Connect, "link: /dev/tavek-none", notValid, {}});
        row("check: no port numbered", {Connect, "Com 200", notValid, {}});
        row("check: held", {Connect, "held", inUse, {}});
        row("check: not a tty", {Connect, "link: /dev/null", notTty, {}});
        row("check: pulled out", {Connect, "hang up after 2", lost, {"AT"}});
        row("relay: no port numbered", {Relay, "Com 200", notValid, {}});
        row("relay: held", {Relay, "held", inUse, {}});
        row("relay: pulled out first",
            {Relay, "pull at: Modem Connected, sending relay string...", notValid, {}});
        row("defaults: not a tty", {Defaults, "link: /dev/null", notTty, {}});
        row("defaults: pulled out after one",
            {Defaults,
             "pull at: Modem Connected, sending default string no. 2...",
             lost,
             {"AT&F"}});
    }
    void portFailures() {
        QFETCH(FailureRow, row);
        SerialPort holder;
        if (row.situation.startsWith("link: ")) {
            QFile::remove(modem->link);
            QVERIFY(QFile::link(row.situation.mid(6), modem->link));
        } else if (row.situation == "Com 200") {
            linkState().CommPortNumber = 200;
            QVERIFY(deviceForComPort(200).isEmpty());
        } else if (row.situation == "held") {
            holder.setPortNumber(1);
            QVERIFY(!holder.open());
        } else if (row.situation == "hang up after 2") {
            modem->modem.hangUpAfterBytes(2);
        } else {
            view.onStatus = [this, when = row.situation.mid(9)](const QString& text) {
                if (text == when)
                    modem->modem.hangUp();
            };
        }
        QElapsedTimer took;
        took.start();

        row.operation == Connect ? ConnectModem(*port, view)
        : row.operation == Relay ? SendRelayString(*port, view)
                                 : SendDefaultString(*port, view);

        QVERIFY(took.elapsed() < 1500); // at once, with a wide margin
        QCOMPARE(view.errors().size(), 1);
        QVERIFY2(view.errors()[0].startsWith("error: " + row.error), qPrintable(view.errors()[0]));
        if (row.error.startsWith("The connection"))
            QVERIFY(view.errors()[0].contains(port->device()));
        QCOMPARE(view.lastEvent(), row.operation == Connect ? disconnected : connected);
        QCOMPARE(linkState().ModemConnected, row.operation != Connect);
        QVERIFY(!port->isOpen());
        QCOMPARE(modem->lines(), row.lines);
    }

    void permissionDeniedSaysHowToGetAccess() {
        // Root ignores file permissions, so an unprivileged child opens the port.
        QTemporaryDir config;
        const QString ports = config.path() + "/tavek/ports";
        QVERIFY(QDir().mkpath(ports));
        for (const QString& dir : {config.path(), config.path() + "/tavek", ports})
            ::chmod(dir.toLocal8Bit(), 0755);
        QVERIFY(QFile::link(modem->modem.devicePath(), ports + "/com1"));
        ::chmod(modem->modem.devicePath().toLocal8Bit(), 0);
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config.path());
        probe.setProcessEnvironment(env);
        probe.start(QCoreApplication::applicationDirPath() + "/tavek_open_probe");
        QVERIFY(probe.waitForFinished(10000));
        const QString out = QString::fromLocal8Bit(probe.readAllStandardOutput());
        QVERIFY2(out.startsWith("0\nCannot open " + modem->modem.devicePath()), qPrintable(out));
        QVERIFY2(out.contains("dialout"), qPrintable(out));
    }
};

QTEST_GUILESS_MAIN(ModemLinkTest)
#include "tst_modem_link.moc"
