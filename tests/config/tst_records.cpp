// What goes on the wire for the inputs and the phone book, character by
// character (each character is one Latin-1 byte on the port), and how the
// modem's listing of the inputs is read back.
#include "ConfigText.h"
#include "DefaultInputs.h"
#include "InputRecords.h"
#include "InputsReply.h"
#include "ModemDumps.h"
#include "PhoneBookReply.h"
#include "PhoneRecords.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

const MessageText placeholder{PlaceholderText, true};
constexpr auto Active = InputStatus::Active;
constexpr auto Disactive = InputStatus::Disactive;
constexpr auto Open = RestState::NormallyOpen;
constexpr auto Single = BitMode::Single;

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

private slots:
    // One row per panel, shown as input 2's three records.
    void inputRecordsAreExact_data() {
        QTest::addColumn<InputConfig>("panel");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("active, 300, quotes and blanks unchanged")
            << InputConfig{Active, Open, Single, 3, typed(R"( say "hi" )"), typed("\"")}
            << QStringList{R"(AT+EGINP=2,1,3,"O","S")", R"(AT+EGINP=2,"C"," say "hi" ")",
                           "AT+EGINP=2,\"O\",\"\"\""};
        QTest::newRow("1000 gives 10, closed contact swaps the letters")
            << InputConfig{Disactive, RestState::NormallyClosed, BitMode::Double, 10, typed("B"),
                           typed("P")}
            << QStringList{R"(AT+EGINP=2,0,10,"C","D")", R"(AT+EGINP=2,"O","B")",
                           R"(AT+EGINP=2,"C","P")"};
        QTest::newRow("neither status option sends 0, placeholder in Single empties both")
            << InputConfig{InputStatus::Neither, Open, Single, 0, placeholder, typed("real")}
            << QStringList{R"(AT+EGINP=2,0,0,"O","S")", R"(AT+EGINP=2,"C","")",
                           R"(AT+EGINP=2,"O","")"};
        QTest::newRow("placeholder text typed in black, Double still showing the placeholder")
            << InputConfig{Disactive, Open, Single, 0, typed(PlaceholderText), placeholder}
            << QStringList{R"(AT+EGINP=2,0,0,"O","S")",
                           R"(AT+EGINP=2,"C","Type here your message")",
                           R"(AT+EGINP=2,"O","Type here your message")"};
        // Whatever the line carries goes out as it is, one byte a character:
        // the box, the file and the command line let in nothing else.
        QTest::newRow("printable Latin-1 to its ends, unchanged")
            << InputConfig{Disactive,
                           Open,
                           Single,
                           0,
                           typed(" !~\u00a0\u00a1 café ñ °"),
                           typed(QString(50, u'\u00ff'))}
            << QStringList{R"(AT+EGINP=2,0,0,"O","S")",
                           "AT+EGINP=2,\"C\",\" !~\u00a0\u00a1 café ñ °\"",
                           "AT+EGINP=2,\"O\",\"" + QString(50, u'\u00ff') + '"'};
    }

    void inputRecordsAreExact() {
        QFETCH(InputConfig, panel);
        QFETCH(QStringList, expected);
        QCOMPARE(QStringList{settingsRecord(2, panel)} + messageRecords(2, panel), expected);
    }

    // Input 1 becomes active, a chosen "Active" of inputs 2 and 3 leaves
    // neither option, a "Disactive" stays; the colours stay as they were.
    void defaultsOverwriteThePanels() {
        InputsConfig panels;
        for (InputConfig& c : panels)
            c = {Active, RestState::NormallyClosed, BitMode::Double, 7, placeholder, typed("mine")};
        panels[0].status = InputStatus::Neither;
        panels[2].status = Disactive;
        QCOMPARE(describe(withDefaultMessages(panels)),
                 (QStringList{"1 1 O S [ALLARME  1 ON]* [ALLARME  1 OFF]",
                              "- 1 O S [ALLARME  2 ON]* [ALLARME  2 OFF]",
                              "0 1 O S [ALLARME  3 ON]* [ALLARME  3 OFF]"}));
        QCOMPARE(inputRecords(withDefaultMessages(InputsConfig{})).mid(0, 4),
                 (QStringList{R"(AT+EGINP=1,1,1,"O","S")", R"(AT+EGINP=1,"C","ALLARME  1 ON")",
                              R"(AT+EGINP=1,"O","ALLARME  1 OFF")", R"(AT+EGINP=2,0,1,"O","S")"}));
    }

    void phoneBookCommandsAreExact() {
        QCOMPARE((QStringList{phoneBookCommand(1, "+393351234567"), phoneBookCommand(3, ""),
                              phoneBookCommand(12, "++39+1"),
                              phoneBookCommand(20, "+1234567890123456789")}),
                 (QStringList{R"(AT+EGPHN=1,"+393351234567",128)", "AT+EGPHN=3",
                              R"(AT+EGPHN=12,"++39+1",128)",
                              R"(AT+EGPHN=20,"+1234567890123456789",128)"}));
    }

    // Any listing of printable Latin-1 messages, with the echo or without,
    // is read field for field: quotes and "OK" inside a message too.
    void everyListingIsReadFieldForField() {
        QRandomGenerator random(20261206);
        const auto text = [&random] {
            QByteArray t;
            for (int i = random.bounded(MessageMaxLength + 1); i > 0; --i) {
                const int c = random.bounded(95 + 96); // 32 to 126, then 160 to 255
                t += char(c < 95 ? 32 + c : 65 + c);
            }
            return t;
        };
        for (int round = 0; round < 2000; ++round) {
            InputsConfig expected;
            QList<QByteArray> lines;
            for (int n = 1; n <= InputCount; ++n) {
                const bool active = random.bounded(2), open = random.bounded(2),
                           single = random.bounded(2);
                const int delay = random.bounded(11);
                const QByteArray closedText = text(), openText = text();
                expected[n - 1] = {active ? Active : Disactive,
                                   open ? Open : RestState::NormallyClosed,
                                   single ? Single : BitMode::Double,
                                   delay,
                                   typed(QString::fromLatin1(open ? closedText : openText)),
                                   typed(QString::fromLatin1(open ? openText : closedText))};
                const QByteArray i = QByteArray::number(n);
                lines << i + ',' + (active ? '1' : '0') + ",000" +
                             QByteArray::number(delay).rightJustified(2, '0') + ",\"" +
                             (open ? 'O' : 'C') + "\",\"" + (single ? 'S' : 'D') + '"'
                      << i + ",\"C\",\"" + closedText + '"' << i + ",\"O\",\"" + openText + '"';
            }
            const QString reply =
                QString::fromLatin1(modemDump("AT+EGINP?", lines, random.bounded(2)));
            const InputsListing listing = parseInputsReply(reply);
            QVERIFY(listing.whole);
            InputsConfig panels;
            for (int n = 0; n < InputCount; ++n)
                panels[n] = applyInputReading(InputConfig{}, listing.inputs[n]);
            QCOMPARE(describe(panels), describe(expected));
        }
    }

    // A listing is whole only when every line of it is what it claims to be:
    // an unsolicited line between two passes, a damaged or merged line, a
    // repeated one or a missing one does not.
    void listingsAreWholeOnlyWhenEveryLineIs_data() {
        QTest::addColumn<bool>("phoneBook");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("whole");
        const QList<QByteArray> inputLines{
            "1,1,00003,\"O\",\"S\"", "1,\"C\",\"FIRE\"", "1,\"O\",\"OFF\"",
            "2,0,00010,\"C\",\"D\"", "2,\"C\",\"X\"",    "2,\"O\",\"Y\"",
            "3,0,00000,\"O\",\"S\"", "3,\"C\",\"\"",     "3,\"O\",\"\""};
        const QByteArray inputs = modemDump("AT+EGINP?", inputLines);
        const QByteArray numbers = modemDump("AT+EGPHN?", {"1,\"+391\",128", "12,\"+3912\",145"});
        QTest::newRow("inputs") << false << inputs << true;
        QTest::newRow("inputs, a RING between")
            << false << QByteArray(inputs).replace("+EGINP: 2,0", "RING\r\n+EGINP: 2,0") << true;
        QTest::newRow("inputs, a letter damaged")
            << false << QByteArray(inputs).replace("2,\"C\",\"X\"", "2,\"K\",\"X\"") << false;
        QTest::newRow("inputs, a line twice")
            << false << QByteArray(inputs).replace("2,\"C\",\"X\"", "2,\"O\",\"X\"") << false;
        QTest::newRow("inputs, the prefix damaged")
            << false << QByteArray(inputs).replace("+EGINP: 3,\"C\"", "+EGINO: 3,\"C\"") << false;
        QTest::newRow("inputs, a line missing")
            << false << QByteArray(inputs).replace("+EGINP: 3,\"O\",\"\"\r\n", "") << false;
        QTest::newRow("numbers") << true << numbers << true;
        QTest::newRow("numbers, stray lines between")
            << true
            << QByteArray(numbers).replace("+EGPHN: 12",
                                           "+CMTI: \"SM\",3\r\n+CLIP: \"+39333\",145\r\n+EGPHN: 12")
            << true;
        QTest::newRow("numbers, the prefix damaged")
            << true << QByteArray(numbers).replace("+EGPHN: 12", "+EGPHM: 12") << false;
        QTest::newRow("numbers, two lines run together")
            << true << QByteArray(numbers).replace("128\r\n+EGPHN: 12", "128+EGPHN: 12") << false;
        QTest::newRow("numbers, a position twice")
            << true << QByteArray(numbers).replace("+EGPHN: 12", "+EGPHN: 1") << false;
        QTest::newRow("numbers, no closing quote")
            << true << QByteArray(numbers).replace("\"+3912\",", "\"+3912,") << false;
    }
    void listingsAreWholeOnlyWhenEveryLineIs() {
        QFETCH(bool, phoneBook);
        QFETCH(QByteArray, reply);
        QFETCH(bool, whole);
        const QString text = QString::fromLatin1(reply);
        QCOMPARE(phoneBook ? parsePhoneBookReply(text).whole : parseInputsReply(text).whole, whole);
    }
};

QTEST_APPLESS_MAIN(RecordsTest)
#include "tst_records.moc"
