// The toolbar's commands end to end: the window drives the real serial port,
// the virtual modem on a pseudo-terminal answers.
#include "LongestConfiguration.h"
#include "ModemWindowFixture.h"

#include "AboutWindow.h"

#include "MessageTextBox.h"

#include <QTimer>
#include <QtTest>

class ToolbarFlowsTest : public ModemWindowFixture {
    Q_OBJECT

private slots:
    // While the reads after the connection check run, "Set" is ignored and the
    // grid stays editable.
    void connectShowsWhatTheModemHolds() {
        chooseTheModemsPort();
        QTimer::singleShot(0, this, [this] {
            QVERIFY(window->session().busy());
            QTest::mouseClick(cmdSetNumbers(*window), Qt::LeftButton);
            clickCell(*phoneGrid(*window), 12);
            QTest::keyClicks(phoneGrid(*window), "0039");
        });
        clickToolbar(*window, QStringLiteral("connection"));
        QCOMPARE(boxes.errors, QStringList{});
        QCOMPARE(reachable(*window), Connected);
        // Resting closed, input 2's Single message is the one for an opening contact.
        QCOMPARE(window->model().input(2),
                 (InputConfig{InputStatus::Active, RestState::NormallyClosed, BitMode::Double, 10,
                              MessageText{"Door open", false}, MessageText{"Door shut", false}}));
        QCOMPARE(window->model().number(7) + " " + window->model().number(12), "+3977 +39");
        QCOMPARE(modemLines().filter("AT+EGPHN="), QStringList{});
    }

    // A modem whose "OK" to the connection check comes 30 ms after its line
    // break, handed over in a USB adapter's bursts: the check reads its reply
    // to its end, so the reads take the whole phone book and every input,
    // "Set" leaves the modem as it was, and an ERROR to one record is that
    // record's own.
    void aLateResultCodeOfTheCheckIsTheChecksOwn() {
        const std::array<QByteArray, 20> full = giveTheLongestConfiguration(*modem);
        modem->setUsbLatencyMs(16);
        modem->setLateResultMsFor("AT", 30);
        chooseTheModemsPort();
        clickToolbar(*window, QStringLiteral("connection"));
        QCOMPARE(boxes.errors, QStringList{});
        QCOMPARE(reachable(*window), Connected);
        for (int p = 1; p <= 20; ++p)
            QCOMPARE(window->model().number(p), QString::fromLatin1(full[p - 1]));
        QCOMPARE(window->model().input(3).doubleMessage.text, QString(50, u'C'));

        QTest::mouseClick(cmdSetNumbers(*window), Qt::LeftButton);
        QVERIFY(modem->phoneBook() == full);
        // Input 2 rests open: its Single message goes with the letter "C".
        modem->setErrorFor("AT+EGINP=2,\"C\"");
        QTest::mouseClick(cmdSendInputs(*window), Qt::LeftButton);
        QCOMPARE(boxes.errors,
                 QStringList{"The modem did not confirm the Single message of input 2."});
    }

    void noModemGivesThePortBack() {
        modem->setSilent(true);
        chooseTheModemsPort();
        clickToolbar(*window, QStringLiteral("connection"));
        QCOMPARE(boxes.errors.size(), 1);
        QCOMPARE(boxes.errors[0].section('\n', 0, 0), "Modem not connected");
        QCOMPARE(boxes.imageAtError, 2);
        QCOMPARE(reachable(*window), NotConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
    }

    // "Set" of the inputs leaves the port open; disconnecting sends nothing,
    // lets the port go and leaves the window as it starts.
    void disconnectSendsNothingReleasesThePortAndStartsAfresh() {
        connectToTheModem();
        QTest::mouseClick(cmdSendInputs(*window), Qt::LeftButton);
        QVERIFY(window->connection().port().isOpen());
        modem->clearReceived();

        clickToolbar(*window, QStringLiteral("connection"));
        QVERIFY(!modem->waitForLines(1, 300));
        QVERIFY(!window->connection().port().isOpen());
        QCOMPARE(reachable(*window), NotConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QCOMPARE(window->connection().commPortNumber(), 1);
        QCOMPARE(window->model().input(1), InputConfig{});
        QCOMPARE(window->model().number(1), QString());
    }

    void commandSendsExactly_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("lines"); // the first lines on the wire
        const QString ask = "ATTENTION:\r\nThis action will %1!\r\nDo you want to continue?";
        const QString reset = ask.arg("reset all communication setting"),
                      wipe = ask.arg("delete all data");
        // The phone book emptied first (then the inputs as the window starts).
        QStringList defaults;
        for (int position = 1; position <= 20; ++position)
            defaults << QStringLiteral("AT+EGPHN=%1").arg(position);
        QTest::newRow("relay on") << QStringLiteral("relay-on") << "" << QStringList{"AT+WIOW=0,0"};
        QTest::newRow("relay off")
            << QStringLiteral("relay-off") << "" << QStringList{"AT+WIOW=0,1"};
        QTest::newRow("reset, No") << QStringLiteral("factory-defaults") << reset << QStringList{};
        QTest::newRow("defaults, No") << QStringLiteral("clear") << wipe << QStringList{};
        const QStringList resetLines{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"};
        QTest::newRow("reset, Yes") << QStringLiteral("factory-defaults") << reset << resetLines;
        QTest::newRow("defaults, Yes") << QStringLiteral("clear") << wipe << defaults;
    }
    void commandSendsExactly() {
        QFETCH(QString, command);
        QFETCH(QString, question);
        QFETCH(QStringList, lines);
        const bool yes = !lines.isEmpty(); // the answer where a question comes
        connectToTheModem();
        boxes.answerYes = yes;
        // Clicks delivered at the exchange's first pumping of events are ignored.
        if (yes) {
            QTimer::singleShot(0, this, [this] {
                QVERIFY(window->session().busy());
                QTest::mouseClick(cmdSendInputs(*window), Qt::LeftButton);
                QTest::mouseClick(cmdSetNumbers(*window), Qt::LeftButton);
                clickToolbar(*window, QStringLiteral("relay-off"));
                clickToolbar(*window, QStringLiteral("connection"));
            });
        }
        clickToolbar(*window, command);
        QCOMPARE(boxes.confirmations, question.isEmpty() ? QStringList{} : QStringList{question});
        const bool wiped = command == QStringLiteral("clear") && yes;
        QCOMPARE(modemLines().mid(0, lines.size()), lines);
        // The wipe is proved by reading both halves back.
        QCOMPARE(modemLines().size(), wiped ? 20 + 9 + 2 : lines.size());
        if (wiped)
            QCOMPARE(modemLines().mid(29), (QStringList{"AT+EGINP?", "AT+EGPHN?"}));
        QCOMPARE(boxes.errors, QStringList{});
        QCOMPARE(reachable(*window), Connected);
        QCOMPARE(window->model().number(1), wiped ? QString() : QStringLiteral("+391"));
        if (wiped)
            QCOMPARE(txtMessage(*window, 4)->text(), QStringLiteral("ALLARME  1 OFF"));
    }

    // About opens once, blocks nothing, and hands its links to the system.
    void aboutOpensOnceWithoutBlocking() {
        clickToolbar(*window, QStringLiteral("about"));
        clickToolbar(*window, QStringLiteral("about"));
        QCOMPARE(window->findChildren<AboutWindow*>().size(), 1);
        QPointer<AboutWindow> about = window->findChild<AboutWindow*>();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QList<QUrl> opened;
        about->openLink = [&](const QUrl& url) { opened << url; };
        QTest::mouseClick(about->findChild<QLabel*>("URLlbl"), Qt::LeftButton);
        QCOMPARE(opened, QList<QUrl>{QUrl("https://www.example.com/")});
    }
};

QTEST_MAIN(ToolbarFlowsTest)
#include "tst_toolbar_flows.moc"
