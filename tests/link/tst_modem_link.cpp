// The modem link: which device "Com N" is, and, through the real serial port
// to the virtual modem on a pseudo-terminal, the AT exchange, the connection
// check, the relay command, the factory defaults, and what the user is told
// when the port fails.
#include "AtExchange.h"
#include "LinkState.h"
#include "ModemLink.h"
#include "ModemView.h"
#include "PortErrors.h"
#include "PortNames.h"
#include "PortsFolderLink.h"
#include "SerialPort.h"
#include "VirtualModem.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimeZone>
#include <QtTest>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString connecting = "status: Modem Connecting...", connected = "status: Modem Connected",
              disconnected = "status: Modem Disconnected";
const QStringList markers{"AT", "OK"};
const QByteArray exchanged = "AT\xE9"; // beyond ASCII: text is Latin-1 both ways

// Stands in for the main window: records what an operation shows, in order,
// with ModemConnected at each moment; a box is answered at once.
struct RecordingView : ModemView {
    QStringList events;
    QList<bool> connectedAt;
    int pumps = 0;
    std::function<void(const QString&)> onStatus; // lets a test act midway

    void record(const QString& event) {
        events << event;
        connectedAt << linkState().ModemConnected;
    }
    void setStatusText(const QString& text) override {
        record("status: " + text);
        if (onStatus)
            onStatus(text);
    }
    void setFramesEnabled(bool on) override { record(on ? "frames: on" : "frames: off"); }
    void showModemError(const QString& text) override { record("error: " + text); }
    void pumpEvents() override {
        ++pumps;
        QCoreApplication::processEvents();
    }
};
} // namespace

// A reply, how it comes (delayed, in pieces 40 ms apart) and how the collection must end.
struct Reply {
    CompletionRule rule;
    bool echo;
    QByteArray bytes;
    int delayMs, chunkBytes;
    QByteArray collected;
    bool timedOut, answered;
};
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
};
Q_DECLARE_METATYPE(Reply)
Q_DECLARE_METATYPE(CheckRow)
Q_DECLARE_METATYPE(FailureRow)

class ModemLinkTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    std::unique_ptr<SerialPort> port;
    std::unique_ptr<VirtualModem> modem;
    std::unique_ptr<PortsFolderLink> com1;
    RecordingView view;

    // The command lines the modem received, once it has seen count of them.
    QStringList lines(qsizetype count) const {
        modem->waitForLines(int(count), 1000);
        QStringList texts;
        for (const auto& received : modem->received())
            texts << QString::fromLatin1(received.line);
        return texts;
    }

private slots:
    // A home of its own: the test mode's ports folder lies under it, so test
    // programs running at the same time cannot relink each other's ports.
    void initTestCase() {
        qputenv("HOME", QFile::encodeName(home.path()));
        QStandardPaths::setTestModeEnabled(true);
    }
    void init() {
        port = std::make_unique<SerialPort>();
        modem = std::make_unique<VirtualModem>();
        com1 = std::make_unique<PortsFolderLink>(modem->devicePath(), 1);
        port->setPortNumber(1);
        view = RecordingView();
        linkState().CommPortNumber = 1;
        linkState().ModemConnected = true; // as after an earlier check
    }

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
        QVERIFY(QFile::link(device.fileName(), folder.filePath("alias")));
        QVERIFY(QFile::link(folder.filePath("alias"), folder.filePath("com2"))); // resolved fully
        QVERIFY(QFile::link("/dev/tavek-gone", folder.filePath("com4")));
        const QStringList listed{"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS0"};
        const QStringList expected{
            "",           modem->devicePath(), QFileInfo(device).canonicalFilePath(),
            "/dev/ttyS0", "/dev/tavek-gone",   ""};
        for (int n = 0; n < expected.size(); ++n)
            QCOMPARE(deviceForComPort(n, listed), expected[n]);
    }

    // QSerialPort reports busy and denied alike: only its text tells them apart.
    void busyAndNotPermittedAreToldApart() {
        const auto failure = [](int code) {
            const QString text = QString::fromLocal8Bit(std::strerror(code));
            return classifyOpenFailure(QSerialPort::PermissionError, text, "/dev/x");
        };
        QCOMPARE(failure(EBUSY).number, PortInUseError);
        QCOMPARE(failure(EPERM).number, 0);
        QVERIFY(failure(EPERM).accessDenied);
    }

    void clockShowsShortDateAndLongTimeWithoutZone() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString text =
            clockText(QDateTime({2026, 12, 6}, {14, 3, 22}, QTimeZone("Europe/Prague")));
        QLocale::setDefault(QLocale::c());
        QVERIFY2(text.startsWith("12/6/26 2:03:22") && text.endsWith("PM"), qPrintable(text));
    }

    void completionRules_data() {
        QTest::addColumn<Reply>("reply");
        using R = CompletionRule;
        const QByteArray ok = "\r\nOK\r\n";
        const auto row = [](const char* name, Reply reply) { QTest::newRow(name) << reply; };
        row("length: 4 go on", {R::Length, false, "OK\r\n", 0, 0, "OK\r\n", true, true});
        row("length: 5 end", {R::Length, false, "OK\r\n\xFF", 0, 0, "OK\r\n\xFF", false, true});
        row("length: 5 in pieces", {R::Length, false, "OK\r\nXYZ", 0, 2, "OK\r\nXY", false, true});
        row("draining: prompt", {R::Draining, true, ok, 0, 0, exchanged + "\r" + ok, false, true});
        row("draining: 100 ms late", {R::Draining, true, ok, 100, 0, "", false, false});
        row("marker: OK in pieces", {R::Marker, false, ok, 0, 1, "\r\nOK", false, true});
        row("marker: ok fails", {R::Marker, false, "\r\nok\r\n", 0, 0, "\r\nok\r\n", true, false});
        row("marker: echo only counts", {R::Marker, true, "", 0, 0, exchanged + "\r", true, true});
        row("marker: silence", {R::Marker, false, "", 0, 0, "", true, false});
    }
    void completionRules() {
        QFETCH(Reply, reply);
        modem->setEcho(reply.echo);
        modem->setReplyFor(exchanged, reply.bytes);
        modem->setReplyDelayMs(reply.delayMs);
        modem->setChunks(reply.chunkBytes, 40);
        const QString command = QString::fromLatin1(exchanged);
        const QString collected = QString::fromLatin1(reply.collected);
        // A busy machine can hold the modem's thread up past the exchange's
        // 10 ms waits, so a row gets three tries. What a try leaves coming is
        // lost while the port is closed.
        ExchangeOutcome outcome{};
        int tries = 0;
        do {
            if (tries++ > 0) {
                port->close();
                QTest::qWait(500);
            }
            QVERIFY(!port->open());
            outcome = runAtExchange(*port, view, {command, 400, reply.rule, true, markers});
        } while (linkState().ReplyBuffer != collected && tries < 3);

        QCOMPARE(linkState().ReplyBuffer, collected);
        QCOMPARE(outcome,
                 reply.answered ? ExchangeOutcome::Answered : ExchangeOutcome::NotAnswered);
        QCOMPARE(linkState().SendTime.nsecsElapsed() > 400'000'000, reply.timedOut);
        QCOMPARE(lines(tries), QStringList(tries, command));
    }

    void readsOnceEvenPastTheTimeout() {
        QVERIFY(!port->open());
        QVERIFY(writeCommandLine(*port, "AT"));
        QTRY_COMPARE(port->charactersWaiting(), 9); // "AT\r\r\nOK\r\n"; a time-out of 0 has passed
        QVERIFY(collectReply(*port, view, {"AT", 0, CompletionRule::Marker, false, markers}));
        QCOMPARE(linkState().ReplyBuffer, "AT\r\r\nOK\r\n");
        QCOMPARE(view.pumps, 0);
    }

    void connectionCheck_data() {
        QTest::addColumn<CheckRow>("row");
        const auto row = [](const char* name, CheckRow r) { QTest::newRow(name) << r; };
        row("echo and OK", {true, 0, {}, {"AT"}, true});
        row("at counts", {false, 0, "\r\nat\r\n", {"AT"}, true});
        row("OK to the second AT only, after a lone CR", {true, 2, {}, {"AT", "", "AT"}, true});
        row("silence: two attempts", {false, 0, "", {"AT", "", "AT", ""}, false});
    }
    void connectionCheck() {
        QFETCH(CheckRow, row);
        modem->setEcho(row.echo);
        modem->setAnswerOnlyAttempt(row.answerOnlyAttempt);
        if (!row.reply.isNull())
            modem->setReplyFor("AT", row.reply);

        ConnectModem(*port, view);

        const QStringList answered{connecting, "frames: on", connected};
        const QStringList silent{connecting, "error: Modem not connected", disconnected};
        QCOMPARE(view.events, row.success ? answered : silent);
        QCOMPARE(linkState().ModemConnected, row.success);
        QCOMPARE(port->isOpen(), row.success);
        // False from the start of the check until its success.
        QVERIFY(!view.connectedAt.mid(1, view.connectedAt.size() - 2).contains(true));
        QCOMPARE(view.pumps, 0); // the window stays still during the check
        QCOMPARE(lines(row.lines.size()), row.lines);
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
        modem->setEcho(!lowerCase);
        modem->setLowerCase(lowerCase);
        modem->setReplyDelayMs(delayMs);
        linkState().RelayCommand() = command;
        QElapsedTimer outcomeShown;
        view.onStatus = [&](const QString& text) {
            if (text.endsWith("!") || text.endsWith("...OK"))
                outcomeShown.start();
        };
        const QString sending = "status: Modem Connected, sending relay string";
        const bool answered = !lowerCase && delayMs == 0;
        const QString outcome = sending + (answered ? "...OK" : "...Failed!");

        // A busy machine can hold the modem's thread up past the 10 ms that the
        // draining rule waits, so an answer gets three tries.
        int tries = 0;
        do {
            ++tries;
            view.events.clear();
            QVERIFY(!port->open()); // open before, as after a connection check
            SendRelayString(*port, view);
        } while (view.events.value(1) != outcome && tries < 3);

        QVERIFY(outcomeShown.nsecsElapsed() > 200'000'000); // the pause after the reply
        QCOMPARE(view.events, (QStringList{sending + "...", outcome, connected}));
        QVERIFY(!port->isOpen());
        QVERIFY(linkState().ModemConnected);
        QVERIFY(view.pumps > 0);
        QCOMPARE(lines(tries), QStringList(tries, command));
    }

    void factoryDefaults_data() {
        QTest::addColumn<QByteArray>("failing"); // a command the modem answers with "ok"
        QTest::newRow("all answer") << QByteArray();
        QTest::newRow("the third fails, the rest go on") << QByteArray("ATS0=1");
    }
    void factoryDefaults() {
        QFETCH(QByteArray, failing);
        const QStringList commands{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"};
        modem->setEcho(false); // the echo alone would pass a command
        if (!failing.isEmpty())
            modem->setReplyFor(failing, "\r\nok\r\n");
        QVERIFY(!port->open());

        SendDefaultString(*port, view);

        QStringList expected{"status: Modem Connected, sending default string..."};
        for (int n = 1; n <= 5; ++n) {
            const QString step = "status: Modem Connected, sending default string no. %1%2";
            const bool fails = commands[n - 1] == failing;
            expected << step.arg(n).arg("...") << step.arg(n).arg(fails ? "...Failed!" : "...OK");
        }
        QCOMPARE(view.events, expected << connected);
        QVERIFY(!port->isOpen());
        QCOMPARE(lines(5), commands);
        const auto received = modem->received();
        for (size_t i = 1; i < received.size(); ++i)
            QVERIFY(received[i].at - received[i - 1].at > std::chrono::milliseconds(200));
    }

    // A port that cannot be opened, or is lost midway, ends the operation at
    // once: nothing more is sent, the port is released, the user learns why.
    void portFailures_data() {
        QTest::addColumn<FailureRow>("row");
        const QString notValid = "Serial port not valid$", inUse = "Modem already in use$",
                      notTty = "Cannot open /dev/null: [^\n]+$",
                      lost = "The connection through /dev/pts/\\d+ was lost: ";
        const auto row = [](const char* name, FailureRow r) { QTest::newRow(name) << r; };
        row("check: missing device", {Connect, "/dev/tavek-none", notValid, {}});
        row("check: no port numbered", {Connect, "Com 200", notValid, {}});
        row("check: held", {Connect, "held", inUse, {}});
        row("check: not a tty", {Connect, "/dev/null", notTty, {}});
        row("check: denied", {Connect, "denied", "Cannot open /dev/pts/\\d+: .*dialout", {}});
        row("check: pulled out", {Connect, "hang up after 2", lost, {"AT"}});
        row("relay: no port numbered", {Relay, "Com 200", notValid, {}});
        row("relay: held", {Relay, "held", inUse, {}});
        row("relay: pulled out first", {Relay, "pull at: relay string...", notValid, {}});
        row("defaults: not a tty", {Defaults, "/dev/null", notTty, {}});
        row("defaults: pulled out after one", {Defaults, "pull at: no. 2...", lost, {"AT&F"}});
    }
    void portFailures() {
        QFETCH(FailureRow, row);
        SerialPort holder;
        if (row.situation.startsWith("/dev/")) {
            QFile::remove(com1->linkPath());
            QVERIFY(QFile::link(row.situation, com1->linkPath()));
        } else if (row.situation == "Com 200") {
            linkState().CommPortNumber = 200;
        } else if (row.situation == "held") {
            holder.setPortNumber(1);
            QVERIFY(!holder.open());
        } else if (row.situation == "denied") {
            QCOMPARE(::chmod(QFile::encodeName(modem->devicePath()), 0), 0);
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
        } else if (row.situation == "hang up after 2") {
            modem->hangUpAfterBytes(2);
        } else {
            view.onStatus = [this, when = row.situation.mid(9)](const QString& text) {
                if (text.endsWith(when))
                    modem->hangUp();
            };
        }
        QElapsedTimer took;
        took.start();

        row.operation == Connect ? ConnectModem(*port, view)
        : row.operation == Relay ? SendRelayString(*port, view)
                                 : SendDefaultString(*port, view);

        QVERIFY(took.elapsed() < 1500); // at once, with a wide margin
        const QStringList errors = view.events.filter(QRegularExpression("^error: "));
        QCOMPARE(errors.size(), 1);
        const QRegularExpression expected("^error: " + row.error,
                                          QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(expected.match(errors[0]).hasMatch(), qPrintable(errors[0]));
        QCOMPARE(view.events.last(), row.operation == Connect ? disconnected : connected);
        QCOMPARE(linkState().ModemConnected, row.operation != Connect);
        QVERIFY(!port->isOpen());
        QCOMPARE(lines(row.lines.size()), row.lines);
    }
};

QTEST_GUILESS_MAIN(ModemLinkTest)
#include "tst_modem_link.moc"
