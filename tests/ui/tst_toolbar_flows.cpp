// The toolbar's commands end to end: the window drives the real serial port,
// the virtual modem on a pseudo-terminal answers.
#include "WindowFixture.h"

#include "InputPanel.h"
#include "LinkState.h"
#include "MessageTextBox.h"
#include "PhoneGrid.h"
#include "PortsFolderLink.h"
#include "VirtualModem.h"

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
        modem->clearReceived();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        linkState() = LinkState{};
        modem = std::make_unique<VirtualModem>();
        modem->setInputs({VirtualModem::Input{1, 3, 'O', 'S', "Alarm one", "Back one"},
                          VirtualModem::Input{1, 10, 'C', 'D', "Door shut", "Door open"},
                          VirtualModem::Input{0, 0, 'O', 'S', "", ""}});
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
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QCOMPARE(reachable(*window), Connected);
        QCOMPARE(window->inputConfig(1),
                 (InputConfig{InputStatus::Active, RestState::NormallyOpen, BitMode::Single, 3,
                              MessageText{"Alarm one", false}, MessageText{"Back one", false}}));
        QCOMPARE(window->cmbMsec(2)->currentText(), QStringLiteral("1000"));
        QCOMPARE(window->inputPanel(2)->optPort(1)->isChecked(), true);
        QCOMPARE(window->phoneNumber(1), QStringLiteral("+391"));
        QCOMPARE(window->phoneNumber(7), QStringLiteral("+3977"));
    }

    void noModemGivesThePortBack() {
        modem->setSilent(true);
        chooseTheModemsPort();
        int imageWhileShown = 0;
        boxes.whileErrorShown = [&] { imageWhileShown = window->toolbar()->connectionImage(); };
        clickToolbar(*window, 1);
        QCOMPARE(boxes.errors, QStringList{"Modem not connected"});
        QCOMPARE(imageWhileShown, 2);
        QCOMPARE(reachable(*window), NotConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
    }

    void disconnectSendsNothingAndStartsAfresh() {
        connectToTheModem();
        // "Set" of the inputs leaves the port open; disconnecting lets it go.
        QTest::mouseClick(window->cmdSendInputs(), Qt::LeftButton);
        QVERIFY(window->serialPort().isOpen());
        window->inputPanel(1)->optPort(1)->setChecked(true);
        modem->clearReceived();

        clickToolbar(*window, 1);
        QVERIFY(!modem->waitForLines(1, 300));
        QVERIFY(!window->serialPort().isOpen());
        QCOMPARE(reachable(*window), NotConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QVERIFY(!linkState().ModemConnected);
        QCOMPARE(window->cmbSerial()->count(), 255);
        QCOMPARE(window->cmbSerial()->currentIndex(), 0);
        QCOMPARE(linkState().CommPortNumber, 1);
        QCOMPARE(window->inputConfig(1), InputConfig{});
        QCOMPARE(window->phoneNumber(1), QString());
    }

    void noToAConfirmationSendsNothing_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("question");
        QTest::newRow("reset modem") << 3
                                     << "ATTENTION:\r\nThis action will reset all communication "
                                        "setting!\r\nDo you want to continue?";
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
        QCOMPARE(reachable(*window), Connected);
        QCOMPARE(window->phoneNumber(1), QStringLiteral("+391"));
    }

    void commandSendsExactly_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("relay on") << 5 << QStringList{"AT+WIOW=0,0"};
        QTest::newRow("relay off") << 6 << QStringList{"AT+WIOW=0,1"};
        QTest::newRow("reset modem, Yes")
            << 3 << QStringList{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"};
        QStringList defaults;
        for (int position = 1; position <= 20; ++position)
            defaults << QStringLiteral("AT+EGPHN=%1").arg(position);
        // Input 2 was active in the modem; the defaults leave neither option chosen.
        defaults << "AT+EGINP=1,1,1,\"O\",\"S\""
                 << "AT+EGINP=1,\"C\",\"ALLARME  1 ON\""
                 << "AT+EGINP=1,\"O\",\"ALLARME  1 OFF\""
                 << "AT+EGINP=2,0,1,\"O\",\"S\"";
        QTest::newRow("default settings, Yes") << 4 << defaults;
    }
    void commandSendsExactly() {
        QFETCH(int, position);
        QFETCH(QStringList, lines);
        connectToTheModem();
        clickToolbar(*window, position);
        QCOMPARE(linesOf(*modem).mid(0, lines.size()), lines);
        QCOMPARE(linesOf(*modem).size(), position == 4 ? 29 : lines.size());
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QCOMPARE(reachable(*window), Connected);
        if (position == 4) {
            QCOMPARE(window->phoneNumber(1), QString());
            QCOMPARE(window->txtMessage(4)->text(), QStringLiteral("ALLARME  1 OFF"));
        }
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
        QCOMPARE(reachable(*window), Connected);
    }

    void readsAfterConnectIgnoreSetButLeaveTheGridEditable() {
        chooseTheModemsPort();
        PhoneGrid& grid = *window->phoneGrid();
        QTimer::singleShot(0, this, [&] {
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
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QPointer<AboutWindow> about = window->aboutWindow();
        window->close();
        QTRY_VERIFY(about.isNull());
    }
};

QTEST_MAIN(ToolbarFlowsTest)
#include "tst_toolbar_flows.moc"
