// What goes on the wire for the inputs and the phone book, character by
// character (each character is one Latin-1 byte on the port).
#include "ConfigText.h"
#include "DefaultInputs.h"
#include "InputRecords.h"
#include "PhoneRecords.h"

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
    void startupPanelsGiveTheNineLines() {
        QCOMPARE(inputRecords(InputsConfig{}),
                 (QStringList{
                     R"(AT+EGINP=1,0,0,"O","S")", R"(AT+EGINP=1,"C","")", R"(AT+EGINP=1,"O","")",
                     R"(AT+EGINP=2,0,0,"O","S")", R"(AT+EGINP=2,"C","")", R"(AT+EGINP=2,"O","")",
                     R"(AT+EGINP=3,0,0,"O","S")", R"(AT+EGINP=3,"C","")", R"(AT+EGINP=3,"O","")"}));
    }

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
        // A line break or Ctrl-Z would end the command line or start one of the modem's own.
        QTest::newRow("control characters left out, Latin-1 kept, any other character one ?")
            << InputConfig{Disactive,
                           Open,
                           Single,
                           0,
                           typed("A\r\nB\x1a"
                                 "C\tD café ñ °"),
                           typed("\x1b"
                                 "E\x7f 5 € ok 😀!")}
            << QStringList{R"(AT+EGINP=2,0,0,"O","S")", R"(AT+EGINP=2,"C","ABCD café ñ °")",
                           R"(AT+EGINP=2,"O","E 5 ? ok ?!")"};
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
                              phoneBookCommand(12, "++39+1"), phoneBookCommand(4, "+39\r\n1")}),
                 (QStringList{R"(AT+EGPHN=1,"+393351234567",128)", "AT+EGPHN=3",
                              R"(AT+EGPHN=12,"++39+1",128)", R"(AT+EGPHN=4,"+391",128)"}));
    }
};

QTEST_APPLESS_MAIN(RecordsTest)
#include "tst_records.moc"
