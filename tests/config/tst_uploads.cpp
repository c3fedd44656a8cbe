// The uploads through the real serial port, against the virtual modem on a
// 9600 bit/s line: the time-out of every collection, steps the modem
// answers ERROR to, an answer that comes too late, and a device that
// vanishes midway.
#include "ConfigOperations.h"
#include "ModemBench.h"
#include "OperationTexts.h"
#include "OwnHome.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using Operation = std::function<OperationResult(ModemConnection&, RecordingView&)>;
using Reader = std::function<ShownRead(ModemConnection&, RecordingView&)>;
Q_DECLARE_METATYPE(Operation)

namespace {

const QString empty = QStringLiteral("0 0 O S [] []");

} // namespace

class UploadsTest : public QObject {
    Q_OBJECT

    OwnHome home;

private slots:
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
            << Operation(sendShownInputs) << QByteArray(R"(AT+EGINP=1,0,0,"O","S")") << 1500;
        QTest::newRow("phone-book position, 0.5 s")
            << Operation(setShownNumbers) << QByteArray("AT+EGPHN=1") << 500;
        // A read that never ends is not whole: counted here as its one step unconfirmed.
        const Operation readInputs = [](ModemConnection& connection, RecordingView& view) {
            return OperationResult{OperationEnd::Completed,
                                   readInputsIntoView(connection, view).complete ? QList<int>{}
                                                                                 : QList<int>{1}, {}};
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
    // the modem keeps what it held there, and the steps are listed for the
    // "Modem error" box.
    void errorAtChosenSteps() {
        ModemBench bench({32});
        bench.modem.setPhoneBook({"+391", "+392", "+393"});
        for (const QByteArray prefix : {"AT+EGPHN=3", "AT+EGPHN=12", "AT+EGINP=2,0"})
            bench.modem.setErrorFor(prefix);
        for (int p = 1; p <= 20; ++p)
            bench.view.grid[p] = "+39" + QString::number(p);

        const OperationResult inputs = sendShownInputs(bench.connection, bench.view);
        const OperationResult numbers = setShownNumbers(bench.connection, bench.view);

        QCOMPARE(inputs.unconfirmed, QList<int>{4});
        QCOMPARE(numbers.unconfirmed, (QList<int>{3, 12}));
        QVERIFY(inputs.completed() && numbers.completed());
        QCOMPARE(bench.view.statusTexts().filter(QRegularExpression(R"(\.\.\.Failed!$)")),
                 (QStringList{"Modem Connected, sending Input 2...Failed!",
                              "Modem Connected, sending Phone Number pos. 3...Failed!",
                              "Modem Connected, sending Phone Number pos. 12...Failed!"}));
        QCOMPARE(bench.modem.phoneBook()[2], "+393"); // refused, unchanged
        QCOMPARE(bench.view.status(), "Modem Connected");
        QCOMPARE(unconfirmedInputRecordsText(inputs.unconfirmed) + "|" +
                     unconfirmedPositionsText(numbers.unconfirmed),
                 "The modem did not confirm the settings of input 2.|The modem did not confirm "
                 "phone-book positions 3 and 12.");
    }

    // An answer that comes after its step's time-out, in the pause before the
    // next command, belongs to no step: it must not confirm the next one,
    // which the modem refuses. (The modem does not echo here, so the late
    // step has nothing at all within its 0.5 s.)
    void aLateAnswerConfirmsNothingElse() {
        ModemBench bench;
        bench.setEcho(false);
        bench.modem.setProcessingMsFor("AT+EGPHN=3,\"+393\",128", 550);
        bench.modem.setErrorFor("AT+EGPHN=4");
        for (int p = 1; p <= 20; ++p)
            bench.view.grid[p] = "+39" + QString::number(p);

        const OperationResult numbers = setShownNumbers(bench.connection, bench.view);

        QCOMPARE(numbers.unconfirmed, (QList<int>{3, 4}));
        QCOMPARE(bench.lines().size(), 20);
    }

    // A device pulled out during any step: the operation stops at once,
    // sends nothing more, lets the port go and says so once. What arrived
    // whole before is kept; the window is otherwise unchanged.
    void deviceVanishes_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<int>("atLine");     // the command line it vanishes at, from 1
        QTest::addColumn<int>("afterBytes"); // or after so many bytes handed over
        QTest::addColumn<QString>("window");

        const auto reading = [](Reader read) {
            return [read](ModemConnection& connection, RecordingView& view) {
                return OperationResult{read(connection, view).end, {}, {}};
            };
        };
        const QString before = "1 0 O S [mine] [] | " + empty + " | " + empty + " | 1:+typed";
        QTest::newRow("inputs upload, sixth record")
            << Operation(sendShownInputs) << 6 << 0 << before;
        QTest::newRow("numbers upload, twelfth position")
            << Operation(setShownNumbers) << 12 << 0 << before;
        QTest::newRow("inputs read, at the query")
            << Operation(reading(readInputsIntoView)) << 1 << 0 << before;
        // The echo, then the first two entries whole and part of the third.
        QTest::newRow("numbers read, mid-listing")
            << Operation(reading(readNumbersIntoView)) << 0 << 10 + 2 + 2 * 22 + 10
            << "1 0 O S [mine] [] | " + empty + " | " + empty + " | 1:+391 | 2:+392";
    }
    void deviceVanishes() {
        QFETCH(Operation, operation);
        QFETCH(int, atLine);
        QFETCH(int, afterBytes);
        QFETCH(QString, window);
        ModemBench bench;
        bench.modem.setPhoneBook({"+391", "+392", "+393"});
        if (atLine)
            bench.modem.vanishAtLine(atLine);
        else
            bench.modem.vanishAfterBytes(afterBytes);
        bench.view.inputs.fill({InputStatus::Disactive, RestState::NormallyOpen, BitMode::Single, 0,
                                typed(""), typed("")});
        bench.view.inputs[0].status = InputStatus::Active;
        bench.view.inputs[0].singleMessage = typed("mine");
        bench.view.grid[1] = "+typed";

        const OperationResult result = operation(bench.connection, bench.view);

        QCOMPARE(result.end, OperationEnd::PortLost);
        QCOMPARE(bench.view.errors(),
                 QStringList{"The serial port " + bench.connection.connectedDevice() +
                             " was lost (was the adapter unplugged?)"});
        QVERIFY(!bench.connection.port().isOpen());
        QCOMPARE(bench.view.window().join(" | "), window);
        QTest::qWait(300); // more than a pause: nothing further comes
        QCOMPARE(bench.lines().size(), qMax(atLine, 1));
    }
};

QTEST_GUILESS_MAIN(UploadsTest)
#include "tst_uploads.moc"
