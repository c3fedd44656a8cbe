// The configuration file: what it keeps, what it refuses and where, how it
// is written to disk, and what the window holds that it cannot (said in the
// window's words, and exactly what the file's own reader would refuse).
#include "ConfigFile.h"
#include "ConfigText.h"
#include "ConfigurationCheck.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ModemConfiguration)

namespace {

// A small configuration, as a user might type it, with notes of the user's
// own that the program ignores.
const QByteArray shopFile =
    R"({"format": "tavek-configuration", "version": 1, "note": {}, "inputs": [
    {"input": 1, "status": "active", "restState": "normally-open", "bit": "single",
     "delayMs": 0, "singleMessage": "ALLARME INTRUSIONE", "doubleMessage": null},
    {"input": 2, "zone": "garage", "status": "inactive", "restState": "normally-closed",
     "bit": "double", "delayMs": 300, "singleMessage": null, "doubleMessage": "RIPRISTINO"},
    {"input": 3, "status": "none", "restState": "normally-open", "bit": "single",
     "delayMs": 1000, "singleMessage": "", "doubleMessage": null}],
  "phoneBook": [{"position": 1, "number": "+393351234567"}, {"position": 20, "number": "06"}]})";
const QStringList shopShown{"1 0 O S [ALLARME INTRUSIONE] [Type here your message]*",
                            "0 3 C D [Type here your message]* [RIPRISTINO]",
                            "- 10 O S [] [Type here your message]*", "+393351234567", "06"};

QByteArray edited(std::initializer_list<std::pair<QByteArray, QByteArray>> changes) {
    QByteArray text = shopFile;
    for (const auto& [from, to] : changes) // each row lists what it must find
        text.replace(from, to);
    return text;
}

} // namespace

class ConfigFileTest : public QObject {
    Q_OBJECT

private slots:
    // Every state of every field comes back exactly; what the window holds
    // and a file cannot, the check and the reader refuse alike, problem for
    // problem, and nothing is saved.
    void configurationsComeBackOrBothRefuse_data() {
        QTest::addColumn<ModemConfiguration>("configuration");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("as the window starts") << ModemConfiguration{} << QStringList{};
        QTest::newRow("every other state, quotes, Latin-1, the placeholder's words typed")
            << ModemConfiguration{{InputConfig{InputStatus::Active, RestState::NormallyClosed,
                                               BitMode::Double, 10,
                                               typed(R"(Sirena "zona 12" \ 3° piano, Straße!)"),
                                               typed(PlaceholderText)},
                                   InputConfig{InputStatus::Neither, RestState::NormallyOpen,
                                               BitMode::Double, 1, typed(""),
                                               typed(QString(50, u'\u00ff'))}},
                                  {"+393351234567", "+", "0612345678"}}
            << QStringList{};
        QTest::newRow("a C1 control, 51 characters in the placeholder colour, a + inside")
            << ModemConfiguration{{InputConfig{}, InputConfig{},
                                   InputConfig{
                                       {}, {}, {}, 0, typed("x\u0085"), {QString(51, u'y'), true}}},
                                  {"", "", "++39+1"}}
            << QStringList{
                   "Input 3, Single message: holds a control character (code 133) at "
                   "character 2",
                   "Input 3, Double message: 51 characters long; a message holds at most 50",
                   R"(Position 3: "++39+1" holds something other than digits and one leading "+")"};
    }
    void configurationsComeBackOrBothRefuse() {
        QFETCH(ModemConfiguration, configuration);
        QFETCH(QStringList, problems);
        QCOMPARE(unsavableParts(configuration), problems);
        const QByteArray text = configurationFileText(configuration);
        const ConfigurationFileReading reading = readConfigurationFile(text);
        QCOMPARE(reading.problems.size(), problems.size());
        QCOMPARE(reading.configuration == configuration, problems.isEmpty());
        // Saved over a longer file: it is replaced whole, or not at all.
        QTemporaryDir dir;
        QFile file(dir.filePath("modem.tavek"));
        const QByteArray old(10000, 'x');
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        QCOMPARE(saveConfigurationFile(file.fileName(), configuration, nullptr),
                 problems.isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), problems.isEmpty() ? text : old);
    }

    // A file, and the start of each problem it must list, each at its place;
    // a file without problems must read as the shop.
    void filesAndTheirProblems_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("the shop") << shopFile << QStringList{};
        QTest::newRow("broken JSON: only that, with line and column")
            << edited({{"\"bit\": \"double\",", "\"bit\" \"double\","}, {"300", "7"}})
            << QStringList{"line 5, column 13: not valid JSON (missing name separator)"};
        QTest::newRow("a list") << QByteArray("[]") << QStringList{"the file: must be one JSON"};
        QTest::newRow("foreign format, no version: nothing else judged")
            << edited({{"-configuration", "-phonebook"}, {"\"version\": 1,", ""}, {"300", "7"}})
            << QStringList{R"(format: must be "tavek-configuration", not "tavek-phonebook")",
                           "version: missing; it must be a whole number from 1 up"};
        QTest::newRow("newer version")
            << edited({{"\"version\": 1,", "\"version\": 3,"}})
            << QStringList{"version: this file was written by a newer Tavek (version 3)"};
        QTest::newRow("every problem listed")
            << edited({{"ALLARME INTRUSIONE", QByteArray(50, 'A') + R"(\u007f)"},
                       {"\"restState\": \"normally-closed\",", ""},
                       {"\"double\"", "\"dual\""},
                       {"300", "250"},
                       {"\"singleMessage\": \"\"", R"("singleMessage": "\u0085")"},
                       {"+393351234567", "+39 335 1234567"},
                       {"\"position\": 20", "\"position\": 21"}})
            << QStringList{
                   "inputs[0].singleMessage (input 1): is 51 characters long",
                   "inputs[0].singleMessage (input 1): holds a control character (code 127)",
                   "inputs[1].restState (input 2): missing; it must be \"normally-open\"",
                   R"(inputs[1].bit (input 2): must be "single" or "double", not "dual")",
                   "inputs[1].delayMs (input 2): must be 0 (no delay), 100, 200, ... or 1000",
                   "inputs[2].singleMessage (input 3): holds a control character (code 133)",
                   R"(phoneBook[0].number (position 1): "+39 335 1234567" holds something)",
                   "phoneBook[1].position: must be a whole number from 1 to 20, not 21"};
        QTest::newRow("inputs not 1, 2, 3 once each; an empty number, a position twice, a number")
            << edited({{"\"input\": 2", "\"input\": 1"},
                       {"\"input\": 3", "\"input\": 4"},
                       {"\"+393351234567\"", "\"\""},
                       {"\"position\": 20", "\"position\": 1"},
                       {"\"06\"", "6"}})
            << QStringList{"inputs[1].input: input 1 is listed twice",
                           "inputs[2].input: must be 1, 2 or 3, not 4",
                           "inputs: input 2 is missing",
                           "inputs: input 3 is missing",
                           "phoneBook[0].number (position 1): is empty",
                           "phoneBook[1].position: position 1 is listed twice",
                           "phoneBook[1].number (position 1): must be a number in quotes"};
        QTest::newRow("no inputs, phone book not a list")
            << QByteArray(R"({"format": "tavek-configuration", "version": 1, "phoneBook": {}})")
            << QStringList{"inputs: missing; it must be", "phoneBook: must be the list"};
    }
    void filesAndTheirProblems() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        const ConfigurationFileReading reading = readConfigurationFile(file);
        QStringList starts;
        for (qsizetype i = 0; i < reading.problems.size(); ++i)
            starts << reading.problems[i].left(expected.value(i).size());
        QCOMPARE(starts, expected);
        if (expected.isEmpty()) {
            const ModemConfiguration& shop = reading.configuration.value();
            QCOMPARE(describe(shop.inputs) << shop.phoneBook[0] << shop.phoneBook[19], shopShown);
        }
    }

    // The documented example is in the program's own layout, key for key; the
    // colour of a text is not kept, only whether a box shows the placeholder.
    // A path that cannot be read or written is one problem.
    void theExampleIsWrittenBackExactly() {
        QFile example(TAVEK_EXAMPLE_FILE);
        QVERIFY(example.open(QIODevice::ReadOnly));
        const QByteArray text = example.readAll();
        ModemConfiguration configuration = readConfigurationFile(text).configuration.value();
        configuration.inputs[0].singleMessage.placeholderColour = true;
        QCOMPARE(QString::fromUtf8(configurationFileText(configuration)), QString::fromUtf8(text));

        const QString path = "/nonexistent/modem.tavek";
        const QStringList problems = loadConfigurationFile(path).problems;
        QVERIFY2(problems.size() == 1 && problems[0].startsWith(path + ": cannot be read"),
                 qPrintable(problems.join(u'\n')));
        QVERIFY(!saveConfigurationFile(path, configuration, nullptr));
    }
};

QTEST_APPLESS_MAIN(ConfigFileTest)
#include "tst_config_file.moc"
