// What the user typed is not let go without a word: a disconnect or a close
// with changes the modem was not sent asks first; a write the modem did not
// keep as sent is said in one box, and what the user had stays shown. The
// window drives the real serial port; the virtual modem on a 9600 bit/s line
// answers.
#include "ModemWindowFixture.h"

#include "ConfigFile.h"
#include "FileDialogs.h"
#include "MessageTextBox.h"
#include "PhoneGrid.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString discardQuestion =
    "The window holds changes that were not sent to the modem. Discard them?";
}

class UnsentEditsTest : public ModemWindowFixture {
    Q_OBJECT

    QTemporaryDir folder;

    // The user's changes: a number typed into the grid, or a file opened.
    void change(const QString& how) {
        if (how == "typed") {
            clickCell(*phoneGrid(*window), 12);
            QTest::keyClicks(phoneGrid(*window), "+3912345");
            QTest::keyClick(phoneGrid(*window), Qt::Key_Return);
            QCOMPARE(window->model().number(12), QStringLiteral("+3912345"));
            return;
        }
        ModemConfiguration file;
        file.phoneBook[11] = "+3912345";
        const QString path = folder.filePath("site.tavek");
        QVERIFY(saveConfigurationFile(path, file, nullptr));
        window->fileDialogs().openFileName = [path](const QString&) { return path; };
        clickToolbar(*window, QStringLiteral("open-configuration"));
        QCOMPARE(window->model().number(12), QStringLiteral("+3912345"));
    }

private slots:
    void unsentEditsAreAskedAboutBeforeADisconnect_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("discard");
        for (const char* how : {"typed", "opened"}) {
            QTest::addRow("%s, No", how) << QString(how) << false;
            QTest::addRow("%s, Yes", how) << QString(how) << true;
        }
    }
    void unsentEditsAreAskedAboutBeforeADisconnect() {
        QFETCH(QString, how);
        QFETCH(bool, discard);
        connectToTheModem();
        change(how);
        boxes.goOn = discard;
        clickToolbar(*window, QStringLiteral("connection"));
        QCOMPARE(boxes.questions, QStringList{discardQuestion});
        QCOMPARE(boxes.warningTitles, QStringList{"Unsent changes"});
        QCOMPARE(modemLines(), QStringList{}); // a disconnect sends nothing either way
        if (discard) {
            QCOMPARE(reachable(*window), NotConnected);
            QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
            QCOMPARE(window->model().number(12), QString());
            QVERIFY(!window->connection().port().isOpen());
        } else {
            // As it was: connected, the port held, the change shown.
            QCOMPARE(reachable(*window), Connected);
            QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
            QCOMPARE(window->model().number(12), QStringLiteral("+3912345"));
            QVERIFY(window->connection().port().isOpen());
        }
    }

    void unsentEditsAreAskedAboutBeforeAClose_data() {
        QTest::addColumn<bool>("discard");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }
    void unsentEditsAreAskedAboutBeforeAClose() {
        QFETCH(bool, discard);
        connectToTheModem();
        change("typed");
        boxes.goOn = discard;
        QCOMPARE(window->close(), discard);
        QCOMPARE(boxes.questions, QStringList{discardQuestion});
        QCOMPARE(window->isVisible(), !discard);
        QCOMPARE(window->connection().port().isOpen(), !discard);
    }

    // Without changes, or once they were sent and read back as sent, a
    // disconnect and a close go as they always did.
    void nothingUnsentAsksNothing() {
        connectToTheModem();
        clickToolbar(*window, QStringLiteral("connection"));
        QCOMPARE(reachable(*window), NotConnected);
        connectToTheModem();
        change("typed");
        QTest::mouseClick(cmdSetNumbers(*window), Qt::LeftButton);
        QCOMPARE(modem->phoneBook()[11], QByteArray("+3912345"));
        QCOMPARE(boxes.errors, QStringList{});
        QVERIFY(window->close());
        QCOMPARE(boxes.questions, QStringList{});
    }

    // The modem keeps texts cut to 9 characters: the input "Set" shows
    // "...OK" for each record, as the modem answered, and the read-back that
    // follows finds the one message it did not keep. One box says so; the
    // typed text stays, so that "Set" can be clicked again.
    void aDifferenceIsShownInOneBox() {
        modem->setStoreFault(ModemCommandSet::StoreFault::CutsTexts);
        connectToTheModem();
        MessageTextBox& box = *txtMessage(*window, 5); // input 2's Double box
        QTest::mouseClick(&box, Qt::LeftButton);
        box.selectAll();
        QTest::keyClicks(&box, "Pump restored");
        QTest::mouseClick(cmdSendInputs(*window), Qt::LeftButton);
        QCOMPARE(boxes.errors, QStringList{"Input 2, Double message: sent \"Pump restored\", the "
                                           "modem holds \"Pump rest\"."});
        QCOMPARE(modemLines().size(), 9 + 1);
        QCOMPARE(modemLines().last(), QStringLiteral("AT+EGINP?"));
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QCOMPARE(box.text(), QStringLiteral("Pump restored"));
        QCOMPARE(reachable(*window), Connected);
        // Not proved, the change is still unsent.
        QVERIFY(window->session().holdsUnsentChanges());
    }
};

QTEST_MAIN(UnsentEditsTest)
#include "tst_unsent_edits.moc"
