// The uploads through the real serial port, against the virtual modem on a
// 9600 bit/s line: the time-out of every collection, steps the modem
// answers ERROR to, and a device that vanishes midway.
#include "ConfigOperations.h"
#include "ModemBench.h"
#include "OperationTexts.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <functional>

using Operation = std::function<OperationResult(ModemConnection&, ConfigView&)>;
using Reader = std::function<ReadResult(ModemConnection&, ConfigView&)>;
Q_DECLARE_METATYPE(Operation)

namespace {

const QString empty = QStringLiteral("0 0 O S [] []");

// What the modem of these tests holds.
void loadModem(VirtualModem& modem) {
    modem.setPhoneBook({"+391", "+392", "+393"});
    auto inputs = modem.inputs();
    inputs[0] = {1, 4, 'O', 'D', "GONE", "BACK"};
    modem.setInputs(inputs);
}

} // namespace

class UploadsTest : public QObject {
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

    // Every collection has its time-out, on the program's own clock from the
    // writing of the command: a modem that echoes a command but never ends
    // its reply is waited for exactly that long. The echo alone counts as an
    // answer. Once the step is judged the window is closed, which ends the
    // upload there.
    void timeoutsHold_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QByteArray>("unfinished"); // the first command: it gets its echo only
        QTest::addColumn<int>("timeoutMs");
        QTest::newRow("input record, 1.5 s")
            << Operation(SendInputs) << QByteArray(R"(AT+EGINP=1,0,0,"O","S")") << 1500;
        QTest::newRow("phone-book position, 0.5 s")
            << Operation(SetNumbers) << QByteArray("AT+EGPHN=1") << 500;
        // A read that never ends is not whole: counted here as its one step unconfirmed.
        const Operation readInputs = [](ModemConnection& connection, ConfigView& view) {
            return OperationResult{OperationEnd::Completed, GetInputs(connection, view).complete
                                                                ? QList<int>{}
                                                                : QList<int>{1}};
        };
        QTest::newRow("input read, 0.4 s before reading and 0.6 s reading")
            << readInputs << QByteArray("AT+EGINP?") << 1000;
    }
    void timeoutsHold() {
        QFETCH(Operation, operation);
        QFETCH(QByteArray, unfinished);
        QFETCH(int, timeoutMs);
        ModemBench bench;
        bench.modem.setReplyFor(unfinished, "");
        std::optional<double> measured;
        bench.view.onStatus = [&](const QString& text) {
            if (!measured && text.endsWith("...OK")) {
                measured = bench.msSinceSend();
                bench.view.closed = true;
            }
        };
        QElapsedTimer took;
        took.start();

        const OperationResult result = operation(bench.connection, bench.view);

        if (!measured) // the reader shows no status: it ends with its collection
            measured = took.nsecsElapsed() / 1e6;
        QVERIFY2(*measured > timeoutMs * 0.98 && *measured < timeoutMs * 1.1,
                 qPrintable(QString::number(*measured)));
        const bool read = unfinished.endsWith('?');
        QCOMPARE(result.unconfirmed, read ? QList<int>{1} : QList<int>{});
        QCOMPARE(result.end, read ? OperationEnd::Completed : OperationEnd::Cancelled);
        QCOMPARE(bench.lines(), QStringList{QString::fromLatin1(unfinished)});
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
            inputRecords.isEmpty() ? OperationResult{} : SendInputs(bench.connection, bench.view);
        const OperationResult numbers = SetNumbers(bench.connection, bench.view);

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

        const Operation sendInputs = SendInputs, setNumbers = SetNumbers;
        const auto reading = [](Reader read) {
            return [read](ModemConnection& connection, ConfigView& view) {
                return OperationResult{read(connection, view).end, {}};
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

        const OperationResult result = operation(bench.connection, bench.view);

        QCOMPARE(result.end, OperationEnd::PortLost);
        QCOMPARE(bench.view.errors().size(), 1);
        QVERIFY2(QRegularExpression("^The serial port /dev/pts/\\d+ was lost \\(was the adapter "
                                    "unplugged\\?\\)$")
                     .match(bench.view.errors()[0])
                     .hasMatch(),
                 qPrintable(bench.view.errors()[0]));
        QVERIFY(!bench.connection.port().isOpen());
        QCOMPARE(bench.view.window().join(" | "), window);
        QTest::qWait(300); // more than a pause: nothing further comes
        QCOMPARE(bench.lines().size(), qMax(atLine, 1));
    }
};

QTEST_GUILESS_MAIN(UploadsTest)
#include "tst_uploads.moc"
