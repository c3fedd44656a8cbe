// What goes on the wire for the inputs and the phone book, byte by byte.
#include "ConfigText.h"
#include "DefaultInputs.h"
#include "InputRecords.h"
#include "PhoneRecords.h"

#include <QTest>

using Records = QList<QByteArray>;

namespace {

// The bytes of each record as the port sends them before the CR, one per
// character; a character that would not fit one Latin-1 byte shows as "#",
// which no expected record holds.
Records wireBytes(const QStringList& records) {
    Records out;
    for (const QString& r : records) {
        QByteArray bytes;
        for (QChar c : r)
            bytes += c.unicode() <= 0xFF ? char(c.unicode()) : '#';
        out << bytes;
    }
    return out;
}

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

private slots:
    void startupPanelsGiveTheNineLines() {
        const Records expected = {
            R"(AT+EGINP=1,0,0,"O","S")", R"(AT+EGINP=1,"C","")", R"(AT+EGINP=1,"O","")",
            R"(AT+EGINP=2,0,0,"O","S")", R"(AT+EGINP=2,"C","")", R"(AT+EGINP=2,"O","")",
            R"(AT+EGINP=3,0,0,"O","S")", R"(AT+EGINP=3,"C","")", R"(AT+EGINP=3,"O","")",
        };
        QCOMPARE(wireBytes(inputRecords(InputsConfig{})), expected);
    }

    void inputRecordsAreExact_data() {
        QTest::addColumn<InputConfig>("panel");
        QTest::addColumn<Records>("expected");

        const auto with = [](auto change) {
            InputConfig c;
            change(c);
            return c;
        };
        QTest::newRow("active, 300, open, single")
            << with([](InputConfig& c) {
                   c.status = InputStatus::Active;
                   c.delayIndex = 3;
                   c.single = typed("B");
                   c.dbl = typed("P");
               })
            << Records{R"(AT+EGINP=2,1,3,"O","S")", R"(AT+EGINP=2,"C","B")",
                       R"(AT+EGINP=2,"O","P")"};
        QTest::newRow("1000 gives 10, closed contact swaps the letters")
            << with([](InputConfig& c) {
                   c.delayIndex = 10;
                   c.port = RestState::NormallyClosed;
                   c.bit = BitMode::Double;
                   c.single = typed("B");
                   c.dbl = typed("P");
               })
            << Records{R"(AT+EGINP=2,0,10,"C","D")", R"(AT+EGINP=2,"O","B")",
                       R"(AT+EGINP=2,"C","P")"};
        QTest::newRow("neither status option sends 0")
            << with([](InputConfig& c) { c.status = InputStatus::Neither; })
            << Records{R"(AT+EGINP=2,0,0,"O","S")", R"(AT+EGINP=2,"C","")", R"(AT+EGINP=2,"O","")"};
        QTest::newRow("placeholder in Single empties both")
            << with([](InputConfig& c) { c.dbl = typed("real text"); })
            << Records{R"(AT+EGINP=2,0,0,"O","S")", R"(AT+EGINP=2,"C","")", R"(AT+EGINP=2,"O","")"};
        QTest::newRow("placeholder text typed in black is a message")
            << with([](InputConfig& c) { c.single = typed(PlaceholderText); })
            << Records{R"(AT+EGINP=2,0,0,"O","S")", R"(AT+EGINP=2,"C","Type here your message")",
                       R"(AT+EGINP=2,"O","Type here your message")"};
        QTest::newRow("Double still showing the placeholder sends it")
            << with([](InputConfig& c) { c.single = typed("FIRE"); })
            << Records{R"(AT+EGINP=2,0,0,"O","S")", R"(AT+EGINP=2,"C","FIRE")",
                       R"(AT+EGINP=2,"O","Type here your message")"};
        QTest::newRow("quotes and blanks go out unchanged")
            << with([](InputConfig& c) {
                   c.single = typed(R"( say "hi" )");
                   c.dbl = typed("\"");
               })
            << Records{R"(AT+EGINP=2,0,0,"O","S")", R"(AT+EGINP=2,"C"," say "hi" ")",
                       "AT+EGINP=2,\"O\",\"\"\""};
        QTest::newRow("control characters are left out")
            << with([](InputConfig& c) {
                   c.single = typed(QStringLiteral("A\r\nB\x1a"
                                                   "C\tD"));
                   c.dbl = typed(QStringLiteral("\x1b"
                                                "E\x7f"));
               })
            << Records{R"(AT+EGINP=2,0,0,"O","S")", R"(AT+EGINP=2,"C","ABCD")",
                       "AT+EGINP=2,\"O\",\"E\x7f\""};
        QTest::newRow("Latin-1 kept, the rest one ? per character")
            << with([](InputConfig& c) {
                   c.single = typed(QStringLiteral("café ñ °"));
                   c.dbl = typed(QStringLiteral("5 € ok 😀!"));
               })
            << Records{R"(AT+EGINP=2,0,0,"O","S")", "AT+EGINP=2,\"C\",\"caf\xe9 \xf1 \xb0\"",
                       R"(AT+EGINP=2,"O","5 ? ok ?!")"};
    }

    void inputRecordsAreExact() {
        QFETCH(InputConfig, panel);
        QFETCH(Records, expected);
        QStringList records = {settingsRecord(2, panel)};
        records << messageRecords(2, panel);
        QCOMPARE(wireBytes(records), expected);
    }

    void defaultsApplyToAnyPanels_data() {
        QTest::addColumn<InputStatus>("before");
        QTest::addColumn<QString>("expectedInput2");
        QTest::addColumn<bool>("placeholderColour");

        QTest::newRow("Disactive stays")
            << InputStatus::Disactive << "0 1 O S [ALLARME  2 ON]* [ALLARME  2 OFF]*" << true;
        QTest::newRow("Active leaves neither")
            << InputStatus::Active << "- 1 O S [ALLARME  2 ON] [ALLARME  2 OFF]" << false;
        QTest::newRow("neither stays neither")
            << InputStatus::Neither << "- 1 O S [ALLARME  2 ON] [ALLARME  2 OFF]" << false;
    }

    void defaultsApplyToAnyPanels() {
        QFETCH(InputStatus, before);
        QFETCH(QString, expectedInput2);
        QFETCH(bool, placeholderColour);

        InputsConfig panels;
        for (InputConfig& c : panels) {
            c.status = before;
            c.port = RestState::NormallyClosed;
            c.bit = BitMode::Double;
            c.delayIndex = 7;
            c.single.placeholderColour = placeholderColour;
            c.dbl = MessageText{QStringLiteral("user text"), placeholderColour};
        }
        const InputsConfig defaults = withDefaultMessages(panels);
        const QString star = placeholderColour ? QStringLiteral("*") : QString();
        QCOMPARE(describe(defaults[0]),
                 QStringLiteral("1 1 O S [ALLARME  1 ON]%1 [ALLARME  1 OFF]%1").arg(star));
        QCOMPARE(describe(defaults[1]), expectedInput2);
        QCOMPARE(describe(defaults[2]), QString(expectedInput2).replace(u'2', u'3'));
    }

    void defaultsSendTheAlarmTexts() {
        const Records records = wireBytes(inputRecords(withDefaultMessages(InputsConfig{})));
        QCOMPARE(records.size(), 9);
        QCOMPARE(records[0], R"(AT+EGINP=1,1,1,"O","S")");
        QCOMPARE(records[1], R"(AT+EGINP=1,"C","ALLARME  1 ON")");
        QCOMPARE(records[2], R"(AT+EGINP=1,"O","ALLARME  1 OFF")");
        QCOMPARE(records[3], R"(AT+EGINP=2,0,1,"O","S")");
        QCOMPARE(records[8], R"(AT+EGINP=3,"O","ALLARME  3 OFF")");
    }

    void phoneBookCommandsAreExact_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("example number")
            << 1 << "+393351234567" << QByteArray(R"(AT+EGPHN=1,"+393351234567",128)");
        QTest::newRow("free position is the bare command") << 3 << "" << QByteArray("AT+EGPHN=3");
        QTest::newRow("position 20") << 20 << "" << QByteArray("AT+EGPHN=20");
        QTest::newRow("typed as it stands")
            << 12 << "++39+1" << QByteArray(R"(AT+EGPHN=12,"++39+1",128)");
        QTest::newRow("no line break inside")
            << 4 << "+39\r\n1" << QByteArray(R"(AT+EGPHN=4,"+391",128)");
    }

    void phoneBookCommandsAreExact() {
        QFETCH(int, position);
        QFETCH(QString, number);
        QFETCH(QByteArray, expected);
        QCOMPARE(wireBytes({phoneBookCommand(position, number)}).first(), expected);
    }
};

QTEST_APPLESS_MAIN(RecordsTest)
#include "tst_records.moc"
