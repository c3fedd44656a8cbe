// A full modem read, written back and read again through the real serial
// port, on a 9600 bit/s line byte by byte and in a USB adapter's bursts:
// nothing may be lost or changed, in the modem or in the window. Each line
// kind is its own ctest entry, so they run side by side.
#include "ConfigOperations.h"
#include "ModemBench.h"
#include "OwnHome.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Messages of 45 to 50 characters holding what a careless reader would
// spoil: quotes, "OK", the listing's prefix, Latin-1 letters.
const std::array<VirtualModem::Input, 3> longMessages{
    VirtualModem::Input{1, 3, 'O', 'S', "SMOKE ALARM in the \"server room\", floor 2, OK?",
                        "Smoke alarm over: +EGINP: all clear, 46 chars."},
    VirtualModem::Input{0, 10, 'C', 'D', "Porta d'ingresso aperta: verificare subito!!!",
                        "Porta chiusa, allarme rientrato (caf\xe9 n\xb0 2) .."},
    VirtualModem::Input{1, 0, 'O', 'D', "AT+EGINP? is no command inside a message text.",
                        "Fifty characters exactly, counted one by one: 50!!"}};

// What the window must show for what the modem stores.
InputsConfig panelsFor(const std::array<VirtualModem::Input, 3>& stored) {
    InputsConfig panels;
    for (int n = 0; n < 3; ++n) {
        const VirtualModem::Input& in = stored[n];
        const bool open = in.rest == 'O';
        panels[n] = {in.status ? InputStatus::Active : InputStatus::Disactive,
                     open ? RestState::NormallyOpen : RestState::NormallyClosed,
                     in.bit == 'S' ? BitMode::Single : BitMode::Double,
                     in.delay,
                     typed(QString::fromLatin1(open ? in.messageC : in.messageO)),
                     typed(QString::fromLatin1(open ? in.messageO : in.messageC))};
    }
    return panels;
}

} // namespace

class RoundTripTest : public QObject {
    Q_OBJECT

    OwnHome home;

private slots:
    void cleanup() { QCOMPARE(ModemBench::wireFaults, 0); }

    void roundTripLosesNothing_data() {
        QTest::addColumn<Line>("line");
        QTest::newRow("byte by byte") << Line{0, 20};
        QTest::newRow("16 ms bursts") << Line{16, 20};
        QTest::newRow("32 ms bursts, 200 ms processing") << Line{32, 200};
    }
    void roundTripLosesNothing() {
        QFETCH(Line, line);
        ModemBench bench(line);
        std::array<QByteArray, 20> book; // twenty numbers
        QStringList shown = describe(panelsFor(longMessages));
        for (int p = 1; p <= 20; ++p) {
            book[p - 1] = "+3933512345" + QByteArray::number(p).rightJustified(2, '0');
            shown << QStringLiteral("%1:%2").arg(p).arg(QString::fromLatin1(book[p - 1]));
        }
        bench.modem.setPhoneBook(book);
        bench.modem.setInputs(longMessages);

        // As after a connection check: both reads, whole.
        QCOMPARE(readInputsIntoView(bench.connection, bench.view).complete, true);
        QCOMPARE(readNumbersIntoView(bench.connection, bench.view).complete, true);
        QCOMPARE(bench.view.window(), shown);

        // Both "Set" buttons: every step confirmed, the modem's store unchanged.
        const OperationResult sentInputs = sendShownInputs(bench.connection, bench.view);
        const OperationResult sentNumbers = setShownNumbers(bench.connection, bench.view);
        QCOMPARE(sentInputs.unconfirmed + sentNumbers.unconfirmed, QList<int>{});
        QVERIFY(sentInputs.completed() && sentNumbers.completed());
        QVERIFY(bench.modem.phoneBook() == book);
        QCOMPARE(describe(panelsFor(bench.modem.inputs())), describe(panelsFor(longMessages)));
        QCOMPARE(bench.lines().size(), 2 + 9 + 20);
        bench.verifyPauses(2, 10);
        bench.verifyPauses(11, 30);

        // And read again: the window is the same.
        bench.view = RecordingView(&bench.connection);
        QCOMPARE(readInputsIntoView(bench.connection, bench.view).complete, true);
        QCOMPARE(readNumbersIntoView(bench.connection, bench.view).complete, true);
        QCOMPARE(bench.view.window(), shown);
    }
};

QTEST_GUILESS_MAIN(RoundTripTest)
#include "tst_roundtrip.moc"
