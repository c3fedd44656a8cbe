// The configuration file: what it keeps, what it refuses and why, and how it
// is written to disk.
#include "ConfigFile.h"
#include "ConfigText.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const MessageText placeholder{PlaceholderText, true};

// A small configuration as the program writes it.
const QByteArray shopFile = R"({
    "format": "tavek-configuration",
    "version": 1,
    "inputs": [
        {
            "input": 1,
            "status": "active",
            "restState": "normally-open",
            "bit": "single",
            "delayMs": 0,
            "singleMessage": "ALLARME INTRUSIONE",
            "doubleMessage": null
        },
        {
            "input": 2,
            "status": "inactive",
            "restState": "normally-closed",
            "bit": "double",
            "delayMs": 300,
            "singleMessage": null,
            "doubleMessage": "RIPRISTINO"
        },
        {
            "input": 3,
            "status": "none",
            "restState": "normally-open",
            "bit": "single",
            "delayMs": 1000,
            "singleMessage": "",
            "doubleMessage": null
        }
    ],
    "phoneBook": [
        {"position": 1, "number": "+393351234567"},
        {"position": 20, "number": "0612345678"}
    ]
}
)";

QByteArray edited(std::initializer_list<std::pair<QByteArray, QByteArray>> changes) {
    QByteArray text = shopFile;
    for (const auto& [from, to] : changes) {
        if (text.count(from) != 1)
            qFatal("\"%s\" is not once in the shop file", from.constData());
        text.replace(from, to);
    }
    return text;
}

QStringList describe(const ModemConfiguration& c) {
    QStringList lines = ::describe(c.inputs);
    for (int p = 1; p <= PhoneBookSize; ++p) {
        if (!c.phoneBook[p - 1].isEmpty())
            lines += QStringLiteral("%1: %2").arg(p).arg(c.phoneBook[p - 1]);
    }
    return lines;
}

ModemConfiguration shop() {
    return readConfigurationFile(shopFile).configuration.value();
}

} // namespace

class ConfigFileTest : public QObject {
    Q_OBJECT

private slots:
    void configurationsComeBackExactly_data() {
        QTest::addColumn<ModemConfiguration>("configuration");
        ModemConfiguration every;
        every.inputs = {InputConfig{InputStatus::Active, RestState::NormallyClosed, BitMode::Double,
                                    1, typed(PlaceholderText),
                                    typed(R"(Sirena "zona 12" \ porta: 3° piano, caffè, Straße!)")},
                        InputConfig{InputStatus::Neither, RestState::NormallyOpen, BitMode::Double,
                                    7, typed("\u00ff"), placeholder},
                        InputConfig{}};
        for (int p = 1; p <= PhoneBookSize; ++p)
            every.phoneBook[p - 1] = QStringLiteral("+3933512345%1").arg(p);
        QTest::newRow("panels at start, phone book free") << ModemConfiguration{};
        QTest::newRow("placeholder text in black, 50 characters, every position") << every;
    }

    void configurationsComeBackExactly() {
        QFETCH(ModemConfiguration, configuration);
        const QByteArray text = configurationFileText(configuration);
        const ConfigurationFileReading reading = readConfigurationFile(text);
        QCOMPARE(reading.problems, QStringList{});
        QCOMPARE(describe(*reading.configuration), describe(configuration));
        QCOMPARE(configurationFileText(*reading.configuration), text);
    }

    // A file, and the start of each problem it must list; a file without
    // problems must read as the shop.
    void filesAndTheirProblems_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("the shop, unknown keys ignored")
            << edited({{"\"version\": 1,", "\"version\": 1, \"note\": {\"by\": \"Mario\"},"},
                       {"\"input\": 2,", "\"input\": 2, \"zone\": \"garage\","},
                       {"\"position\": 20,", "\"position\": 20, \"who\": \"Anna\","}})
            << QStringList{};
        QTest::newRow("broken JSON: only that, with line and column")
            << edited({{"\"version\": 1,", "\"version\" 1,"}, {"300", "7"}})
            << QStringList{"line 3, column 16: not valid JSON (missing name separator)"};
        QTest::newRow("a list") << QByteArray("[]") << QStringList{"the file: must be one JSON"};
        QTest::newRow("foreign format, no version: nothing else judged")
            << edited({{"-configuration", "-phonebook"}, {"\"version\": 1,", ""}, {"300", "7"}})
            << QStringList{R"(format: must be "tavek-configuration", not "tavek-phonebook")",
                           "version: missing; it must be a whole number from 1 up"};
        QTest::newRow("newer version")
            << edited({{"\"version\": 1,", "\"version\": 3,"}})
            << QStringList{"version: this file was written by a newer Tavek (version 3); this "
                           "Tavek reads version 1"};
        QTest::newRow("version not whole") << edited({{"\"version\": 1,", "\"version\": 1.5,"}})
                                           << QStringList{"version: must be a whole number"};
        QTest::newRow("every problem listed")
            << edited({{"ALLARME INTRUSIONE", QByteArray(50, 'A') + R"(\u007f)"},
                       {"\"restState\": \"normally-closed\",", ""},
                       {"\"double\"", "\"dual\""},
                       {"300", "250"},
                       {"RIPRISTINO", R"(RIPRI\nSTINO)"},
                       {"\"none\"", "\"off\""},
                       {"\"singleMessage\": \"\"", R"("singleMessage": "\u0085")"},
                       {"+393351234567", "+39 335 1234567"},
                       {"\"position\": 20", "\"position\": 21"}})
            << QStringList{
                   "inputs[0].singleMessage (input 1): is 51 characters long",
                   "inputs[0].singleMessage (input 1): holds a control character (code "
                   "127) at character 51",
                   "inputs[1].restState (input 2): missing; it must be \"normally-open\"",
                   R"(inputs[1].bit (input 2): must be "single" or "double", not "dual")",
                   "inputs[1].delayMs (input 2): must be 0 (no delay), 100, 200, ... or "
                   "1000, not 250",
                   "inputs[1].doubleMessage (input 2): holds a control character (code 10)",
                   R"(inputs[2].status (input 3): must be "active", "inactive" or "none")",
                   "inputs[2].singleMessage (input 3): holds a control character (code 133)",
                   R"(phoneBook[0].number (position 1): "+39 335 1234567" holds something)",
                   "phoneBook[1].position: must be a whole number from 1 to 20, not 21"};
        QTest::newRow("inputs not 1, 2, 3 once each")
            << edited({{"\"input\": 2", "\"input\": 1"}, {"\"input\": 3", "\"input\": 4"}})
            << QStringList{"inputs[1].input: input 1 is listed twice",
                           "inputs[2].input: must be 1, 2 or 3, not 4",
                           "inputs: input 2 is missing", "inputs: input 3 is missing"};
        QTest::newRow("wrong types, empty number, position twice")
            << edited({{"\"ALLARME INTRUSIONE\"", "42"},
                       {"300", "\"300\""},
                       {"\"+393351234567\"", "\"\""},
                       {"\"position\": 20", "\"position\": 1"},
                       {"\"0612345678\"", "612345678"}})
            << QStringList{
                   "inputs[0].singleMessage (input 1): must be a text in quotes, or null",
                   R"(inputs[1].delayMs (input 2): must be 0 (no delay), 100, 200, ... or 1000, not "300")",
                   "phoneBook[0].number (position 1): is empty; leave the position out",
                   "phoneBook[1].position: position 1 is listed twice",
                   "phoneBook[1].number (position 1): must be a number in quotes"};
        QTest::newRow("no inputs, phone book not a list")
            << QByteArray(R"({"format": "tavek-configuration", "version": 1, "phoneBook": {}})")
            << QStringList{"inputs: missing; it must be the list of the three alarm inputs",
                           "phoneBook: must be the list of numbers, [] when every position is "
                           "free, not an object"};
    }

    void filesAndTheirProblems() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        const ConfigurationFileReading reading = readConfigurationFile(file);
        const QString problems = reading.problems.join(u'\n');
        QCOMPARE(reading.configuration.has_value(), expected.isEmpty());
        QVERIFY2(reading.problems.size() == expected.size(), qPrintable(problems));
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY2(reading.problems[i].startsWith(expected[i]), qPrintable(problems));
        if (expected.isEmpty())
            QCOMPARE(describe(*reading.configuration), describe(shop()));
    }

    // Only the placeholder itself is no message: text typed over it while
    // still in its colour (reached by Tab) is kept, and opens in black.
    void theShopReadsAndIsWrittenBackExactly() {
        ModemConfiguration configuration = shop();
        QCOMPARE(describe(configuration),
                 (QStringList{"1 0 O S [ALLARME INTRUSIONE] [Type here your message]*",
                              "0 3 C D [Type here your message]* [RIPRISTINO]",
                              "- 10 O S [] [Type here your message]*", "1: +393351234567",
                              "20: 0612345678"}));
        configuration.inputs[0].singleMessage.placeholderColour = true;
        QCOMPARE(QString::fromUtf8(configurationFileText(configuration)),
                 QString::fromUtf8(shopFile));
    }

    // The folder holds a longer old.tavek and an empty read-only folder "locked".
    void saveReplacesAFileWholeOrLeavesTheFolderAsItWas_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("delayIndex");
        QTest::addColumn<bool>("saved");
        QTest::newRow("over the old file") << "old.tavek" << 3 << true;
        QTest::newRow("folder that does not exist") << "missing/new.tavek" << 3 << false;
        QTest::newRow("a file where the folder should be") << "old.tavek/new.tavek" << 3 << false;
        QTest::newRow("read-only folder") << "locked/new.tavek" << 3 << false;
        QTest::newRow("a file that would not open again") << "old.tavek" << 11 << false;
    }

    void saveReplacesAFileWholeOrLeavesTheFolderAsItWas() {
        QFETCH(QString, target);
        QFETCH(int, delayIndex);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QByteArray oldText(10000, 'x');
        QFile old(dir.filePath("old.tavek"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(oldText) == oldText.size());
        old.close();
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
        if (target.startsWith("locked") && QFileInfo(dir.filePath("locked")).isWritable())
            QSKIP("this user writes into read-only folders");
        const auto entries = [&] {
            return QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        };
        const QStringList before = entries();

        ModemConfiguration configuration = shop();
        configuration.inputs[1].delayIndex = delayIndex;
        QString error;
        QCOMPARE(saveConfigurationFile(dir.filePath(target), configuration, &error), saved);
        QCOMPARE(error.isEmpty(), saved);
        QCOMPARE(entries(), before);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), saved ? shopFile : oldText);
    }

    void theExampleOpensAndAnUnreadableFileIsOneProblem() {
        QCOMPARE(loadConfigurationFile(TAVEK_EXAMPLE_FILE).problems, QStringList{});
        const QStringList problems = loadConfigurationFile("/nonexistent/modem.tavek").problems;
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0].startsWith("/nonexistent/modem.tavek: cannot be read"),
                 qPrintable(problems[0]));
    }
};

QTEST_APPLESS_MAIN(ConfigFileTest)
#include "tst_config_file.moc"
