// "Open configuration…" and "Save configuration…" on a connected window: the
// file dialogs are answered here, the modem is the virtual one on its line.
// What a file may hold, and how it is read and written, is met in
// tests/config; here, what the window makes of it.
#include "ModemWindowFixture.h"

#include "Backups.h"
#include "ConfigFile.h"
#include "FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class ConfigurationFilesTest : public ModemWindowFixture {
    Q_OBJECT

    QTemporaryDir settings;
    QTemporaryDir folder;
    // What the file dialogs were asked, and how they answer.
    struct {
        QStringList openedIn, suggested, errors;
        QString open, save;
    } files;

    ModemConfiguration shown() const {
        ModemConfiguration configuration;
        for (int n = 1; n <= InputCount; ++n)
            configuration.inputs[n - 1] = window->model().input(n);
        for (int p = 1; p <= PhoneBookSize; ++p)
            configuration.phoneBook[p - 1] = window->model().number(p);
        return configuration;
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
        connectToTheModem();
    }

    // What the window shows goes to a file and comes back, a box with the
    // placeholder as one, with nothing sent to the modem. A bad file changes
    // nothing, also where it is good, and one box lists its problems.
    void saveAndOpenBringTheWindowBack() {
        window->model().setInput(3, InputConfig{}); // both boxes show the placeholder
        const ModemConfiguration saved = shown();
        files.save = folder.filePath("shop.tavek");
        clickToolbar(*window, QStringLiteral("save-configuration"));
        clickCell(*phoneGrid(*window), 12);
        QTest::keyClicks(phoneGrid(*window), "0039");
        window->model().setInput(3, saved.inputs[0]);
        const ModemConfiguration changed = shown();

        const QByteArray bad = configurationFileText(saved).replace("+3977", "+39 77");
        QFile badFile(folder.filePath("bad.tavek"));
        QVERIFY(badFile.open(QIODevice::WriteOnly) && badFile.write(bad) == bad.size());
        badFile.close();
        files.open = badFile.fileName();
        clickToolbar(*window, QStringLiteral("open-configuration"));
        QVERIFY(shown() == changed);
        QCOMPARE(files.errors, QStringList{files.open + " was not opened.\n\n" +
                                           problemsText(readConfigurationFile(bad).problems)});
        files.open = files.save;
        clickToolbar(*window, QStringLiteral("open-configuration"));
        QVERIFY(shown() == saved);
        QVERIFY(!modem->waitForLines(1, 300));

        files.save = folder.filePath("gone/modem.tavek");
        clickToolbar(*window, QStringLiteral("save-configuration"));
        QVERIFY2(files.errors.value(1).startsWith("Could not save " + files.save),
                 qPrintable(files.errors.join('\n')));
        // A pipe is neither waited on nor replaced.
        files.open = files.save = folder.filePath("pipe.tavek");
        QCOMPARE(::mkfifo(QFile::encodeName(files.open), 0644), 0);
        clickToolbar(*window, QStringLiteral("open-configuration"));
        clickToolbar(*window, QStringLiteral("save-configuration"));
        QCOMPARE(
            files.errors.mid(2),
            (QStringList{files.open + " was not opened.\n\n" +
                             problemsText({files.open + ": cannot be read (It is a pipe "
                                                        "(FIFO), not a file)"}),
                         "Could not save " + files.save + ": It is a pipe (FIFO), not a file."}));
        QVERIFY(shown() == saved);
        QVERIFY(!QFileInfo(files.save).isFile());
    }

    // What the window holds but no file and no phone book can, a "+" left
    // alone in the grid or a number with a blank read from a modem, is named
    // in the window's words: by Save before any file name is asked for, by
    // the phone book's Set in one box before anything is sent.
    void saveAndSetRefuseWhatIsNoNumber() {
        clickCell(*phoneGrid(*window), 3);
        QTest::keyClicks(phoneGrid(*window), "+");
        window->model().setNumber(7, "06 1");
        const QString positions =
            "- Position 3: \"+\" is a \"+\" without digits\n"
            "- Position 7: \"06 1\" holds something other than digits and one leading \"+\"";
        clickToolbar(*window, QStringLiteral("save-configuration"));
        QCOMPARE(files.errors,
                 QStringList{"The configuration was not saved. Change these first:\n" + positions});
        QCOMPARE(files.suggested, QStringList{});
        QTest::mouseClick(cmdSetNumbers(*window), Qt::LeftButton);
        QCOMPARE(boxes.errors, QStringList{"The phone numbers were not sent. Complete or empty "
                                           "these positions first:\n" +
                                           positions});
        QVERIFY(!modem->waitForLines(1, 300));
    }

    // The dialogs start in the folder of the last file chosen, also in the
    // next window, and in the documents folder when that folder is gone.
    void theDialogsStartInTheLastFolder() {
        QTemporaryDir site;
        files.open = site.filePath("shop.tavek"); // not there: said, but remembered
        clickToolbar(*window, QStringLiteral("open-configuration"));
        clickToolbar(*window, QStringLiteral("save-configuration")); // cancelled
        QCOMPARE(files.suggested, QStringList{site.filePath("configuration.tavek")});
        cleanup();
        init();
        clickToolbar(*window, QStringLiteral("open-configuration"));
        site.remove();
        clickToolbar(*window, QStringLiteral("open-configuration"));
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(files.openedIn, (QStringList{site.path(), documents}));
    }

    // Restoring a backup is opening it: the Open dialog has the folder at hand.
    void theOpenDialogHasTheBackupsAtHand() {
        std::unique_ptr<QFileDialog> dialog(
            createOpenConfigurationDialog(window.get(), folder.path()));
        QVERIFY(dialog->sidebarUrls().contains(QUrl::fromLocalFile(backupsFolder())));
        QVERIFY(QFileInfo(backupsFolder()).isDir());
    }
};

QTEST_MAIN(ConfigurationFilesTest)
#include "tst_configuration_files.moc"
