// The configuration operations through the real serial port, against the
// virtual modem on a 9600 bit/s line: what the readers take from a reply and
// whether they say it was whole, the time-outs of every collection, steps
// the modem answers ERROR to, and a device that vanishes midway.
#include "ConfigOperations.h"
#include "ModemBench.h"
#include "ModemDumps.h"
#include "OperationTexts.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <functional>

using Operation = std::function<OperationResult(SerialPort&, ConfigView&)>;
using Reader = std::function<ReadResult(SerialPort&, ConfigView&)>;
Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(Reader)

namespace {

const QString empty = QStringLiteral("0 0 O S [] []");
const QString kept = QStringLiteral("1 5 C D [keep S] [keep D]");

// What the modem of these tests holds.
void loadModem(VirtualModem& modem) {
    modem.setPhoneBook({"+391", "+392", "+393"});
    auto inputs = modem.inputs();
    inputs[0] = {1, 4, 'O', 'D', "GONE", "BACK"};
    modem.setInputs(inputs);
}

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

    QTemporaryDir home;

private slots:
    void initTestCase() {
        // Other test programs link their own modems in the ports folder at the
        // same time, so this one keeps a home of its own.
        QVERIFY(home.isValid());
        qputenv("HOME", QFile::encodeName(home.path()));
        QStandardPaths::setTestModeEnabled(true);
    }
    void cleanup() { QCOMPARE(ModemBench::wireFaults, 0); }

    // Replies in place of the modem's own (none: its own listing), whole, cut
    // by a gap after firstPiece bytes of the reply, late, or wrong; the window
    // held "kept" in every panel and "+typed" in row 7 before. Only a reply
    // that ends in "OK" is whole.
    void readersTakeWhatTheReplySays_data() {
        QTest::addColumn<Reader>("read");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("firstPiece");
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("complete");

        const Reader inputs = GetInputs, numbers = GetNumbers;
        const QByteArray listing = modemDump("AT+EGINP?", inputLines(), false);
        const QString keptAll = kept + " | " + kept + " | " + kept + " | 7:+typed";
        const QString keptPanels = keptAll.chopped(8);
        const QString read = "1 3 O S [FIRE] [FIRE OFF] | 0 10 C D [Y] [X] | " + empty;
        QTest::newRow("inputs") << inputs << listing << 0 << read + " | 7:+typed" << true;
        QTest::newRow("inputs: guards keep the field")
            << inputs
            << modemDump("AT+EGINP?",
                         inputLines({R"(1,1,00011,"O","S")", R"(2,x,-----,"C","D")",
                                     R"(3,7,00000,"O","S")", R"(3,"O",)"}),
                         false)
            << 0 << "1 5 O S [FIRE] [FIRE OFF] | 1 5 C D [Y] [X] | 1 0 O S [] [keep D] | 7:+typed"
            << true;
        QTest::newRow("inputs: a message's control characters left out")
            << inputs
            << modemDump("AT+EGINP?",
                         inputLines({"1,\"C\",\"FI\tR\x7f"
                                     "E\x85\""}),
                         false)
            << 0 << read + " | 7:+typed" << true;
        QTest::newRow("inputs: cut inside a message line")
            << inputs << listing.left(60) << 0
            << "1 3 O S [FIRE] [keep D] | " + kept + " | " + kept + " | 7:+typed" << false;
        // The settings and first message of input 1, then part of the second.
        QTest::newRow("inputs: cut by a gap")
            << inputs << QByteArray() << 61
            << "1 4 O D [GONE] [keep D] | " + kept + " | " + kept + " | 7:+typed" << false;
        QTest::newRow("inputs: lower-case listing")
            << inputs << QByteArray(listing).replace("+EGINP: ", "+eginp: ") << 0 << keptAll
            << true;
        QTest::newRow("inputs: ERROR")
            << inputs << QByteArray("\r\nERROR\r\n") << 0 << keptAll << false;
        QTest::newRow("numbers: order 5, 2, 9")
            << numbers
            << modemDump("AT+EGPHN?", {R"(5,"+395",128)", R"(2,"+392",128)", R"(9,"+399",128)"},
                         false)
            << 0 << keptPanels + "2:+392 | 5:+395 | 7:+typed | 9:+399" << true;
        // Each entry from its own line, whatever its number or type.
        QTest::newRow("numbers: without plus, other types, outside 1-20")
            << numbers
            << modemDump("AT+EGPHN?",
                         {R"(0,"+390",128)", R"(3,"0039",129)", R"(-1,"+39",128)",
                          R"(21,"+3921",145)", R"(  4,"+394",145)"},
                         false)
            << 0 << keptPanels + "3:0039 | 4:+394 | 7:+typed" << true;
        // The first entry with its line feed, then 6 bytes of the second.
        QTest::newRow("numbers: cut by a gap")
            << numbers << QByteArray() << 30 << keptPanels + "1:+391 | 7:+typed" << false;
        QTest::newRow("numbers: +CME ERROR")
            << numbers << QByteArray("\r\n+CME ERROR: 4\r\n") << 0 << keptAll << false;
        QTest::newRow("numbers: lower-case phn")
            << numbers
            << modemDump("AT+EGPHN?", {R"(1,"+391",128)"}, false).replace("+EGPHN: ", "+egphn: ")
            << 0 << keptAll << true;
    }
    void readersTakeWhatTheReplySays() {
        QFETCH(Reader, read);
        QFETCH(QByteArray, reply);
        QFETCH(int, firstPiece);
        QFETCH(QString, window);
        QFETCH(bool, complete);
        ModemBench bench({16});
        loadModem(bench.modem);
        if (!reply.isEmpty()) {
            bench.modem.setReplyFor("AT+EGINP?", reply);
            bench.modem.setReplyFor("AT+EGPHN?", reply);
        }
        bench.modem.setChunks(firstPiece, 1200); // the rest long after the read ended
        bench.view.inputs.fill({InputStatus::Active, RestState::NormallyClosed, BitMode::Double, 5,
                                typed("keep S"), typed("keep D")});
        bench.view.grid[7] = "+typed";

        const ReadResult result = read(bench.port, bench.view);

        QCOMPARE(result.end, OperationEnd::Completed);
        QCOMPARE(result.complete, complete);
        QCOMPARE(bench.view.window().join(" | "), window);
        QCOMPARE(bench.view.rowsWrittenOutsideBook, 0);
        QCOMPARE(bench.view.events, QStringList{}); // a reader says nothing itself
        QVERIFY(!bench.port.isOpen());
    }

    // Every collection has its time-out, measured here from the first
    // character of the command on the line: a modem that echoes a command but
    // never ends its reply is waited for exactly that long. The echo alone
    // counts as an answer.
    void timeoutsHold_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QByteArray>("unfinished"); // the command that gets its echo only
        QTest::addColumn<int>("line");              // its place among the lines sent
        QTest::addColumn<int>("timeoutMs");
        QTest::newRow("input record, 1.5 s")
            << Operation(SendInputs) << QByteArray(R"(AT+EGINP=2,"C","")") << 4 << 1500;
        QTest::newRow("phone-book position, 0.5 s")
            << Operation(SetNumbers) << QByteArray("AT+EGPHN=19") << 18 << 500;
        // A read that never ends is not whole: counted here as its one step unconfirmed.
        const Operation readInputs = [](SerialPort& port, ConfigView& view) {
            return OperationResult{OperationEnd::Completed,
                                   GetInputs(port, view).complete ? QList<int>{} : QList<int>{1}};
        };
        QTest::newRow("input read, 0.4 s before reading and 0.6 s reading")
            << readInputs << QByteArray("AT+EGINP?") << 0 << 1000;
    }
    void timeoutsHold() {
        QFETCH(Operation, operation);
        QFETCH(QByteArray, unfinished);
        QFETCH(int, line);
        QFETCH(int, timeoutMs);
        ModemBench bench;
        bench.modem.setReplyFor(unfinished, "");
        // On the program's own clock, from the command's writing to its outcome.
        std::optional<double> measured;
        int steps = 0;
        bench.view.onStatus = [&](const QString& text) {
            if (text.endsWith("...OK") && steps++ == line)
                measured = linkState().SendTime.nsecsElapsed() / 1e6;
        };
        QElapsedTimer took;
        took.start();

        const OperationResult result = operation(bench.port, bench.view);

        if (!measured) // the reader shows no status: it ends with its collection
            measured = took.nsecsElapsed() / 1e6;
        QVERIFY2(*measured > timeoutMs * 0.98 && *measured < timeoutMs * 1.1,
                 qPrintable(QString::number(*measured)));
        QCOMPARE(result.unconfirmed, unfinished.endsWith('?') ? QList<int>{1} : QList<int>{});
        QCOMPARE(bench.lines()[line], QString::fromLatin1(unfinished));
    }

    // The readers read nothing for their first 0.4 s: a reply that is
    // whole by then is read at once after it.
    void readersWaitBeforeTheyRead() {
        ModemBench bench;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(GetNumbers(bench.port, bench.view).complete);
        const double took = clock.nsecsElapsed() / 1e6;
        // Well before the 0.6 s of collecting that a reply still coming could take.
        QVERIFY2(took > 400 && took < 700, qPrintable(QString::number(took)));
        QVERIFY(bench.view.pumps > 0);
    }

    // ERROR is a failure: the step shows "...Failed!", the upload goes on,
    // and the steps are listed for the "Modem error" box.
    void errorAtChosenSteps_data() {
        QTest::addColumn<QList<QByteArray>>("refused");
        QTest::addColumn<QList<int>>("inputRecords");
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QString>("text");
        QTest::newRow("positions 3 and 12, input 2's settings")
            << QList<QByteArray>{"AT+EGPHN=3", "AT+EGPHN=12", "AT+EGINP=2,0"} << QList<int>{4}
            << QList<int>{3, 12}
            << "The modem did not confirm the settings of input 2.|The modem did not confirm "
               "phone-book positions 3 and 12.";
        QList<int> all;
        for (int p = 1; p <= 20; ++p)
            all << p;
        // The echo of every command holds "AT": that alone must not pass a step.
        QTest::newRow("every position, echo on")
            << QList<QByteArray>{"AT+EGPHN="} << QList<int>{} << all
            << "|The modem did not confirm phone-book positions 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "
               "11, 12, 13, 14, 15, 16, 17, 18, 19 and 20.";
    }
    void errorAtChosenSteps() {
        QFETCH(QList<QByteArray>, refused);
        QFETCH(QList<int>, inputRecords);
        QFETCH(QList<int>, positions);
        QFETCH(QString, text);
        ModemBench bench({32});
        loadModem(bench.modem);
        const auto bookBefore = bench.modem.phoneBook();
        for (const QByteArray& prefix : refused)
            bench.modem.setErrorFor(prefix);
        for (int p = 1; p <= 20; ++p)
            bench.view.grid[p] = "+39" + QString::number(p);

        const OperationResult inputs =
            inputRecords.isEmpty() ? OperationResult{} : SendInputs(bench.port, bench.view);
        const OperationResult numbers = SetNumbers(bench.port, bench.view);

        QCOMPARE(inputs.unconfirmed, inputRecords);
        QCOMPARE(numbers.unconfirmed, positions);
        QCOMPARE(inputs.end, OperationEnd::Completed);
        QCOMPARE(numbers.end, OperationEnd::Completed);
        const QStringList failed =
            bench.view.statusTexts().filter(QRegularExpression(R"(\.\.\.Failed!$)"));
        QCOMPARE(failed.size(), inputRecords.size() + positions.size());
        for (int p : positions) {
            QVERIFY(failed.contains(
                QStringLiteral("Modem Connected, sending Phone Number pos. %1...Failed!").arg(p)));
            QCOMPARE(bench.modem.phoneBook()[p - 1], bookBefore[p - 1]); // refused, unchanged
        }
        QCOMPARE(bench.view.status(), "Modem Connected");
        QCOMPARE(QString(inputRecords.isEmpty() ? "" : unconfirmedInputRecordsText(inputRecords)) +
                     "|" + unconfirmedPositionsText(positions),
                 text);
    }

    // A device pulled out during any step: the operation stops at once,
    // sends nothing more, lets the port go and says so once. What arrived
    // whole before is kept; the window is otherwise unchanged.
    void deviceVanishes_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("atLine");     // the command line it vanishes at, from 1
        QTest::addColumn<int>("afterBytes"); // or after so many bytes handed over
        QTest::addColumn<QString>("window");

        const Operation sendInputs = clickSendInputs, setNumbers = clickSetNumbers;
        const auto reading = [](Reader read) {
            return [read](SerialPort& port, ConfigView& view) {
                return OperationResult{read(port, view).end, {}};
            };
        };
        const QString before = "1 0 O S [mine] [] | " + empty + " | " + empty + " | 1:+typed";
        QTest::newRow("inputs upload, first record") << sendInputs << 1 << 0 << before;
        QTest::newRow("inputs upload, sixth record") << sendInputs << 6 << 0 << before;
        QTest::newRow("numbers upload, first position") << setNumbers << 1 << 0 << before;
        QTest::newRow("numbers upload, twelfth position") << setNumbers << 12 << 0 << before;
        QTest::newRow("inputs read, at the query")
            << Operation(reading(GetInputs)) << 1 << 0 << before;
        // The echo, then the first two entries whole and part of the third.
        QTest::newRow("numbers read, mid-listing")
            << Operation(reading(GetNumbers)) << 0 << 10 + 2 + 2 * 22 + 10
            << "1 0 O S [mine] [] | " + empty + " | " + empty + " | 1:+391 | 2:+392";
    }
    void deviceVanishes() {
        QFETCH(Operation, operation);
        QFETCH(int, atLine);
        QFETCH(int, afterBytes);
        QFETCH(QString, window);
        ModemBench bench;
        loadModem(bench.modem);
        if (atLine)
            bench.modem.vanishAtLine(atLine);
        else
            bench.modem.vanishAfterBytes(afterBytes);
        bench.view.inputs[0] = {InputStatus::Active, RestState::NormallyOpen,
                                BitMode::Single,     0,
                                typed("mine"),       typed("")};
        for (int n = 1; n < 3; ++n)
            bench.view.inputs[n] = {InputStatus::Disactive,
                                    RestState::NormallyOpen,
                                    BitMode::Single,
                                    0,
                                    typed(""),
                                    typed("")};
        bench.view.grid[1] = "+typed";

        const OperationResult result = operation(bench.port, bench.view);

        QCOMPARE(result.end, OperationEnd::PortLost);
        QCOMPARE(bench.view.errors().size(), 1);
        QVERIFY2(QRegularExpression("^The serial port /dev/pts/\\d+ was lost \\(was the adapter "
                                    "unplugged\\?\\)$")
                     .match(bench.view.errors()[0])
                     .hasMatch(),
                 qPrintable(bench.view.errors()[0]));
        QVERIFY(!bench.port.isOpen());
        QCOMPARE(bench.view.window().join(" | "), window);
        QTest::qWait(300); // more than a pause: nothing further comes
        QCOMPARE(bench.lines().size(), qMax(atLine, 1));
        QVERIFY(bench.view.controlsOn());
    }
};

QTEST_GUILESS_MAIN(ConfigModemTest)
#include "tst_configmodem.moc"
