// The toolbar's commands end to end: the window drives the real serial port,
// the virtual modem on a pseudo-terminal answers.
#include "ModemWindowFixture.h"

#include "MessageTextBox.h"

#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(ToolbarCommand)

class ToolbarFlowsTest : public ModemWindowFixture {
    Q_OBJECT

private slots:
    // While the reads after the connection check run, "Set" is ignored and the
    // grid stays editable.
    void connectShowsWhatTheModemHolds() {
        chooseTheModemsPort();
        QCOMPARE(window->connection().commPortNumber(), com);
        QTimer::singleShot(0, this, [this] {
            QVERIFY(window->commandRunning());
            QTest::mouseClick(window->cmdSetNumbers(), Qt::LeftButton);
            clickCell(*window->phoneGrid(), 12);
            QTest::keyClicks(window->phoneGrid(), "0039");
        });
        clickToolbar(*window, ToolbarCommand::Connection);
        QCOMPARE(boxes.errors, QStringList{});
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QCOMPARE(reachable(*window), Connected);
        QCOMPARE(window->inputConfig(1),
                 (InputConfig{InputStatus::Active, RestState::NormallyOpen, BitMode::Single, 3,
                              MessageText{"Alarm one", false}, MessageText{"Back one", false}}));
        QCOMPARE(window->inputConfig(2),
                 (InputConfig{InputStatus::Active, RestState::NormallyClosed, BitMode::Double, 10,
                              MessageText{"Door open", false}, MessageText{"Door shut", false}}));
        QCOMPARE(window->phoneNumber(1) + " " + window->phoneNumber(7) + " " +
                     window->phoneNumber(12),
                 QStringLiteral("+391 +3977 +39"));
        for (const QString& line : modemLines())
            QVERIFY2(!line.startsWith("AT+EGPHN="), qPrintable(line));
    }

    void noModemGivesThePortBack() {
        modem->setSilent(true);
        chooseTheModemsPort();
        clickToolbar(*window, ToolbarCommand::Connection);
        QCOMPARE(boxes.errors.size(), 1);
        QCOMPARE(boxes.errors[0].section('\n', 0, 0), "Modem not connected");
        QCOMPARE(boxes.imageAtError, 2);
        QCOMPARE(reachable(*window), NotConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
    }

    void disconnectSendsNothingReleasesThePortAndStartsAfresh() {
        connectToTheModem();
        // "Set" of the inputs leaves the port open; disconnecting lets it go.
        QTest::mouseClick(window->cmdSendInputs(), Qt::LeftButton);
        QVERIFY(window->connection().port().isOpen());
        modem->clearReceived();

        clickToolbar(*window, ToolbarCommand::Connection);
        QVERIFY(!modem->waitForLines(1, 300));
        QVERIFY(!window->connection().port().isOpen());
        QCOMPARE(reachable(*window), NotConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QCOMPARE(window->cmbSerial()->currentText(), QStringLiteral("Com 1"));
        QCOMPARE(window->connection().commPortNumber(), 1);
        QCOMPARE(window->inputConfig(1), InputConfig{});
        QCOMPARE(window->phoneNumber(1), QString());
    }

    void commandSendsExactly_data() {
        QTest::addColumn<ToolbarCommand>("command");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("lines"); // the first lines on the wire
        const QString ask = "ATTENTION:\r\nThis action will %1!\r\nDo you want to continue?";
        const QString reset = ask.arg("reset all communication setting"),
                      wipe = ask.arg("delete all data");
        QTest::newRow("relay on") << ToolbarCommand::RelayOn << true << QString()
                                  << QStringList{"AT+WIOW=0,0"};
        QTest::newRow("relay off")
            << ToolbarCommand::RelayOff << true << QString() << QStringList{"AT+WIOW=0,1"};
        QTest::newRow("reset, No") << ToolbarCommand::ResetModem << false << reset << QStringList{};
        QTest::newRow("defaults, No")
            << ToolbarCommand::DefaultSettings << false << wipe << QStringList{};
        QTest::newRow("reset, Yes")
            << ToolbarCommand::ResetModem << true << reset
            << QStringList{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"};
        QStringList defaults;
        for (int position = 1; position <= 20; ++position)
            defaults << QStringLiteral("AT+EGPHN=%1").arg(position);
        // Input 2 was active in the modem; the defaults leave neither option chosen.
        defaults << "AT+EGINP=1,1,1,\"O\",\"S\""
                 << "AT+EGINP=1,\"C\",\"ALLARME  1 ON\""
                 << "AT+EGINP=1,\"O\",\"ALLARME  1 OFF\""
                 << "AT+EGINP=2,0,1,\"O\",\"S\"";
        QTest::newRow("defaults, Yes")
            << ToolbarCommand::DefaultSettings << true << wipe << defaults;
    }
    void commandSendsExactly() {
        QFETCH(ToolbarCommand, command);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        QFETCH(QStringList, lines);
        connectToTheModem();
        boxes.answerYes = yes;
        // Clicks delivered at the exchange's first pumping of events are ignored.
        if (yes) {
            QTimer::singleShot(0, this, [this] {
                QVERIFY(window->commandRunning());
                QTest::mouseClick(window->cmdSendInputs(), Qt::LeftButton);
                QTest::mouseClick(window->cmdSetNumbers(), Qt::LeftButton);
                clickToolbar(*window, ToolbarCommand::RelayOff);
                clickToolbar(*window, ToolbarCommand::Connection);
            });
        }
        clickToolbar(*window, command);
        QCOMPARE(boxes.confirmations, question.isEmpty() ? QStringList{} : QStringList{question});
        if (!yes)
            QVERIFY(!modem->waitForLines(1, 300));
        const bool wiped = command == ToolbarCommand::DefaultSettings && yes;
        QCOMPARE(modemLines().mid(0, lines.size()), lines);
        QCOMPARE(modemLines().size(), wiped ? 20 + 9 : lines.size());
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QCOMPARE(reachable(*window), Connected);
        QCOMPARE(window->phoneNumber(1), wiped ? QString() : QStringLiteral("+391"));
        if (wiped) {
            QCOMPARE(window->txtMessage(4)->text(), QStringLiteral("ALLARME  1 OFF"));
            QVERIFY(modem->phoneBook() == (std::array<QByteArray, 20>{}));
            QCOMPARE(modem->inputs()[0].messageO, "ALLARME  1 OFF");
        }
        QCOMPARE(boxes.errors, QStringList{});
    }

    void aboutOpensOnceWithoutBlocking() {
        clickToolbar(*window, ToolbarCommand::About);
        clickToolbar(*window, ToolbarCommand::About);
        QCOMPARE(window->findChildren<AboutWindow*>().size(), 1);
        QPointer<AboutWindow> about = window->aboutWindow();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QList<QUrl> opened;
        about->openLink = [&](const QUrl& url) { opened << url; };
        QTest::mouseClick(about->findChild<QLabel*>("URLlbl"), Qt::LeftButton);
        QTest::mouseClick(about->findChild<QLabel*>("MAILlbl"), Qt::LeftButton);
        QCOMPARE(opened, (QList<QUrl>{QUrl("https://www.example.com/"),
                                      QUrl("mailto:support@example.org")}));
        QTest::keyClick(about, Qt::Key_X, Qt::AltModifier); // "E&xit"
        QTRY_VERIFY(about.isNull());
    }
};

QTEST_MAIN(ToolbarFlowsTest)
#include "tst_toolbar_flows.moc"
