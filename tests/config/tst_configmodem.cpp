// The six operations through the real serial port, against the virtual
// modem on a pseudo-terminal reached as "Com 1".
#include "ConfigOperations.h"
#include "ConfigText.h"
#include "DefaultInputs.h"
#include "InputRecords.h"
#include "LinkState.h"
#include "ModemDumps.h"
#include "PortsFolderLink.h"
#include "RecordingConfigView.h"
#include "SerialPort.h"
#include "VirtualModem.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <functional>
#include <memory>

using namespace std::chrono_literals;
using Clock = VirtualModem::Clock;
using Operation = std::function<void(SerialPort&, RecordingConfigView&)>;
Q_DECLARE_METATYPE(Operation)

namespace {

// A virtual modem linked as "Com 1", the port, and a window that records.
struct Bench {
    VirtualModem modem;
    PortsFolderLink comLink{modem.devicePath(), 1};
    SerialPort port;
    RecordingConfigView view;

    explicit Bench(bool echo = true) {
        modem.setEcho(echo);
        linkState().CommPortNumber = 1;
    }

    QStringList lines() const {
        QStringList out;
        for (const auto& r : modem.received())
            out << QString::fromLatin1(r.line);
        return out;
    }

    // Gaps between the command lines as they reached the modem.
    QList<Clock::duration> gaps() const {
        const auto received = modem.received();
        QList<Clock::duration> out;
        for (size_t i = 1; i < received.size(); ++i)
            out << received[i].at - received[i - 1].at;
        return out;
    }
};

// The modem stamps a line when its thread gets to read it, which a busy
// machine can delay by some milliseconds; the bounds allow for that.
constexpr auto pauseBound = 150ms;       // the pause after a reply: more than 200 ms
constexpr auto initialWaitBound = 300ms; // the readers' first wait: more than 400 ms

// The outcome of each step, which depends on how fast the modem answered
// (the draining rule stops at the first read that leaves nothing waiting),
// replaced by "<outcome>" once it is seen to be one of the two.
QStringList withOutcomesMasked(QStringList texts) {
    for (QString& t : texts) {
        if (t.endsWith("...OK"))
            t.chop(2);
        else if (t.endsWith("...Failed!"))
            t.chop(7);
        else
            continue;
        t += "<outcome>";
    }
    return texts;
}

void verifyAllGapsAbove(const QList<Clock::duration>& gaps, Clock::duration floor) {
    for (const auto& gap : gaps)
        QVERIFY2(gap > floor,
                 qPrintable(QStringLiteral("gap of %1 ms")
                                .arg(std::chrono::duration<double, std::milli>(gap).count())));
}

InputsConfig customPanels() {
    InputsConfig panels;
    panels[0] = InputConfig{InputStatus::Active,  RestState::NormallyOpen,
                            BitMode::Single,      3,
                            typed("SMOKE ALARM"), typed("BOOK")};
    panels[1] = InputConfig{InputStatus::Disactive,   RestState::NormallyClosed,
                            BitMode::Double,          10,
                            typed(R"(He said "hi")"), typed(QStringLiteral("café  OK "))};
    panels[2] = InputConfig{InputStatus::Active,
                            RestState::NormallyClosed,
                            BitMode::Single,
                            0,
                            typed("+EGINP: AT+EGINP?"),
                            typed("")};
    return panels;
}

QStringList describeGrid(const RecordingConfigView& view) {
    QStringList rows;
    for (int p = 1; p <= PhoneBookSize; ++p) {
        if (!view.grid[p].isEmpty())
            rows << QStringLiteral("%1:%2").arg(p).arg(view.grid[p]);
    }
    return rows;
}

} // namespace

class ConfigModemTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // "Com 1" is a link in the ports folder under the home folder. Other
        // test programs may run at the same time and link their own modems
        // as "Com 1", so this one keeps a home of its own.
        QVERIFY(home_.isValid());
        qputenv("HOME", QFile::encodeName(home_.path()));
        QStandardPaths::setTestModeEnabled(true);
    }

    void inputsRoundTrip_data() {
        QTest::addColumn<bool>("echo");
        QTest::addColumn<InputsConfig>("panels");
        QTest::addColumn<QStringList>("readBack");

        const QString empty = QStringLiteral("0 0 O S [] []");
        QTest::newRow("start-up, echo")
            << true << InputsConfig{} << QStringList{empty, empty, empty};
        QTest::newRow("start-up, no echo")
            << false << InputsConfig{} << QStringList{empty, empty, empty};
        QTest::newRow("quotes, OK, prefixes and Latin-1 come back whole")
            << true << customPanels() << describe(customPanels());
    }

    void inputsRoundTrip() {
        QFETCH(bool, echo);
        QFETCH(InputsConfig, panels);
        QFETCH(QStringList, readBack);
        Bench bench(echo);
        bench.view.inputs = panels;

        clickSendInputs(bench.port, bench.view);
        QCOMPARE(bench.lines(), inputRecords(panels));
        verifyAllGapsAbove(bench.gaps(), pauseBound);
        QVERIFY(bench.port.isOpen());

        QStringList expectedStatus = {"Modem Connected, sending..."};
        for (int n = 1; n <= 3; ++n) {
            expectedStatus
                << QStringLiteral("Modem Connected, sending Input %1...").arg(n)
                << QStringLiteral("Modem Connected, sending Input %1...<outcome>").arg(n)
                << QStringLiteral("Modem Connected, sending Message %1...<outcome>").arg(n)
                << QStringLiteral("Modem Connected, sending Message %1...<outcome>").arg(n);
        }
        expectedStatus << "Modem Connected";
        QCOMPARE(withOutcomesMasked(bench.view.statusTexts), expectedStatus);
        QVERIFY(!bench.view.controlsOnAtStatus.contains(true));
        QCOMPARE(bench.view.toolbarEnabled, (QList<bool>{false, true}));
        QCOMPARE(bench.view.framesEnabled, (QList<bool>{false, true}));

        bench.view.inputs = {}; // what the panels show before the read no longer matters
        bench.view.inputs[1].single = typed("stale");
        bench.view.statusTexts.clear();
        bench.modem.clearReceived();
        GetInputs(bench.port, bench.view);
        const Clock::time_point done = Clock::now();
        QCOMPARE(describe(bench.view.inputs), readBack);
        QCOMPARE(bench.lines(), QStringList{"AT+EGINP?"});
        QVERIFY(done - bench.modem.received().front().at > initialWaitBound);
        QVERIFY(!bench.port.isOpen());
        QVERIFY(bench.view.statusTexts.isEmpty());
        QCOMPARE(linkState().RelayCommand(), "AT+EGINP?");
    }

    void phoneBookRoundTrip_data() {
        QTest::addColumn<bool>("echo");
        QTest::newRow("echo") << true;
        QTest::newRow("no echo") << false;
    }

    void phoneBookRoundTrip() {
        QFETCH(bool, echo);
        Bench bench(echo);
        bench.view.grid[1] = "+393351234567";
        bench.view.grid[2] = "++39+1";
        bench.view.grid[20] = "0039";

        clickSetNumbers(bench.port, bench.view);
        const QStringList lines = bench.lines();
        QCOMPARE(lines.size(), 20);
        QCOMPARE(lines[0], R"(AT+EGPHN=1,"+393351234567",128)");
        QCOMPARE(lines[2], "AT+EGPHN=3");
        QCOMPARE(lines[19], R"(AT+EGPHN=20,"0039",128)");
        QCOMPARE(bench.modem.phoneBook()[1], "++39+1");
        verifyAllGapsAbove(bench.gaps(), pauseBound);
        QVERIFY(!bench.port.isOpen());
        QCOMPARE(bench.view.statusTexts[0], "Modem Connected, sending Phone Number pos. 1...OK");
        QCOMPARE(bench.view.statusTexts[19], "Modem Connected, sending Phone Number pos. 20...OK");
        QCOMPARE(bench.view.status(), "Modem Connected");
        QVERIFY(!bench.view.controlsOnAtStatus.contains(true));
        QVERIFY(bench.view.controlsOn());

        bench.view.grid = {};
        bench.view.grid[7] = "+typed"; // a row the modem does not list keeps its text
        bench.modem.clearReceived();
        GetNumbers(bench.port, bench.view);
        QCOMPARE(bench.lines(), QStringList{"AT+EGPHN?"});
        QCOMPARE(describeGrid(bench.view),
                 (QStringList{"1:+393351234567", "2:++39+1", "7:+typed", "20:0039"}));
        QVERIFY(Clock::now() - bench.modem.received().front().at > initialWaitBound);
        QVERIFY(!bench.port.isOpen());
    }

    void phoneBookReplies_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("order 5, 2, 9")
            << phoneDump({R"(5,"+395",128)", R"(2,"+392",128)", R"(9,"+399",128)"}, false)
            << QStringList{"2:+392", "5:+395", "7:+typed", "9:+399"};
        QTest::newRow("without plus, other types, outside 1-20")
            << phoneDump(
                   {R"(0,"+390",128)", R"(3,"0039",129)", R"(21,"+3921",145)", R"(4,"+394",145)"},
                   false)
            << QStringList{"3:0039", "4:+394", "7:+typed"};
        // An empty reply here leaves the modem's own listing, in small letters.
        QTest::newRow("lower-case phn") << QByteArray() << QStringList{"7:+typed"};
    }

    void phoneBookReplies() {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, rows);
        Bench bench;
        bench.modem.setPhoneBook({"+391", "+392"});
        if (reply.isEmpty())
            bench.modem.setLowerCase(true);
        else
            bench.modem.setReplyFor("AT+EGPHN?", reply);
        bench.view.grid[7] = "+typed";
        GetNumbers(bench.port, bench.view);
        QCOMPARE(describeGrid(bench.view), rows);
        QCOMPARE(bench.view.rowsWrittenOutsideBook, 0);
    }

    void replyCutByAGapGivesTheWholeLinesBeforeIt_data() {
        QTest::addColumn<Operation>("read");
        QTest::addColumn<int>("firstPiece");
        QTest::addColumn<QStringList>("panelsAndRows");

        const QString startup = describe(InputConfig{});
        // The echo and the first entry with its line feed, then 6 bytes of the second.
        QTest::newRow("phone book") << Operation(GetNumbers) << 40
                                    << QStringList{startup, startup, startup, "1:+391", "3:+typed"};
        // The echo, the settings and first message of input 1, then part of the second.
        QTest::newRow("inputs") << Operation(GetInputs) << 71
                                << QStringList{"1 4 O D [GONE] [Type here your message]*", startup,
                                               startup, "3:+typed"};
    }

    void replyCutByAGapGivesTheWholeLinesBeforeIt() {
        QFETCH(Operation, read);
        QFETCH(int, firstPiece);
        QFETCH(QStringList, panelsAndRows);
        Bench bench;
        bench.modem.setPhoneBook({"+391", "+392", "+393"});
        auto inputs = bench.modem.inputs();
        inputs[0] = {1, 4, 'O', 'D', "GONE", "BACK"};
        bench.modem.setInputs(inputs);
        // The first piece arrives at once, the next long after the read began.
        bench.modem.setChunks(firstPiece, 700);
        bench.view.grid[3] = "+typed";

        read(bench.port, bench.view);
        QCOMPARE(describe(bench.view.inputs) + describeGrid(bench.view), panelsAndRows);
    }

    void defaultSettingsEmptyTheModem() {
        // The toolbar's "Set default settings": the grid and the modem's phone
        // book emptied, then the default inputs written.
        Bench bench;
        bench.modem.setPhoneBook({"+391", "+392"});
        bench.view.grid[1] = "+391";
        bench.view.grid[2] = "+392";

        DeleteNumbers(bench.view);
        QVERIFY(bench.lines().isEmpty());
        QCOMPARE(describeGrid(bench.view), QStringList{});
        QCOMPARE(bench.view.statusTexts.size(), 20);
        QCOMPARE(bench.view.status(), "Modem Connected, deleting Phone Number pos. 20...OK");
        QVERIFY(bench.view.pumps >= 20000);

        SetNumbers(bench.port, bench.view);
        QStringList bare;
        for (int p = 1; p <= 20; ++p)
            bare << QStringLiteral("AT+EGPHN=%1").arg(p);
        QCOMPARE(bench.lines(), bare);
        QVERIFY(bench.modem.phoneBook() == (std::array<QByteArray, 20>{}));

        bench.modem.clearReceived();
        LoadDefaultMessages(bench.view);
        SendInputs(bench.port, bench.view);
        QCOMPARE(bench.lines(), inputRecords(withDefaultMessages(InputsConfig{})));
        QCOMPARE(bench.modem.inputs()[1].messageC, "ALLARME  2 ON");
        QCOMPARE(bench.modem.inputs()[1].status, 0);
    }

    void silentModemFailsEveryStepAndTheUploadGoesOn_data() {
        QTest::addColumn<Operation>("upload");
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("portOpenAfter");

        QTest::newRow("inputs") << Operation(SendInputs) << "sending" << 9 << true;
        QTest::newRow("numbers") << Operation(SetNumbers) << "sending Phone Number" << 20 << false;
    }

    void silentModemFailsEveryStepAndTheUploadGoesOn() {
        QFETCH(Operation, upload);
        QFETCH(QString, step);
        QFETCH(int, steps);
        QFETCH(bool, portOpenAfter);
        Bench bench;
        bench.modem.setSilent(true);

        upload(bench.port, bench.view);
        QCOMPARE(bench.lines().size(), steps);
        const QStringList outcomes =
            bench.view.statusTexts.filter(QRegularExpression("\\.\\.\\.[A-Z]"));
        QCOMPARE(outcomes.size(), steps);
        QCOMPARE(outcomes
                     .filter(QRegularExpression("^Modem Connected, " + step +
                                                ".*[0-9]\\.\\.\\.Failed!$"))
                     .size(),
                 steps);
        QCOMPARE(bench.view.status(), "Modem Connected");
        QCOMPARE(bench.port.isOpen(), portOpenAfter);
        QVERIFY(bench.view.errorBoxes.isEmpty());
    }

    void uploadsStopOnAPortThatFails_data() {
        QTest::addColumn<Operation>("click");
        QTest::addColumn<bool>("lostMidway");
        QTest::addColumn<int>("mostLines");

        const Operation inputs = [](SerialPort& p, RecordingConfigView& v) {
            clickSendInputs(p, v);
        };
        const Operation numbers = [](SerialPort& p, RecordingConfigView& v) {
            clickSetNumbers(p, v);
        };
        QTest::newRow("inputs, cannot open") << inputs << false << 0;
        QTest::newRow("numbers, cannot open") << numbers << false << 0;
        QTest::newRow("inputs, lost midway") << inputs << true << 8;
        QTest::newRow("numbers, lost midway") << numbers << true << 19;
    }

    void uploadsStopOnAPortThatFails() {
        QFETCH(Operation, click);
        QFETCH(bool, lostMidway);
        QFETCH(int, mostLines);
        Bench bench;
        if (lostMidway)
            bench.modem.hangUpAfterBytes(3); // during the first reply
        else
            linkState().CommPortNumber = 32000; // no machine has a "Com 32000"

        click(bench.port, bench.view);
        QVERIFY(bench.lines().size() <= mostLines);
        QCOMPARE(bench.view.errorBoxes.size(), 1);
        QVERIFY(!bench.view.errorBoxes[0].isEmpty());
        QVERIFY(!bench.port.isOpen());
        QCOMPARE(bench.view.status(), "Modem Connected");
        QVERIFY(bench.view.controlsOn());
    }

    void readersLeaveTheWindowOnAPortThatFails_data() {
        QTest::addColumn<Operation>("read");
        QTest::addColumn<bool>("lostMidway");

        const Operation inputs = [](SerialPort& p, RecordingConfigView& v) { GetInputs(p, v); };
        const Operation numbers = [](SerialPort& p, RecordingConfigView& v) { GetNumbers(p, v); };
        QTest::newRow("inputs, cannot open") << inputs << false;
        QTest::newRow("numbers, cannot open") << numbers << false;
        QTest::newRow("inputs, lost midway") << inputs << true;
        QTest::newRow("numbers, lost midway") << numbers << true;
    }

    void readersLeaveTheWindowOnAPortThatFails() {
        QFETCH(Operation, read);
        QFETCH(bool, lostMidway);
        Bench bench;
        bench.modem.setPhoneBook({"+391", "+392"});
        if (lostMidway)
            bench.modem.hangUpAfterBytes(40);
        else
            bench.modem.hangUp();
        bench.view.inputs[0].single = typed("mine");
        bench.view.grid[1] = "+typed";
        const InputsConfig before = bench.view.inputs;

        read(bench.port, bench.view);
        QCOMPARE(describe(bench.view.inputs), describe(before));
        QCOMPARE(describeGrid(bench.view), QStringList{"1:+typed"});
        QVERIFY(bench.view.errorBoxes.isEmpty());
        QVERIFY(bench.view.statusTexts.isEmpty());
        QVERIFY(!bench.port.isOpen());
    }

private:
    QTemporaryDir home_;
};

QTEST_GUILESS_MAIN(ConfigModemTest)
#include "tst_configmodem.moc"
