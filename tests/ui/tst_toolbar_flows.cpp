// The toolbar's commands end to end: the window drives the real serial port,
// the virtual modem on a pseudo-terminal answers.
#include "WindowFixture.h"

#include "MessageTextBox.h"
#include "OperationTexts.h"
#include "VirtualModem.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

class ToolbarFlowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<VirtualModem> modem;
    int com = 0;
    std::unique_ptr<MainWindow> window;
    // The modal boxes, answered here: what they said, and button 1's image
    // while the error box was up.
    struct {
        QStringList errors, confirmations, questions;
        bool answerYes = true, sendAnyway = false;
        int imageAtError = 0;
    } boxes;

    QStringList modemLines() const {
        QStringList lines;
        for (const auto& received : modem->received())
            lines << QString::fromLatin1(received.line);
        return lines;
    }
    void chooseTheModemsPort() { window->cmbSerial()->setCurrentIndex(com - 1); }
    void connectToTheModem() {
        chooseTheModemsPort();
        clickToolbar(*window, 1);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        modem->clearReceived();
    }

private slots:
    void init() {
        modem = std::make_unique<VirtualModem>();
        modem->setInputs({VirtualModem::Input{1, 3, 'O', 'S', "Alarm one", "Back one"},
                          // Resting closed, its Single message is the one for an opening contact.
                          VirtualModem::Input{1, 10, 'C', 'D', "Door shut", "Door open"},
                          VirtualModem::Input{0, 0, 'O', 'S', "", ""}});
        modem->setPhoneBook({"+391", "", "", "", "", "", "+3977"});
        QVERIFY(window = shownWindow());
        // Any free number: other test programs may hold a modem of their own.
        QVERIFY((com = modem->linkAs()) > 0);
        boxes = {};
        window->dialogs().modemError = [this](const QString& text) {
            boxes.errors << text;
            boxes.imageAtError = window->toolbar()->connectionImage();
        };
        window->dialogs().confirm = [this](const QString& text) {
            boxes.confirmations << text;
            return boxes.answerYes;
        };
        window->dialogs().sendAnyway = [this](const QString& text) {
            boxes.questions << text;
            return boxes.sendAnyway;
        };
    }
    void cleanup() {
        window.reset();
        modem.reset();
    }

    // While the reads after the connection check run, "Set" is ignored and the
    // grid stays editable.
    void connectShowsWhatTheModemHolds() {
        chooseTheModemsPort();
        QCOMPARE(linkState().CommPortNumber, com);
        QTimer::singleShot(0, this, [this] {
            QVERIFY(window->exchangeRunning());
            QTest::mouseClick(window->cmdSetNumbers(), Qt::LeftButton);
            clickCell(*window->phoneGrid(), 12);
            QTest::keyClicks(window->phoneGrid(), "0039");
        });
        clickToolbar(*window, 1);
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
        clickToolbar(*window, 1);
        QCOMPARE(boxes.errors, QStringList{"Modem not connected"});
        QCOMPARE(boxes.imageAtError, 2);
        QCOMPARE(reachable(*window), NotConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
    }

    void disconnectSendsNothingReleasesThePortAndStartsAfresh() {
        connectToTheModem();
        // "Set" of the inputs leaves the port open; disconnecting lets it go.
        QTest::mouseClick(window->cmdSendInputs(), Qt::LeftButton);
        QVERIFY(window->serialPort().isOpen());
        modem->clearReceived();

        clickToolbar(*window, 1);
        QVERIFY(!modem->waitForLines(1, 300));
        QVERIFY(!window->serialPort().isOpen());
        QCOMPARE(reachable(*window), NotConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QCOMPARE(window->cmbSerial()->currentText(), QStringLiteral("Com 1"));
        QCOMPARE(linkState().CommPortNumber, 1);
        QCOMPARE(window->inputConfig(1), InputConfig{});
        QCOMPARE(window->phoneNumber(1), QString());
    }

    void commandSendsExactly_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("lines"); // the first lines on the wire
        const QString ask = "ATTENTION:\r\nThis action will %1!\r\nDo you want to continue?";
        const QString reset = ask.arg("reset all communication setting"),
                      wipe = ask.arg("delete all data");
        QTest::newRow("relay on") << 5 << true << QString() << QStringList{"AT+WIOW=0,0"};
        QTest::newRow("relay off") << 6 << true << QString() << QStringList{"AT+WIOW=0,1"};
        QTest::newRow("reset, No") << 3 << false << reset << QStringList{};
        QTest::newRow("defaults, No") << 4 << false << wipe << QStringList{};
        QTest::newRow("reset, Yes")
            << 3 << true << reset
            << QStringList{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"};
        QStringList defaults;
        for (int position = 1; position <= 20; ++position)
            defaults << QStringLiteral("AT+EGPHN=%1").arg(position);
        // Input 2 was active in the modem; the defaults leave neither option chosen.
        defaults << "AT+EGINP=1,1,1,\"O\",\"S\""
                 << "AT+EGINP=1,\"C\",\"ALLARME  1 ON\""
                 << "AT+EGINP=1,\"O\",\"ALLARME  1 OFF\""
                 << "AT+EGINP=2,0,1,\"O\",\"S\"";
        QTest::newRow("defaults, Yes") << 4 << true << wipe << defaults;
    }
    void commandSendsExactly() {
        QFETCH(int, position);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        QFETCH(QStringList, lines);
        connectToTheModem();
        boxes.answerYes = yes;
        // Clicks delivered at the exchange's first pumping of events are ignored.
        if (yes) {
            QTimer::singleShot(0, this, [this] {
                QVERIFY(window->exchangeRunning());
                QTest::mouseClick(window->cmdSendInputs(), Qt::LeftButton);
                QTest::mouseClick(window->cmdSetNumbers(), Qt::LeftButton);
                clickToolbar(*window, 6);
                clickToolbar(*window, 1);
            });
        }
        clickToolbar(*window, position);
        QCOMPARE(boxes.confirmations, question.isEmpty() ? QStringList{} : QStringList{question});
        if (!yes)
            QVERIFY(!modem->waitForLines(1, 300));
        const bool wiped = position == 4 && yes;
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

    // A reply that did not end in "OK" is said once, after both reads; a
    // "Set" of that frame asks first, with No as the answer that sends nothing.
    void incompleteReadIsSaidAndSetAsks() {
        modem->setReplyFor("AT+EGPHN?", "\r\n+EGPHN: 1,\"+391\",128\r\n+EGPHN: 7,\"+39"); // cut
        connectToTheModem();
        QCOMPARE(boxes.errors, QStringList{incompleteReadText(false, true)});
        QVERIFY(window->phoneBookReadIncomplete() && !window->inputsReadIncomplete());
        QCOMPARE(window->phoneNumber(1) + "|" + window->phoneNumber(7), "+391|");

        QTest::mouseClick(window->cmdSetNumbers(), Qt::LeftButton);
        QCOMPARE(boxes.questions, QStringList{setNumbersAfterIncompleteReadQuestion()});
        QVERIFY(!modem->waitForLines(1, 300));
        QTest::mouseClick(window->cmdSendInputs(), Qt::LeftButton); // whole: no question
        QCOMPARE(boxes.questions.size(), 1);
        QCOMPARE(modemLines().size(), 9);

        boxes.sendAnyway = true;
        QTest::mouseClick(window->cmdSetNumbers(), Qt::LeftButton);
        QCOMPARE(modemLines().size(), 9 + 20);
        QVERIFY(!window->phoneBookReadIncomplete());
        QCOMPARE(reachable(*window), Connected);
    }

    // Steps the modem did not confirm are listed in one box at the end.
    void unconfirmedStepsAreListedOnce() {
        connectToTheModem();
        modem->setErrorFor("AT+WIOW=0,0");
        clickToolbar(*window, 5);
        QCOMPARE(boxes.errors,
                 QStringList{"The modem did not confirm the relay command AT+WIOW=0,0."});
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QCOMPARE(reachable(*window), Connected);
    }

    // An adapter pulled out during an upload: nothing more is sent, the user
    // is told once, and the window is not connected any more but keeps what
    // it shows and the chosen port, ready to connect again.
    void lostDeviceReturnsToNotConnected() {
        connectToTheModem();
        modem->vanishAtLine(3);
        QTest::mouseClick(window->cmdSetNumbers(), Qt::LeftButton);
        QCOMPARE(boxes.errors.size(), 1);
        QVERIFY2(boxes.errors[0].startsWith("The serial port /dev/pts/") &&
                     boxes.errors[0].endsWith(" was lost (was the adapter unplugged?)"),
                 qPrintable(boxes.errors[0]));
        QCOMPARE(reachable(*window), NotConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QCOMPARE(window->phoneNumber(7), QStringLiteral("+3977"));
        QCOMPARE(window->cmbSerial()->currentIndex(), com - 1);
        QVERIFY(!window->serialPort().isOpen());

        QVERIFY(modem->comeBack());
        boxes.errors.clear();
        connectToTheModem();
        QCOMPARE(boxes.errors, QStringList{});
    }

    // Closing the window ends the work before the next command: the port is
    // let go at once and nothing more reaches the modem.
    void closingTheWindowStopsTheWork() {
        connectToTheModem();
        QElapsedTimer sinceClose;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (!sinceClose.isValid() && modem->received().size() >= 3) {
                sinceClose.start();
                window->close();
            }
        });
        poll.start(5);
        QTest::mouseClick(window->cmdSetNumbers(), Qt::LeftButton);
        QVERIFY(sinceClose.isValid());
        QVERIFY2(sinceClose.elapsed() < 500, qPrintable(QString::number(sinceClose.elapsed())));
        QVERIFY(!window->serialPort().isOpen());
        QTest::qWait(400);
        QCOMPARE(modemLines().size(), 3);
        QCOMPARE(boxes.errors, QStringList{});
    }

    // A text the modem holds that is longer than the boxes take by typing is
    // shown whole, and a "Set" sends it whole.
    void longMessageComesAndGoesWhole() {
        const QByteArray sixty = QByteArray(55, 'x') + " OK!!";
        modem->setInputs({VirtualModem::Input{1, 3, 'O', 'S', sixty, ""}, {}, {}});
        connectToTheModem();
        QCOMPARE(window->txtMessage(1)->text(), QString::fromLatin1(sixty));
        QTest::mouseClick(window->cmdSendInputs(), Qt::LeftButton);
        QCOMPARE(modemLines().value(1), "AT+EGINP=1,\"C\",\"" + QString::fromLatin1(sixty) + "\"");
        QCOMPARE(modem->inputs()[0].messageC, sixty);
    }

    void aboutOpensOnceWithoutBlocking() {
        clickToolbar(*window, 7);
        clickToolbar(*window, 7);
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
