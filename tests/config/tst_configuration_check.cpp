// What the window holds that a configuration file cannot: said in the
// window's words, and exactly what the file's own reader would refuse.
#include "ConfigFile.h"
#include "ConfigText.h"
#include "ConfigurationCheck.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ModemConfiguration)

class ConfigurationCheckTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

private slots:
    void agreesWithTheFile_data() {
        QTest::addColumn<ModemConfiguration>("configuration");
        QTest::addColumn<QStringList>("problems");

        const auto with = [](const std::function<void(ModemConfiguration&)>& change) {
            ModemConfiguration c;
            change(c);
            return c;
        };
        QTest::newRow("as the window starts") << ModemConfiguration{} << QStringList{};
        QTest::newRow("a lone +, Latin-1 letters, the placeholder's words typed")
            << with([](ModemConfiguration& c) {
                   c.phoneBook[19] = "+";
                   c.inputs[0].singleMessage = typed("Cella frigo a 4° C, già \"aperta\"");
                   c.inputs[1].doubleMessage = typed(PlaceholderText);
               })
            << QStringList{};
        QTest::newRow("a + typed inside a number")
            << with([](ModemConfiguration& c) { c.phoneBook[2] = "++39+1"; })
            << QStringList{"Position 3: \"++39+1\" holds something other than digits and one "
                           "leading \"+\""};
        QTest::newRow("a space the modem kept in a number")
            << with([](ModemConfiguration& c) { c.phoneBook[0] = "+39 335"; })
            << QStringList{"Position 1: \"+39 335\" holds something other than digits and one "
                           "leading \"+\""};
        QTest::newRow("50 characters, then 51 read from the modem")
            << with([](ModemConfiguration& c) {
                   c.inputs[0].singleMessage = typed(QString(50, u'x'));
                   c.inputs[1].singleMessage = typed(QString(51, u'x'));
               })
            << QStringList{"Input 2, Single message: 51 characters long; a message holds at "
                           "most 50"};
        QTest::newRow("a long text in the placeholder colour is no placeholder")
            << with([](ModemConfiguration& c) {
                   c.inputs[2].doubleMessage = MessageText{QString(60, u'y'), true};
               })
            << QStringList{"Input 3, Double message: 60 characters long; a message holds at "
                           "most 50"};
        QTest::newRow("control characters, and several problems at once")
            << with([](ModemConfiguration& c) {
                   c.inputs[0].doubleMessage = typed("A\tB");
                   c.inputs[2].singleMessage = typed(QStringLiteral("x\u0085"));
                   c.phoneBook[9] = "39-1";
               })
            << QStringList{"Input 1, Double message: holds a control character (code 9) at "
                           "character 2",
                           "Input 3, Single message: holds a control character (code 133) at "
                           "character 2",
                           "Position 10: \"39-1\" holds something other than digits and one "
                           "leading \"+\""};
    }
    // The check may only speak for the reader: a configuration it passes is
    // saved and opens again as it was; one it refuses the reader refuses,
    // problem for problem.
    void agreesWithTheFile() {
        QFETCH(ModemConfiguration, configuration);
        QFETCH(QStringList, problems);
        QCOMPARE(unsavableParts(configuration), problems);

        const ConfigurationFileReading reading =
            readConfigurationFile(configurationFileText(configuration));
        QCOMPARE(reading.problems.size(), problems.size());
        const QString path = folder.filePath("check.tavek");
        QCOMPARE(saveConfigurationFile(path, configuration, nullptr), problems.isEmpty());
        if (problems.isEmpty())
            QCOMPARE(describe(loadConfigurationFile(path).configuration->inputs),
                     describe(configuration.inputs));
    }
};

QTEST_GUILESS_MAIN(ConfigurationCheckTest)
#include "tst_configuration_check.moc"
