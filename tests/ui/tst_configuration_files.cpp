// "Open configuration…" and "Save configuration…" on a connected window: the
// file dialogs are answered here, the modem is the virtual one on its line.
#include "ModemWindowFixture.h"

#include "ConfigFile.h"
#include "ConfigText.h"
#include "MessageTextBox.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Input 1 with quotes (written \u0022: moc misreads \" in a raw string) and
// Latin-1 letters, input 2 with no Double message, input 3 with no messages
// at all; positions 1 and 20.
const QByteArray shopFile = R"({
    "format": "tavek-configuration",
    "version": 1,
    "inputs": [
        {"input": 1, "status": "active", "restState": "normally-closed", "bit": "double",
         "delayMs": 500, "singleMessage": "ALLARME \u0022Magazzino\u0022 4° C", "doubleMessage": "FINE"},
        {"input": 2, "status": "none", "restState": "normally-open", "bit": "single",
         "delayMs": 0, "singleMessage": "", "doubleMessage": null},
        {"input": 3, "status": "inactive", "restState": "normally-open", "bit": "single",
         "delayMs": 1000, "singleMessage": null, "doubleMessage": null}
    ],
    "phoneBook": [
        {"position": 1, "number": "+393351234567"},
        {"position": 20, "number": "0612345678"}
    ]
}
)";

} // namespace

class ConfigurationFilesTest : public ModemWindowFixture {
    Q_OBJECT

    QTemporaryDir settings;
    QTemporaryDir folder;
    // What the file dialogs were asked, and how they answer.
    struct {
        QStringList openedIn, suggested, errors;
        QString open, save;
    } files;

    QString write(const QString& name, const QByteArray& text) {
        QDir().mkpath(QFileInfo(folder.filePath(name)).absolutePath());
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }
    // The panels as the user reads them, and the grid's filled rows.
    QStringList shown() const {
        QStringList lines;
        for (int n = 1; n <= InputCount; ++n)
            lines << describe(window->inputConfig(n));
        for (int p = 1; p <= PhoneBookSize; ++p)
            if (!window->phoneNumber(p).isEmpty())
                lines << QStringLiteral("%1:%2").arg(p).arg(window->phoneNumber(p));
        return lines;
    }

private slots:
    void initTestCase() {
        // Settings of the test's own: the remembered folder must not be the user's.
        QVERIFY(settings.isValid() && folder.isValid());
        QCoreApplication::setOrganizationName(QStringLiteral("tavek-tests"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        // The test's home has its documents folder, as a desktop user's has.
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    }
    void init() {
        ModemWindowFixture::init();
        files = {};
        FileDialogs& dialogs = window->fileDialogs();
        dialogs.openFileName = [this](const QString& in) {
            files.openedIn << in;
            return files.open;
        };
        dialogs.saveFileName = [this](const QString& suggested) {
            files.suggested << suggested;
            return files.save;
        };
        dialogs.fileError = [this](const QString& text) { files.errors << text; };
    }

    void commandsFollowTheRelaysAndNeedAConnection() {
        MainToolbar& toolbar = *window->toolbar();
        const QList<QAction*> actions = toolbar.actions();
        const qsizetype relayOff = actions.indexOf(toolbar.action(ToolbarCommand::RelayOff));
        QCOMPARE(actions.indexOf(toolbar.action(ToolbarCommand::OpenConfiguration)), relayOff + 1);
        QCOMPARE(actions.indexOf(toolbar.action(ToolbarCommand::SaveConfiguration)), relayOff + 2);
        QCOMPARE(toolbar.button(ToolbarCommand::OpenConfiguration)->accessibleName(),
                 QStringLiteral("Open configuration\u2026"));
        for (auto command : {ToolbarCommand::OpenConfiguration, ToolbarCommand::SaveConfiguration})
            QVERIFY(!toolbar.button(command)->isEnabled());
        connectToTheModem();
        for (auto command : {ToolbarCommand::OpenConfiguration, ToolbarCommand::SaveConfiguration})
            QVERIFY(toolbar.button(command)->isEnabled());
    }

    // The boxes without a message in the file show the placeholder in its
    // colour, so that "Set" sends them as the window always sent an untouched box.
    void openFillsTheWindowAsIfTypedAndSendsNothing() {
        connectToTheModem();
        files.open = write("shop.tavek", shopFile);
        clickToolbar(*window, ToolbarCommand::OpenConfiguration);
        QCOMPARE(files.errors, QStringList{});
        const QString none = "[" + PlaceholderText + "]*";
        QCOMPARE(shown(), (QStringList{"1 5 C D [ALLARME \"Magazzino\" 4° C] [FINE]",
                                       "- 0 O S [] " + none, "0 10 O S " + none + " " + none,
                                       "1:+393351234567", "20:0612345678"}));
        QVERIFY(window->txtMessage(6)->inPlaceholderColour());
        QVERIFY(!window->txtMessage(2)->inPlaceholderColour());
        QVERIFY(!modem->waitForLines(1, 300));

        QTest::mouseClick(window->cmdSendInputs(), Qt::LeftButton);
        QCOMPARE(boxes.errors, QStringList{});
        const auto inputs = modem->inputs();
        // Resting closed, input 1's Single message is the one for an opening contact.
        QCOMPARE(inputs[0].messageO, QByteArray("ALLARME \"Magazzino\" 4\xB0 C"));
        QCOMPARE(inputs[0].messageC, QByteArray("FINE"));
        QCOMPARE(inputs[2].messageC + inputs[2].messageO, QByteArray());
        QCOMPARE(inputs[2].delay, 10);
    }

    void openRefusesABadFileWholeAndChangesNothing_data() {
        QTest::addColumn<QByteArray>("text"); // empty: the dialog is cancelled
        QTest::newRow("values out of range")
            << QByteArray(shopFile)
                   .replace("\"delayMs\": 500", "\"delayMs\": 550")
                   .replace("0612345678", "06 1234")
                   .replace("{\"position\": 1,", "{\"position\": 21,");
        QTest::newRow("not JSON") << QByteArray(shopFile).replace("\"bit\": \"double\",",
                                                                  "\"bit\": \"double\"");
        QTest::newRow("a newer version")
            << QByteArray(shopFile).replace("\"version\": 1", "\"version\": 2");
        QTest::newRow("cancelled") << QByteArray();
    }
    void openRefusesABadFileWholeAndChangesNothing() {
        QFETCH(QByteArray, text);
        connectToTheModem();
        const QStringList before = shown();
        files.open = text.isEmpty() ? QString() : write("bad.tavek", text);
        clickToolbar(*window, ToolbarCommand::OpenConfiguration);
        QCOMPARE(shown(), before);
        if (text.isEmpty()) {
            QCOMPARE(files.errors, QStringList{});
            return;
        }
        // One box, every problem in it.
        QCOMPARE(files.errors, QStringList{files.open + " was not opened.\n\n" +
                                           problemsText(readConfigurationFile(text).problems)});
        QVERIFY(!modem->waitForLines(1, 100));
    }

    void saveWritesWhatTheWindowShows() {
        connectToTheModem();
        // A number typed, a Single box emptied and left: it shows the placeholder again.
        clickCell(*window->phoneGrid(), 12);
        QTest::keyClicks(window->phoneGrid(), "0039");
        MessageTextBox& box = *window->txtMessage(2);
        QTest::mouseClick(&box, Qt::LeftButton);
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_Backspace);
        QTest::keyClick(&box, Qt::Key_Tab);
        QVERIFY(box.inPlaceholderColour());

        files.save = folder.filePath("saved/modem.tavek");
        QDir().mkpath(folder.filePath("saved"));
        clickToolbar(*window, ToolbarCommand::SaveConfiguration);
        QCOMPARE(files.errors, QStringList{});
        const ConfigurationFileReading saved = loadConfigurationFile(files.save);
        QVERIFY2(saved.configuration, qPrintable(saved.problems.join('\n')));
        QStringList inFile = describe(saved.configuration->inputs);
        for (int p = 1; p <= PhoneBookSize; ++p)
            if (!saved.configuration->phoneBook[p - 1].isEmpty())
                inFile << QStringLiteral("%1:%2").arg(p).arg(saved.configuration->phoneBook[p - 1]);
        QCOMPARE(inFile, shown());
        QCOMPARE(shown().filter("+39").size(), 3); // +391, +3977 and the typed +39

        // A folder that is not there: the box says why, and nothing is left behind.
        files.save = folder.filePath("gone/modem.tavek");
        clickToolbar(*window, ToolbarCommand::SaveConfiguration);
        QCOMPARE(files.errors.size(), 1);
        QVERIFY2(files.errors[0].startsWith("Could not save " + files.save),
                 qPrintable(files.errors[0]));
        QVERIFY(!QFileInfo::exists(folder.filePath("gone")));
    }

    // What the grid's keys and a modem let into the window but no file can
    // hold is named in the window's words, before any file name is asked for.
    void saveRefusesWhatAFileCannotHold() {
        auto inputs = modem->inputs();
        inputs[1].messageO = QByteArray(55, 'x');
        modem->setInputs(inputs);
        connectToTheModem();
        clickCell(*window->phoneGrid(), 3);
        QTest::keyClicks(window->phoneGrid(), "++39+1");
        QCOMPARE(window->phoneNumber(3), QStringLiteral("++39+1"));

        clickToolbar(*window, ToolbarCommand::SaveConfiguration);
        QCOMPARE(files.errors,
                 QStringList{"The configuration was not saved. Change these first:\n"
                             "- Input 2, Single message: 55 characters long; a message holds at "
                             "most 50\n"
                             "- Position 3: \"++39+1\" holds something other than digits and one "
                             "leading \"+\""});
        QCOMPARE(files.suggested, QStringList{});
    }

    // The dialogs start in the folder of the last file chosen, also in the
    // next window, and in the documents folder when that folder is gone.
    void theDialogsStartInTheLastFolder() {
        QSettings().clear();
        connectToTheModem();
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        files.open = write("site-a/shop.tavek", shopFile);
        clickToolbar(*window, ToolbarCommand::OpenConfiguration);
        files.save = folder.filePath("site-b/next.tavek");
        QDir().mkpath(folder.filePath("site-b"));
        clickToolbar(*window, ToolbarCommand::SaveConfiguration);
        QCOMPARE(files.openedIn, QStringList{documents});
        QCOMPARE(files.suggested, QStringList{folder.filePath("site-a/configuration.tavek")});
        QVERIFY(QFileInfo::exists(files.save));

        cleanup();
        init();
        connectToTheModem();
        clickToolbar(*window, ToolbarCommand::OpenConfiguration);
        QDir(folder.filePath("site-b")).removeRecursively();
        clickToolbar(*window, ToolbarCommand::OpenConfiguration);
        QCOMPARE(files.openedIn, (QStringList{folder.filePath("site-b"), documents}));
    }

    // The system's dialogs, unshown: where they start and what they take.
    void theRealDialogsStartWhereTheyAreTold() {
        QDir().mkpath(folder.filePath("site"));
        std::unique_ptr<QFileDialog> save(createSaveConfigurationDialog(
            window.get(), folder.filePath("site/configuration.tavek")));
        QCOMPARE(save->directory().absolutePath(), folder.filePath("site"));
        QCOMPARE(save->selectedFiles(), QStringList{folder.filePath("site/configuration.tavek")});
        QCOMPARE(save->defaultSuffix(), QStringLiteral("tavek"));
        QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
        std::unique_ptr<QFileDialog> open(
            createOpenConfigurationDialog(window.get(), folder.filePath("site")));
        QCOMPARE(open->directory().absolutePath(), folder.filePath("site"));
        QCOMPARE(open->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(open->nameFilters().first(), QStringLiteral("Tavek configuration (*.tavek)"));
        std::unique_ptr<QMessageBox> box(createFileErrorBox(window.get(), "x"));
        QCOMPARE(box->windowTitle(), QStringLiteral("Configuration file"));
    }
};

QTEST_MAIN(ConfigurationFilesTest)
#include "tst_configuration_files.moc"
