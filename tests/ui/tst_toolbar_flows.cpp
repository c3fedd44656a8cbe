// The toolbar's commands end to end: the window drives the real serial port,
// the virtual modem on a pseudo-terminal answers.
#include "WindowFixture.h"

#include "InputPanel.h"
#include "LinkState.h"
#include "MessageTextBox.h"
#include "PhoneGrid.h"
#include "PortsFolderLink.h"
#include "VirtualModem.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {
QStringList linesOf(const VirtualModem& modem) {
    QStringList lines;
    for (const auto& received : modem.received())
        lines << QString::fromLatin1(received.line);
    return lines;
}

QStringList bareNumberCommands() {
    QStringList lines;
    for (int position = 1; position <= 20; ++position)
        lines << QStringLiteral("AT+EGPHN=%1").arg(position);
    return lines;
}
} // namespace

class ToolbarFlowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<VirtualModem> modem;
    std::unique_ptr<PortsFolderLink> link;
    std::unique_ptr<MainWindow> window;
    AnsweredBoxes boxes;

    void chooseTheModemsPort() {
        window->cmbSerial()->setCurrentIndex(link->number() - 1);
        QCOMPARE(linkState().CommPortNumber, link->number());
    }
    void connectToTheModem() {
        chooseTheModemsPort();
        clickToolbar(*window, 1);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QVERIFY(boxes.errors.isEmpty());
        modem->clearReceived();
    }
    void verifyStartState() {
        QCOMPARE(window->toolbar()->connectionImage(), 1);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QVERIFY(!linkState().ModemConnected);
        QVERIFY(window->cmbSerial()->isEnabled());
        QCOMPARE(window->cmbSerial()->currentIndex(), 0);
        QCOMPARE(linkState().CommPortNumber, 1);
        QCOMPARE(window->cmbSerial()->count(), 255);
        QVERIFY(!window->frmMain()->isEnabled());
        QVERIFY(!window->frmNumbers()->isEnabled());
        for (int position : {3, 4, 5, 6})
            QVERIFY(!window->toolbar()->buttonWidget(position)->isEnabled());
        QVERIFY(window->toolbar()->isEnabled());
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        linkState() = LinkState{};
        modem = std::make_unique<VirtualModem>();
        std::array<VirtualModem::Input, 3> inputs;
        inputs[0] = {1, 3, 'O', 'S', "Alarm one", "Back one"};
        inputs[1] = {1, 10, 'C', 'D', "Door shut", "Door open"};
        inputs[2] = {0, 0, 'O', 'S', "", ""};
        modem->setInputs(inputs);
        std::array<QByteArray, 20> numbers;
        numbers[0] = "+391";
        numbers[6] = "+3977";
        modem->setPhoneBook(numbers);
        // Any free number: other test programs may hold a modem of their own.
        link = std::make_unique<PortsFolderLink>(modem->devicePath());
        QVERIFY(link->isLinked());
        window = std::make_unique<MainWindow>();
        boxes = AnsweredBoxes{};
        boxes.install(*window);
        QVERIFY(showActive(*window));
    }
    void cleanup() {
        window.reset();
        link.reset();
        modem.reset();
    }

    void connectShowsWhatTheModemHolds() {
        chooseTheModemsPort();
        clickToolbar(*window, 1);
        QVERIFY(boxes.errors.isEmpty());
        QVERIFY(linkState().ModemConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));

        const InputConfig first = window->inputConfig(1);
        QCOMPARE(first.status, InputStatus::Active);
        QCOMPARE(first.delayIndex, 3);
        QCOMPARE(first.single, (MessageText{"Alarm one", false}));
        QCOMPARE(first.dbl, (MessageText{"Back one", false}));
        const InputConfig second = window->inputConfig(2);
        QCOMPARE(second.port, RestState::NormallyClosed);
        QCOMPARE(second.bit, BitMode::Double);
        QCOMPARE(window->cmbMsec(2)->currentText(), QStringLiteral("1000"));
        QCOMPARE(window->phoneNumber(1), QStringLiteral("+391"));
        QCOMPARE(window->phoneNumber(7), QStringLiteral("+3977"));
        QCOMPARE(window->phoneNumber(2), QString());

        QCOMPARE(window->toolbar()->connectionImage(), 2);
        QVERIFY(window->frmMain()->isEnabled());
        QVERIFY(window->frmNumbers()->isEnabled());
        for (int position : {1, 3, 4, 5, 6, 7})
            QVERIFY(window->toolbar()->buttonWidget(position)->isEnabled());
        QVERIFY(!window->cmbSerial()->isEnabled());
        QVERIFY(window->toolbar()->isEnabled());
    }

    void noModemGivesThePortBack() {
        modem->setSilent(true);
        chooseTheModemsPort();
        int imageWhileShown = 0;
        boxes.whileErrorShown = [&] { imageWhileShown = window->toolbar()->connectionImage(); };
        clickToolbar(*window, 1);
        QCOMPARE(boxes.errors, QStringList{"Modem not connected"});
        QCOMPARE(imageWhileShown, 2);
        QCOMPARE(window->toolbar()->connectionImage(), 1);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QVERIFY(window->cmbSerial()->isEnabled());
        QVERIFY(window->toolbar()->isEnabled());
        QVERIFY(!window->frmMain()->isEnabled());
        for (int position : {3, 4, 5, 6})
            QVERIFY(!window->toolbar()->buttonWidget(position)->isEnabled());
    }

    void disconnectSendsNothingAndStartsAfresh() {
        connectToTheModem();
        // "Set" of the inputs leaves the port open; disconnecting lets it go.
        QTest::mouseClick(window->cmdSendInputs(), Qt::LeftButton);
        QVERIFY(window->serialPort().isOpen());
        modem->clearReceived();
        window->inputPanel(1)->optPort(1)->setChecked(true);

        clickToolbar(*window, 1);
        QVERIFY(!modem->waitForLines(1, 300));
        QVERIFY(!window->serialPort().isOpen());
        verifyStartState();
        QCOMPARE(window->phoneNumber(1), QString());
        QVERIFY(window->txtMessage(1)->message().isPlaceholder());
        QVERIFY(window->inputPanel(1)->optPort(0)->isChecked());
        QVERIFY(window->inputPanel(1)->optActive(1)->isChecked());
    }

    void noToAConfirmationSendsNothing_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("question");
        QTest::newRow("reset modem")
            << 3
            << "ATTENTION:\r\nThis action will reset all communication setting!\r\n"
               "Do you want to continue?";
        QTest::newRow("default settings")
            << 4 << "ATTENTION:\r\nThis action will delete all data!\r\nDo you want to continue?";
    }
    void noToAConfirmationSendsNothing() {
        QFETCH(int, position);
        QFETCH(QString, question);
        connectToTheModem();
        boxes.answerYes = false;
        clickToolbar(*window, position);
        QCOMPARE(boxes.confirmations, QStringList{question});
        QVERIFY(!modem->waitForLines(1, 300));
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QVERIFY(window->frmMain()->isEnabled());
        QCOMPARE(window->phoneNumber(1), QStringLiteral("+391"));
    }

    void defaultSettingsEmptiesThePhoneBookThenWritesTheDefaults() {
        connectToTheModem();
        clickToolbar(*window, 4);
        QCOMPARE(boxes.confirmations.size(), 1);
        const QStringList lines = linesOf(*modem);
        QCOMPARE(lines.size(), 29);
        QCOMPARE(lines.mid(0, 20), bareNumberCommands());
        for (const QString& line : lines.mid(20))
            QVERIFY2(line.startsWith("AT+EGINP="), qPrintable(line));
        QCOMPARE(lines.at(20), QStringLiteral("AT+EGINP=1,1,1,\"O\",\"S\""));
        QCOMPARE(lines.at(21), QStringLiteral("AT+EGINP=1,\"C\",\"ALLARME  1 ON\""));
        // Input 2 was active in the modem; the defaults leave neither option chosen.
        QCOMPARE(lines.at(23), QStringLiteral("AT+EGINP=2,0,1,\"O\",\"S\""));
        QCOMPARE(window->phoneNumber(1), QString());
        QCOMPARE(window->txtMessage(1)->text(), QStringLiteral("ALLARME  1 ON"));
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QVERIFY(window->toolbar()->isEnabled());
        QVERIFY(window->frmMain()->isEnabled());
        QVERIFY(window->frmNumbers()->isEnabled());
    }

    void resetModemSendsTheFactorySequence() {
        connectToTheModem();
        clickToolbar(*window, 3);
        QCOMPARE(linesOf(*modem),
                 (QStringList{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"}));
        QVERIFY(window->toolbar()->isEnabled());
        QVERIFY(window->frmNumbers()->isEnabled());
    }

    void relaySendsOneCommandPerClick_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("command");
        QTest::newRow("on") << 5 << "AT+WIOW=0,0";
        QTest::newRow("off") << 6 << "AT+WIOW=0,1";
    }
    void relaySendsOneCommandPerClick() {
        QFETCH(int, position);
        QFETCH(QString, command);
        connectToTheModem();
        clickToolbar(*window, position);
        QCOMPARE(linesOf(*modem), QStringList{command});
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QVERIFY(!window->serialPort().isOpen());
    }

    void clicksDuringARelayCommandAreIgnored() {
        connectToTheModem();
        // Delivered at the relay command's first pumping of events.
        QTimer::singleShot(0, this, [this] {
            QVERIFY(window->exchangeRunning());
            QTest::mouseClick(window->cmdSendInputs(), Qt::LeftButton);
            QTest::mouseClick(window->cmdSetNumbers(), Qt::LeftButton);
            clickToolbar(*window, 6);
            clickToolbar(*window, 1);
        });
        clickToolbar(*window, 5);
        QCOMPARE(linesOf(*modem), QStringList{"AT+WIOW=0,0"});
        QCOMPARE(window->toolbar()->connectionImage(), 2);
        QVERIFY(!window->exchangeRunning());
    }

    void readsAfterConnectIgnoreSetButLeaveTheGridEditable() {
        chooseTheModemsPort();
        PhoneGrid& grid = *window->phoneGrid();
        QTimer::singleShot(0, this, [&] {
            QVERIFY(window->frmNumbers()->isEnabled());
            QTest::mouseClick(window->cmdSetNumbers(), Qt::LeftButton);
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                              grid.visualRect(grid.model()->index(12, 1)).center());
            QTest::keyClicks(&grid, "0039");
        });
        clickToolbar(*window, 1);
        QCOMPARE(window->phoneNumber(12), QStringLiteral("+39"));
        QCOMPARE(window->phoneNumber(7), QStringLiteral("+3977"));
        for (const QString& line : linesOf(*modem))
            QVERIFY2(!line.startsWith("AT+EGPHN="), qPrintable(line));
    }

    void aboutOpensOnceWithoutBlocking() {
        clickToolbar(*window, 7);
        clickToolbar(*window, 7);
        QCOMPARE(window->findChildren<AboutWindow*>().size(), 1);
        QVERIFY(window->aboutWindow()->isVisible());
        QVERIFY(!window->aboutWindow()->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);

        QPointer<AboutWindow> first = window->aboutWindow();
        window->close();
        QTRY_VERIFY(first.isNull());
    }
};

QTEST_MAIN(ToolbarFlowsTest)
#include "tst_toolbar_flows.moc"
