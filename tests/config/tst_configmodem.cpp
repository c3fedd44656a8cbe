// The six operations through the real serial port, against the virtual
// modem on a pseudo-terminal reached as "Com 1".
#include "ConfigOperations.h"
#include "ConfigText.h"
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

using namespace std::chrono_literals;
using Operation = std::function<void(SerialPort&, ConfigView&)>;
Q_DECLARE_METATYPE(Operation)

namespace {

// The modem stamps a line when its thread reads it, which a busy machine can
// delay by some milliseconds; the bounds allow for that.
constexpr auto pauseBound = 150ms;       // the pause after a reply: more than 200 ms
constexpr auto initialWaitBound = 300ms; // the readers' first wait: more than 400 ms

// A virtual modem linked as "Com 1", the port, and a window that records.
struct Bench {
    VirtualModem modem;
    PortsFolderLink comLink{modem.devicePath(), 1};
    SerialPort port;
    RecordingConfigView view;

    explicit Bench(bool echo = true) {
        modem.setEcho(echo);
        modem.setPhoneBook({"+391", "+392", "+393"});
        auto inputs = modem.inputs();
        inputs[0] = {1, 4, 'O', 'D', "GONE", "BACK"};
        modem.setInputs(inputs);
        linkState().CommPortNumber = 1;
    }
    QStringList lines() const {
        QStringList out;
        for (const auto& r : modem.received())
            out << QString::fromLatin1(r.line);
        return out;
    }
    void verifyPausesAbove(VirtualModem::Clock::duration floor) const {
        const auto r = modem.received();
        for (size_t i = 1; i < r.size(); ++i)
            QVERIFY2(r[i].at - r[i - 1].at > floor, qPrintable(QString::number(i)));
    }
    // The panels and the filled rows of the grid, as one list.
    QStringList window() const {
        QStringList out = describe(view.inputs);
        for (int p = 1; p <= PhoneBookSize; ++p)
            if (!view.grid[p].isEmpty())
                out << QStringLiteral("%1:%2").arg(p).arg(view.grid[p]);
        return out;
    }
};

const QString empty = QStringLiteral("0 0 O S [] []");
const QString kept = QStringLiteral("1 5 C D [keep S] [keep D]");

QList<QByteArray> inputLines(const QList<QByteArray>& changes = {}) {
    QList<QByteArray> lines = {R"(1,1,00003,"O","S")", R"(1,"C","FIRE")", R"(1,"O","FIRE OFF")",
                               R"(2,0,00010,"C","D")", R"(2,"C","X")",    R"(2,"O","Y")",
                               R"(3,0,00000,"O","S")", R"(3,"C","")",     R"(3,"O","")"};
    for (const QByteArray& line : changes) // each change replaces the line of its input and field
        lines[(line[0] - '1') * 3 + (line[2] == '"' ? (line[3] == 'C' ? 1 : 2) : 0)] = line;
    return lines;
}

} // namespace

class ConfigModemTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Other test programs may link their own modems as "Com 1" in the
        // ports folder at the same time, so this one keeps a home of its own.
        QVERIFY(home_.isValid());
        qputenv("HOME", QFile::encodeName(home_.path()));
        QStandardPaths::setTestModeEnabled(true);
    }

    void roundTrip_data() {
        QTest::addColumn<bool>("echo");
        QTest::addColumn<InputsConfig>("panels");
        QTest::addColumn<QStringList>("readBack");

        const QStringList empties = {empty, empty, empty};
        QTest::newRow("start-up, echo") << true << InputsConfig{} << empties;
        QTest::newRow("start-up, no echo") << false << InputsConfig{} << empties;
        // Mend: "OK", quotes, the prefix and the query inside messages come back whole.
        const InputsConfig custom = {
            InputConfig{InputStatus::Active, RestState::NormallyOpen, BitMode::Single, 3,
                        typed("SMOKE ALARM"), typed("BOOK")},
            InputConfig{InputStatus::Disactive, RestState::NormallyClosed, BitMode::Double, 10,
                        typed(R"(He said "hi", OK)"), typed("café  OK ")},
            InputConfig{InputStatus::Active, RestState::NormallyClosed, BitMode::Single, 0,
                        typed("+EGINP: AT+EGINP?"), typed("")}};
        QTest::newRow("mended messages") << true << custom << describe(custom);
    }

    // Both "Set" buttons, then both reads: the panels and the grid come back.
    void roundTrip() {
        QFETCH(bool, echo);
        QFETCH(InputsConfig, panels);
        QFETCH(QStringList, readBack);
        Bench bench(echo);
        bench.view.inputs = panels;
        bench.view.grid[1] = "+393351234567";
        bench.view.grid[2] = "++39+1";
        bench.view.grid[20] = "0039";

        clickSendInputs(bench.port, bench.view);
        QVERIFY(bench.port.isOpen());
        QString expected = "Modem Connected, sending...";
        for (int n = 1; n <= 3; ++n)
            expected += QStringLiteral("|%2 Input %1...|%2 Input %1...#|%2 Message %1...#"
                                       "|%2 Message %1...#")
                            .arg(n)
                            .arg("Modem Connected, sending");
        // Each input step's outcome depends on how fast the modem answered
        // (the draining rule stops at the first read that leaves nothing waiting).
        QCOMPARE(bench.view.statusTexts.join('|').replace(
                     QRegularExpression(R"(\.\.\.(OK|Failed!)(?=\||$))"), "...#"),
                 expected + "|Modem Connected");
        bench.view.statusTexts.clear();

        clickSetNumbers(bench.port, bench.view);
        const QStringList lines = bench.lines();
        QCOMPARE(lines.size(), 29);
        QCOMPARE(lines[9] + lines[11] + lines[28],
                 R"(AT+EGPHN=1,"+393351234567",128AT+EGPHN=3AT+EGPHN=20,"0039",128)");
        bench.verifyPausesAbove(pauseBound);
        QVERIFY(!bench.port.isOpen());
        QCOMPARE(bench.view.statusTexts[0], "Modem Connected, sending Phone Number pos. 1...OK");
        QCOMPARE(bench.view.statusTexts[19], "Modem Connected, sending Phone Number pos. 20...OK");
        QCOMPARE(bench.view.status(), "Modem Connected");
        QVERIFY(bench.view.controlsOffAtEveryStatus);
        QCOMPARE(bench.view.toolbarEnabled + bench.view.framesEnabled,
                 (QList<bool>{false, true, false, true, false, true, false, true}));

        bench.view = {};
        bench.view.inputs[1].singleMessage = typed("stale");
        bench.view.grid[7] = "+typed"; // a row the modem does not list keeps its text
        bench.modem.clearReceived();
        GetInputs(bench.port, bench.view);
        GetNumbers(bench.port, bench.view);
        QCOMPARE(bench.lines(), (QStringList{"AT+EGINP?", "AT+EGPHN?"}));
        QCOMPARE(bench.window(),
                 readBack + QStringList({"1:+393351234567", "2:++39+1", "7:+typed", "20:0039"}));
        bench.verifyPausesAbove(initialWaitBound);
        QVERIFY(VirtualModem::Clock::now() - bench.modem.received().back().at > initialWaitBound);
        QVERIFY(!bench.port.isOpen());
        QVERIFY(bench.view.statusTexts.isEmpty());
    }

    // Replies in place of the modem's own (none: its own listing), after its
    // echo, whole or cut by a gap after firstPiece bytes; the window held "kept"
    // in every panel and "+typed" in row 7 before.
    void readersTakeWhatTheReplySays_data() {
        QTest::addColumn<Operation>("read");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("firstPiece");
        QTest::addColumn<QString>("window");

        const Operation inputs = GetInputs, numbers = GetNumbers;
        const QByteArray listing = modemDump("AT+EGINP?", inputLines(), false);
        const QString keptAll = kept + " | " + kept + " | " + kept + " | 7:+typed";
        const QString keptPanels = keptAll.chopped(8);
        QTest::newRow("inputs") << inputs << listing << 0
                                << "1 3 O S [FIRE] [FIRE OFF] | 0 10 C D [Y] [X] | " + empty +
                                       " | 7:+typed";
        QTest::newRow("inputs: guards keep the field")
            << inputs
            << modemDump("AT+EGINP?",
                         inputLines({R"(1,1,00011,"O","S")", R"(2,x,-----,"C","D")",
                                     R"(3,7,00000,"O","S")", R"(3,"O",)"}),
                         false)
            << 0 << "1 5 O S [FIRE] [FIRE OFF] | 1 5 C D [Y] [X] | 1 0 O S [] [keep D] | 7:+typed";
        QTest::newRow("inputs: cut inside a message line")
            << inputs << listing.left(70) << 0
            << "1 3 O S [FIRE] [keep D] | " + kept + " | " + kept + " | 7:+typed";
        // The echo, the settings and first message of input 1, then part of the second.
        QTest::newRow("inputs: cut by a gap")
            << inputs << QByteArray() << 71
            << "1 4 O D [GONE] [keep D] | " + kept + " | " + kept + " | 7:+typed";
        QTest::newRow("inputs: lower-case listing")
            << inputs << QByteArray(listing).replace("+EGINP: ", "+eginp: ") << 0 << keptAll;
        QTest::newRow("inputs: empty") << inputs << QByteArray("\r\n") << 0 << keptAll;
        QTest::newRow("numbers: order 5, 2, 9")
            << numbers
            << modemDump("AT+EGPHN?", {R"(5,"+395",128)", R"(2,"+392",128)", R"(9,"+399",128)"},
                         false)
            << 0 << keptPanels + "2:+392 | 5:+395 | 7:+typed | 9:+399";
        // Mend: each entry from its own line, whatever its number or type.
        QTest::newRow("numbers: without plus, other types, outside 1-20")
            << numbers
            << modemDump("AT+EGPHN?",
                         {R"(0,"+390",128)", R"(3,"0039",129)", R"(-1,"+39",128)",
                          R"(21,"+3921",145)", R"(  4,"+394",145)"},
                         false)
            << 0 << keptPanels + "3:0039 | 4:+394 | 7:+typed";
        // The echo and the first entry with its line feed, then 6 bytes of the second.
        QTest::newRow("numbers: cut by a gap")
            << numbers << QByteArray() << 40 << keptPanels + "1:+391 | 7:+typed";
        QTest::newRow("numbers: lower-case phn")
            << numbers
            << modemDump("AT+EGPHN?", {R"(1,"+391",128)"}, false).replace("+EGPHN: ", "+egphn: ")
            << 0 << keptAll;
    }

    void readersTakeWhatTheReplySays() {
        QFETCH(Operation, read);
        QFETCH(QByteArray, reply);
        QFETCH(int, firstPiece);
        QFETCH(QString, window);
        Bench bench;
        if (!reply.isEmpty()) {
            bench.modem.setReplyFor("AT+EGINP?", reply);
            bench.modem.setReplyFor("AT+EGPHN?", reply);
        }
        bench.modem.setChunks(firstPiece, 700); // the rest long after the read began
        bench.view.inputs.fill({InputStatus::Active, RestState::NormallyClosed, BitMode::Double, 5,
                                typed("keep S"), typed("keep D")});
        bench.view.grid[7] = "+typed";
        read(bench.port, bench.view);
        QCOMPARE(bench.window().join(" | "), window);
        QCOMPARE(bench.view.rowsWrittenOutsideBook, 0);
    }

    // The toolbar's "Set default settings": the grid and the modem's phone
    // book emptied, then the default inputs written.
    void defaultSettingsEmptyTheModem() {
        Bench bench;
        bench.view.grid[1] = "+391";
        bench.view.grid[2] = "+392";

        DeleteNumbers(bench.view);
        QVERIFY(bench.lines().isEmpty());
        QCOMPARE(bench.window().size(), 3);
        QCOMPARE(bench.view.status(), "Modem Connected, deleting Phone Number pos. 20...OK");

        SetNumbers(bench.port, bench.view);
        QStringList bare;
        for (int p = 1; p <= 20; ++p)
            bare << QStringLiteral("AT+EGPHN=%1").arg(p);
        QCOMPARE(bench.lines(), bare);
        QVERIFY(bench.modem.phoneBook() == (std::array<QByteArray, 20>{}));

        LoadDefaultMessages(bench.view);
        SendInputs(bench.port, bench.view);
        const auto inputs = bench.modem.inputs();
        QCOMPARE(inputs[0].status + inputs[1].status + inputs[2].status, 1);
        QCOMPARE(inputs[0].messageC + '|' + inputs[2].messageO, "ALLARME  1 ON|ALLARME  3 OFF");
    }

    // No answer at all: every step says "Failed!" and the next one is sent.
    void silentModemFailsEveryStepAndTheUploadGoesOn() {
        Bench bench;
        bench.modem.setSilent(true);
        SendInputs(bench.port, bench.view);
        QVERIFY(bench.port.isOpen());
        SetNumbers(bench.port, bench.view);
        QVERIFY(!bench.port.isOpen());
        QCOMPARE(bench.lines().size(), 29);
        const QRegularExpression failed(
            R"(^Modem Connected, sending (Input|Message|Phone Number pos\.) [0-9]+\.\.\.Failed!$)");
        QCOMPARE(bench.view.statusTexts.filter(failed).size(), 29);
        QCOMPARE(bench.view.statusTexts.count("Modem Connected"), 2);
        QVERIFY(bench.view.errorBoxes.isEmpty());
    }

    // Uploads stop with a "Modem error" box; readers end quietly. The window
    // keeps its contents and its controls either way.
    void portThatFails_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("hangUpAfter"); // 0: the port cannot be opened
        QTest::addColumn<bool>("upload");

        const Operation sendInputs = clickSendInputs, setNumbers = clickSetNumbers;
        // Uploads lose the port during the first reply, readers during the listing.
        for (int lost : {0, 1}) {
            const char* how = lost ? "lost midway" : "cannot open";
            QTest::addRow("inputs upload, %s", how) << sendInputs << 3 * lost << true;
            QTest::addRow("numbers upload, %s", how) << setNumbers << 3 * lost << true;
            QTest::addRow("inputs read, %s", how) << Operation(GetInputs) << 40 * lost << false;
            QTest::addRow("numbers read, %s", how) << Operation(GetNumbers) << 40 * lost << false;
        }
    }

    void portThatFails() {
        QFETCH(Operation, operation);
        QFETCH(int, hangUpAfter);
        QFETCH(bool, upload);
        Bench bench;
        if (hangUpAfter)
            bench.modem.hangUpAfterBytes(hangUpAfter);
        else
            linkState().CommPortNumber = 32000; // no machine has a "Com 32000"
        bench.view.inputs[0].singleMessage = typed("mine");
        bench.view.grid[1] = "+typed";
        const QStringList before = bench.window();

        operation(bench.port, bench.view);
        QVERIFY(bench.lines().size() <= 1);
        QCOMPARE(bench.view.errorBoxes.size(), upload ? 1 : 0);
        QVERIFY(!bench.view.errorBoxes.value(0, "text").isEmpty());
        QCOMPARE(bench.view.status(), upload ? "Modem Connected" : "");
        QCOMPARE(bench.window(), before);
        QVERIFY(bench.view.controlsOn());
        QVERIFY(!bench.port.isOpen());
    }

private:
    QTemporaryDir home_;
};

QTEST_GUILESS_MAIN(ConfigModemTest)
#include "tst_configmodem.moc"
