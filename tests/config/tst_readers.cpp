// The two readers through the real serial port, against the virtual modem
// on a 9600 bit/s line: what they take from a reply, whether they say it
// was whole, and their first wait.
#include "ConfigOperations.h"
#include "ModemBench.h"
#include "ModemDumps.h"
#include "OwnHome.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using Reader = std::function<ShownRead(ModemConnection&, RecordingView&)>;
Q_DECLARE_METATYPE(Reader)

namespace {

const QString empty = QStringLiteral("0 0 O S [] []");
const QString kept = QStringLiteral("1 5 C D [keep S] [keep D]");

const QByteArray listing = modemDump(
    "AT+EGINP?",
    {R"(1,1,00003,"O","S")", R"(1,"C","FIRE")", R"(1,"O","FIRE OFF")", R"(2,0,00010,"C","D")",
     R"(2,"C","X")", R"(2,"O","Y")", R"(3,0,00000,"O","S")", R"(3,"C","")", R"(3,"O","")"},
    false);

} // namespace

class ReadersTest : public QObject {
    Q_OBJECT

    OwnHome home;

private slots:
    void cleanup() { QCOMPARE(ModemBench::wireFaults, 0); }

    // Replies in place of the modem's own, whole, cut by a gap after
    // firstPiece bytes (the echo included), or wrong; the window
    // held "kept" in every panel and "+typed" in row 7 before. Only a reply
    // that ends in "OK" is whole.
    void readersTakeWhatTheReplySays_data() {
        QTest::addColumn<Reader>("read");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("firstPiece");
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("complete");

        const Reader inputs = readInputsIntoView, numbers = readNumbersIntoView;
        const QString keptAll = kept + " | " + kept + " | " + kept + " | 7:+typed";
        const QString keptPanels = keptAll.chopped(8);
        const QString read = "1 3 O S [FIRE] [FIRE OFF] | 0 10 C D [Y] [X] | " + empty;
        QTest::newRow("inputs") << inputs << listing << 0 << read + " | 7:+typed" << true;
        // A line with a field the modem cannot hold is not taken at all, and
        // shifts nothing: each message still lands by its own letter.
        QTest::newRow("inputs: a bad line is left out whole")
            << inputs
            << QByteArray(listing)
                   .replace("00003", "00011")
                   .replace("2,0,00010", "2,x,-----")
                   .replace("3,0,", "3,7,")
                   .replace(R"(3,"O","")", R"(3,"O",)")
            << 0 << "1 5 C D [FIRE OFF] [FIRE] | 1 5 C D [Y] [X] | 1 0 O S [] [keep D] | 7:+typed"
            << false;
        QTest::newRow("inputs: a message's control characters left out")
            << inputs
            << QByteArray(listing).replace("\"FIRE\"", "\"FI\tR\x7f"
                                                       "E\x85\"")
            << 0 << read + " | 7:+typed" << true;
        // The settings and first message of input 1, then part of the second.
        QTest::newRow("inputs: cut by a gap")
            << inputs << listing << 61
            << "1 3 O S [FIRE] [keep D] | " + kept + " | " + kept + " | 7:+typed" << false;
        QTest::newRow("inputs: lower-case listing")
            << inputs << QByteArray(listing).replace("+EGINP: ", "+eginp: ") << 0 << keptAll
            << false;
        QTest::newRow("inputs: ERROR")
            << inputs << QByteArray("\r\nERROR\r\n") << 0 << keptAll << false;
        // Each entry from its own line, in any order, whatever its number or
        // type; a line with a position outside 1 to 20 is no entry.
        QTest::newRow("numbers: any order, without plus, other types, outside 1-20")
            << numbers
            << modemDump("AT+EGPHN?",
                         {R"(5,"+395",128)", R"(0,"+390",128)", R"(3,"0039",129)",
                          R"(-1,"+39",128)", R"(21,"+3921",145)", R"(  4,"+394",145)",
                          R"(2,"+392",128)"},
                         false)
            << 0 << keptPanels + "2:+392 | 3:0039 | 5:+395 | 7:+typed" << false;
        // The first entry with its line feed, then 6 bytes of the second.
        QTest::newRow("numbers: cut by a gap")
            << numbers << modemDump("AT+EGPHN?", {R"(1,"+391",128)", R"(2,"+392",128)"}, false)
            << 42 << keptPanels + "1:+391 | 7:+typed" << false;
        QTest::newRow("numbers: +CME ERROR")
            << numbers << QByteArray("\r\n+CME ERROR: 4\r\n") << 0 << keptAll << false;
    }
    void readersTakeWhatTheReplySays() {
        QFETCH(Reader, read);
        QFETCH(QByteArray, reply);
        QFETCH(int, firstPiece);
        QFETCH(QString, window);
        QFETCH(bool, complete);
        ModemBench bench({16});
        bench.modem.setReplyFor("AT+EGINP?", reply);
        bench.modem.setReplyFor("AT+EGPHN?", reply);
        bench.modem.setChunks(firstPiece, 1200); // the rest long after the read ended
        bench.view.inputs.fill({InputStatus::Active, RestState::NormallyClosed, BitMode::Double, 5,
                                typed("keep S"), typed("keep D")});
        bench.view.grid[7] = "+typed";

        const ShownRead result = read(bench.connection, bench.view);

        QCOMPARE(result.end, OperationEnd::Completed);
        QCOMPARE(result.complete, complete);
        QCOMPARE(bench.view.window().join(" | "), window);
        QCOMPARE(bench.view.events, QStringList{}); // a reader says nothing itself
        QVERIFY(bench.connection.port().isOpen());  // held until the disconnect
    }

    // The readers read nothing for their first 0.4 s: a reply that is
    // whole by then is read at once after it.
    void readersWaitBeforeTheyRead() {
        ModemBench bench;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(readNumbersIntoView(bench.connection, bench.view).complete);
        const double took = clock.nsecsElapsed() / 1e6;
        // Well before the 0.6 s of collecting that a reply still coming could take.
        QVERIFY2(took > 400 && took < 700, qPrintable(QString::number(took)));
        QVERIFY(bench.view.pumps > 0);
    }
};

QTEST_GUILESS_MAIN(ReadersTest)
#include "tst_readers.moc"
