// The connection check, the relay command and the factory defaults, through
// the real serial port to the virtual modem.
#include "LinkState.h"
#include "ModemLink.h"
#include "ModemOnPort.h"
#include "RecordingView.h"
#include "SerialPort.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString connecting = "status: Modem Connecting...";
const QString connected = "status: Modem Connected";
const QString disconnected = "status: Modem Disconnected";
const QString relaySending = "status: Modem Connected, sending relay string...";
const QString defaultSending = "status: Modem Connected, sending default string...";
const QStringList factoryCommands{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"};

QString defaultStep(int n, const QString& end) {
    return QString("status: Modem Connected, sending default string no. %1%2").arg(n).arg(end);
}

// A port number that no link names and the system does not list.
constexpr qint16 noSuchPort = 200;

} // namespace

class ModemLinkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModemOnPort> modem;
    VirtualModem* vm = nullptr;
    std::unique_ptr<SerialPort> port;
    RecordingView view;

    // The events with the modem's device written as <device>.
    QStringList events() const {
        QStringList texts = view.events;
        return texts.replaceInStrings(port->device(), "<device>");
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        modem = std::make_unique<ModemOnPort>(1);
        vm = modem->modem.get();
        port = std::make_unique<SerialPort>();
        view = RecordingView();
        linkState().ModemConnected = true; // as if connected before: checks must reset it
        linkState().ReplyBuffer.clear();
    }
    void cleanup() {
        port.reset();
        modem.reset();
    }

    void connectionCheck_data() {
        QTest::addColumn<bool>("echo");
        QTest::addColumn<int>("answerOnlyAttempt");
        QTest::addColumn<QByteArray>("reply"); // to "AT", in place of the normal one; null: normal
        QTest::addColumn<int>("hangUpAfter");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("expected");
        const QStringList success{connecting, "frames: on", connected};
        const QStringList failure{connecting, "error: Modem not connected", disconnected};
        QTest::newRow("echo and OK")
            << true << 0 << QByteArray() << -1 << QStringList{"AT"} << success;
        QTest::newRow("at in small letters counts")
            << false << 0 << QByteArray("\r\nat\r\n") << -1 << QStringList{"AT"} << success;
        QTest::newRow("OK only to the second AT, after a lone CR")
            << true << 2 << QByteArray() << -1 << QStringList{"AT", "", "AT"} << success;
        QTest::newRow("silence: two attempts")
            << false << 0 << QByteArray("") << -1 << QStringList{"AT", "", "AT", ""} << failure;
        QTest::newRow("pulled out during the check")
            << true << 0 << QByteArray() << 2 << QStringList{"AT"}
            << QStringList{connecting, "error: The connection through <device> was lost",
                           disconnected};
    }
    void connectionCheck() {
        QFETCH(bool, echo);
        QFETCH(int, answerOnlyAttempt);
        QFETCH(QByteArray, reply);
        QFETCH(int, hangUpAfter);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, expected);
        vm->setEcho(echo);
        vm->setAnswerOnlyAttempt(answerOnlyAttempt);
        if (!reply.isNull())
            vm->setReplyFor("AT", reply);
        vm->hangUpAfterBytes(hangUpAfter);

        ConnectModem(*port, view);

        const bool success = expected.contains("frames: on");
        QStringList seen = events();
        for (QString& event : seen) // the system's reason after a lost port varies
            if (event.startsWith("error: The connection through"))
                event = event.section(':', 0, 1);
        QCOMPARE(seen, expected);
        QCOMPARE(linkState().ModemConnected, success);
        QCOMPARE(port->isOpen(), success);
        // False from the start of the check (after its first status text) until its success.
        QVERIFY(!view.connectedAt.mid(1, view.connectedAt.size() - 2).contains(true));
        QCOMPARE(view.connectedAt.last(), success);
        QCOMPARE(view.pumps, 0); // the check keeps the window still
        QCOMPARE(modem->lines(), lines);
    }

    void connectionCheckOnPortsThatCannotBeOpened_data() {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("error");
        QTest::newRow("device missing") << "missing"
                                        << "Serial port not valid";
        QTest::newRow("no port has the number") << "unnumbered"
                                                << "Serial port not valid";
        QTest::newRow("held by another open") << "held"
                                              << "Modem already in use";
        QTest::newRow("not a serial port") << "not a tty"
                                           << "Cannot open /dev/null: ";
    }
    void connectionCheckOnPortsThatCannotBeOpened() {
        QFETCH(QString, situation);
        QFETCH(QString, error);
        SerialPort holder;
        prepareUnopenablePort(situation, holder);

        ConnectModem(*port, view);

        QCOMPARE(view.events.size(), 3);
        QCOMPARE(view.events[0], connecting);
        QVERIFY2(view.events[1].startsWith("error: " + error), qPrintable(view.events[1]));
        QCOMPARE(view.events[2], disconnected);
        QVERIFY(!linkState().ModemConnected);
        QVERIFY(!port->isOpen());
        QVERIFY(modem->lines().isEmpty());
    }

    void permissionDeniedSaysHowToGetAccess() {
        // Root ignores file permissions, so an unprivileged child opens the port.
        QTemporaryDir config;
        QVERIFY(config.isValid());
        ::chmod(config.path().toLocal8Bit(), 0755);
        QVERIFY(QDir().mkpath(config.path() + "/tavek/ports"));
        for (const char* dir : {"/tavek", "/tavek/ports"})
            ::chmod((config.path() + dir).toLocal8Bit(), 0755);
        QVERIFY(QFile::link(vm->devicePath(), config.path() + "/tavek/ports/com1"));
        ::chmod(vm->devicePath().toLocal8Bit(), 0);

        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", config.path());
        probe.setProcessEnvironment(env);
        probe.start(QCoreApplication::applicationDirPath() + "/tavek_open_probe");
        QVERIFY(probe.waitForFinished(10000));
        const QStringList out = QString::fromLocal8Bit(probe.readAllStandardOutput()).split('\n');
        QCOMPARE(out.value(0), QString("0")); // neither 8002 nor 8012
        const QString message = out.mid(1).join('\n');
        QVERIFY2(message.contains(vm->devicePath()), qPrintable(message));
        QVERIFY2(message.contains("dialout"), qPrintable(message));
    }

    void relayCommand_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<bool>("lowerCase");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("on: echo and OK") << "AT+WIOW=0,0" << true << false << 0 << false << "...OK";
        QTest::newRow("off: OK without echo")
            << "AT+WIOW=0,1" << false << false << 0 << false << "...OK";
        QTest::newRow("ok in small letters fails")
            << "AT+WIOW=0,0" << false << true << 0 << false << "...Failed!";
        QTest::newRow("an answer 100 ms late is not waited for")
            << "AT+WIOW=0,1" << true << false << 100 << false << "...Failed!";
        QTest::newRow("silence") << "AT+WIOW=0,0" << true << false << 0 << true << "...Failed!";
    }
    void relayCommand() {
        QFETCH(QString, command);
        QFETCH(bool, echo);
        QFETCH(bool, lowerCase);
        QFETCH(int, delayMs);
        QFETCH(bool, silent);
        QFETCH(QString, outcome);
        vm->setEcho(echo);
        vm->setLowerCase(lowerCase);
        vm->setReplyDelayMs(delayMs);
        vm->setSilent(silent);
        linkState().RelayCommand() = command;
        port->setPortNumber(1);
        QVERIFY(!port->open()); // open before, as after a connection check
        QElapsedTimer shown;
        qint64 outcomeShownNs = -1;
        view.onStatus = [&](const QString& text) {
            if (text.endsWith(outcome))
                shown.start();
            else if (text == "Modem Connected")
                outcomeShownNs = shown.nsecsElapsed();
        };

        SendRelayString(*port, view);

        QCOMPARE(
            view.events,
            (QStringList{relaySending, "status: Modem Connected, sending relay string" + outcome,
                         connected}));
        QVERIFY2(outcomeShownNs > 200'000'000, qPrintable(QString::number(outcomeShownNs)));
        QVERIFY(!port->isOpen());
        QVERIFY(linkState().ModemConnected);
        QVERIFY(linkState().ReplyBuffer.isEmpty());
        QVERIFY(view.pumps > 0);
        QVERIFY(vm->waitForLines(1, 1000));
        QCOMPARE(modem->lines(), QStringList{command});
    }

    void factoryDefaults_data() {
        QTest::addColumn<QByteArray>("failing"); // a command the modem keeps silent to
        QTest::newRow("all answer") << QByteArray();
        QTest::newRow("the third fails, the rest go on") << QByteArray("ATS0=1");
    }
    void factoryDefaults() {
        QFETCH(QByteArray, failing);
        vm->setEcho(false); // so a silent command has no echo to pass it
        if (!failing.isEmpty())
            vm->setReplyFor(failing, "");
        port->setPortNumber(1);
        QVERIFY(!port->open());

        SendDefaultString(*port, view);

        QStringList expected{defaultSending};
        for (int n = 1; n <= 5; ++n) {
            const bool fails = factoryCommands[n - 1] == QString::fromLatin1(failing);
            expected << defaultStep(n, "...") << defaultStep(n, fails ? "...Failed!" : "...OK");
        }
        expected << connected;
        QCOMPARE(view.events, expected);
        QVERIFY(!port->isOpen());
        QVERIFY(linkState().ModemConnected);
        QCOMPARE(linkState().RelayCommand(), QString("AT&F"));
        QCOMPARE(modem->lines(), factoryCommands);

        const auto received = vm->received();
        for (size_t i = 1; i < received.size(); ++i) {
            const auto gap = received[i].at - received[i - 1].at;
            QVERIFY2(gap > std::chrono::milliseconds(200),
                     qPrintable(QString("before %1").arg(factoryCommands[int(i)])));
        }
    }

    // An operation on a port that cannot be opened, or is lost midway, ends
    // at once, sends nothing more, releases the port and says why.
    void portFailuresEndRelayAndDefaults_data() {
        QTest::addColumn<bool>("defaults");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("relay: no such port") << false << "unnumbered"
                                             << "Serial port not valid" << QStringList{};
        QTest::newRow("relay: held by another open") << false << "held"
                                                     << "Modem already in use" << QStringList{};
        QTest::newRow("relay: pulled out before it starts")
            << false << "pulled at: Modem Connected, sending relay string..."
            << "Serial port not valid" << QStringList{};
        QTest::newRow("defaults: not a serial port") << true << "not a tty"
                                                     << "Cannot open /dev/null: " << QStringList{};
        QTest::newRow("defaults: held by another open") << true << "held"
                                                        << "Modem already in use" << QStringList{};
        QTest::newRow("defaults: pulled out after the first command")
            << true << "pulled at: Modem Connected, sending default string no. 2..."
            << "The connection through " << QStringList{"AT&F"};
    }
    void portFailuresEndRelayAndDefaults() {
        QFETCH(bool, defaults);
        QFETCH(QString, situation);
        QFETCH(QString, error);
        QFETCH(QStringList, lines);
        SerialPort holder;
        if (situation.startsWith("pulled at: ")) {
            const QString when = situation.mid(11);
            view.onStatus = [this, when](const QString& text) {
                if (text == when)
                    vm->hangUp();
            };
        } else {
            prepareUnopenablePort(situation, holder);
        }
        linkState().RelayCommand() = "AT+WIOW=0,0";
        QElapsedTimer took;
        took.start();

        defaults ? SendDefaultString(*port, view) : SendRelayString(*port, view);

        QVERIFY2(took.elapsed() < 1500, "it should end at once"); // wide margin
        QCOMPARE(view.errors().size(), 1);
        QVERIFY2(view.errors().first().startsWith(error), qPrintable(view.errors().first()));
        QCOMPARE(view.lastStatus(), QString("Modem Connected"));
        QVERIFY(!port->isOpen());
        QCOMPARE(modem->lines(), lines);
    }

private:
    // Makes CommPortNumber name a port that cannot be opened.
    void prepareUnopenablePort(const QString& situation, SerialPort& holder) {
        if (situation == "missing") {
            QFile::remove(modem->linkPath());
            QVERIFY(QFile::link("/dev/tavek-no-such-device", modem->linkPath()));
        } else if (situation == "unnumbered") {
            linkState().CommPortNumber = noSuchPort;
            QVERIFY(deviceForComPort(noSuchPort).isEmpty());
        } else if (situation == "held") {
            holder.setPortNumber(1);
            QVERIFY(!holder.open());
        } else if (situation == "not a tty") {
            QFile::remove(modem->linkPath());
            QVERIFY(QFile::link("/dev/null", modem->linkPath()));
        }
    }
};

QTEST_GUILESS_MAIN(ModemLinkTest)
#include "tst_modem_link.moc"
