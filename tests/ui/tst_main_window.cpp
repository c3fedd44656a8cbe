// The main window as InitMainWindow leaves it: layout, starting state, names,
// and the seam through which the modem operations see the input panels.
#include "WindowFixture.h"

#include "Dialogs.h"
#include "InputPanel.h"
#include "LinkState.h"
#include "MessageTextBox.h"
#include "PhoneGrid.h"
#include "PortsFolderLink.h"
#include "SystemColours.h"
#include "Twips.h"
#include "VirtualModem.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(InputConfig)

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        linkState() = LinkState{};
        window = std::make_unique<MainWindow>();
        QVERIFY(showActive(*window));
    }
    void cleanup() { window.reset(); }

    void shouldBeAFixedWindowCaptionedTavek() {
        QCOMPARE(window->objectName(), QStringLiteral("Main"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tavek"));
        QCOMPARE(window->size(), QSize(976, 594));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->font().pointSizeF(), 8.25);
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
    }

    void shouldPlaceControlsAtTheirTwips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twipsPlace");
        QTest::newRow("toolbar") << "Toolbar1" << QRect(0, 0, 14640, 660);
        QTest::newRow("settings frame") << "frmMain" << QRect(120, 720, 10815, 7815);
        QTest::newRow("numbers frame") << "frmNumbers" << QRect(11040, 720, 3495, 7815);
        QTest::newRow("status bar") << "StatusBar1" << QRect(0, 8535, 14640, 375);
        QTest::newRow("input 2") << "frmI2" << QRect(3720, 240, 3255, 6495);
        QTest::newRow("input 3") << "frmI3" << QRect(7440, 240, 3255, 6495);
        QTest::newRow("set inputs") << "cmdSendInputs" << QRect(9840, 6840, 855, 855);
        QTest::newRow("bit frame") << "frmBit_1" << QRect(120, 3000, 3015, 1680);
        QTest::newRow("delay list") << "cmbMsec_3" << QRect(720, 1200, 1455, 315);
        QTest::newRow("double box") << "txtMessage_5" << QRect(120, 5880, 3015, 285);
        QTest::newRow("double label") << "lblSMSmessage_4" << QRect(120, 5640, 3015, 255);
        QTest::newRow("grid") << "PhoneGrid" << QRect(120, 480, 3015, 5295);
        QTest::newRow("rule") << "lblNoExplanation" << QRect(120, 5760, 3375, 495);
        QTest::newRow("set numbers") << "cmdSetNumbers" << QRect(2400, 6840, 855, 855);
    }
    void shouldPlaceControlsAtTheirTwips() {
        QFETCH(QString, name);
        QFETCH(QRect, twipsPlace);
        auto* control = window->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->geometry(), twipsRect(twipsPlace.x(), twipsPlace.y(), twipsPlace.width(),
                                                twipsPlace.height()));
    }

    void shouldKeepThePortSelectorAtItsPlaceOnTheToolbar() {
        const QRect place = twipsRect(720, 120, 1815, 315);
        QCOMPARE(window->cmbSerial()->mapTo(window->toolbar(), QPoint(0, 0)), place.topLeft());
        QCOMPARE(window->cmbSerial()->size(), place.size());
    }

    void shouldHaveTwoFixedPanelsInTheStatusBar() {
        QCOMPARE(window->statusLine()->parentWidget(), window->statusBar());
        QCOMPARE(window->statusLine()->width(), twips(10600));
        QCOMPARE(window->clockPanel()->width(), twips(3900));
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QVERIFY(!window->clockPanel()->text().isEmpty());
        QCOMPARE(window->timer1()->interval(), 1000);
        QVERIFY(window->timer1()->isActive());
    }

    void shouldListTheComPortsWithPortOneChosen() {
        QComboBox& ports = *window->cmbSerial();
        QCOMPARE(ports.count(), 255);
        QCOMPARE(ports.itemText(0), QStringLiteral("Com 1"));
        QCOMPARE(ports.itemText(254), QStringLiteral("Com 255"));
        QCOMPARE(ports.currentIndex(), 0);
        QCOMPARE(linkState().CommPortNumber, 1);
        QVERIFY(!ports.isEditable());
    }

    void shouldFollowTheChoiceOfPort() {
        QComboBox& ports = *window->cmbSerial();
        ports.setFocus();
        for (int step = 0; step < 6; ++step)
            QTest::keyClick(&ports, Qt::Key_Down);
        QCOMPARE(ports.currentText(), QStringLiteral("Com 7"));
        QCOMPARE(linkState().CommPortNumber, 7);
        QTest::keyClick(&ports, Qt::Key_End);
        QCOMPARE(linkState().CommPortNumber, 255);
    }

    void shouldNameTheDeviceOfEachPortInItsTooltip() {
        VirtualModem modem;
        PortsFolderLink link(modem.devicePath());
        QVERIFY(link.isLinked());
        MainWindow fresh;
        const QComboBox& ports = *fresh.cmbSerial();
        const int linked = link.number() - 1;
        QVERIFY(ports.itemData(linked, Qt::ToolTipRole).toString().startsWith("/dev/"));
        QCOMPARE(ports.itemData(254, Qt::ToolTipRole).toString(),
                 QStringLiteral("No serial port is there"));
    }

    void shouldStartWithEveryInputInItsDefaults() {
        for (int input = 1; input <= 3; ++input) {
            const InputPanel& panel = *window->inputPanel(input);
            QCOMPARE(panel.title(), QStringLiteral(" Input %1 ").arg(input));
            QVERIFY(panel.optActive(1)->isChecked());
            QVERIFY(panel.optPort(0)->isChecked());
            QVERIFY(panel.optBit(0)->isChecked());
            QCOMPARE(window->cmbMsec(input)->currentText(), QStringLiteral("No delay"));
            QCOMPARE(window->cmbMsec(input)->count(), 11);
            QCOMPARE(window->cmbMsec(input)->itemText(10), QStringLiteral("1000"));
        }
        for (int element = 1; element <= 6; ++element) {
            const MessageTextBox& box = *window->txtMessage(element);
            QCOMPARE(box.text(), QStringLiteral("Type here your message"));
            QVERIFY(box.message().isPlaceholder());
            QCOMPARE(box.palette().color(QPalette::Active, QPalette::Text), placeholderColour());
            QCOMPARE(box.maxLength(), 50);
        }
    }

    void shouldStartNotConnected() {
        QVERIFY(!linkState().ModemConnected);
        QVERIFY(!window->frmMain()->isEnabled());
        QVERIFY(!window->frmNumbers()->isEnabled());
        QCOMPARE(window->toolbar()->connectionImage(), 1);
        const QList<bool> enabled = {true, false, false, false, false, true};
        const QList<int> positions = {1, 3, 4, 5, 6, 7};
        for (int i = 0; i < positions.size(); ++i)
            QCOMPARE(window->toolbar()->buttonWidget(positions[i])->isEnabled(), enabled[i]);
        QVERIFY(window->cmbSerial()->isEnabled());
    }

    void shouldShowTheGridNumberedAndEmpty() {
        const PhoneGrid& grid = *window->phoneGrid();
        QCOMPARE(grid.rowCount(), 21);
        QCOMPARE(grid.columnCount(), 2);
        QCOMPARE(grid.cellText(0, 0), QStringLiteral("Pos."));
        QCOMPARE(grid.cellText(0, 1), QStringLiteral("Phone Number"));
        QCOMPARE(grid.columnWidth(0), twips(500));
        QCOMPARE(grid.columnWidth(1), twips(2500));
        for (int row = 1; row <= 20; ++row) {
            QCOMPARE(grid.cellText(row, 0), QString::number(row));
            QCOMPARE(grid.cellText(row, 1), QString());
        }
        QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    void shouldNameEveryControlForScreenReaders_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessibleName");
        QTest::addColumn<QString>("description");
        QTest::newRow("connect") << "Toolbar1_button1"
                                 << "Connection"
                                 << "";
        QTest::newRow("reset") << "Toolbar1_button3"
                               << "Reset Modem"
                               << "";
        QTest::newRow("defaults") << "Toolbar1_button4"
                                  << "Set default settings"
                                  << "";
        QTest::newRow("relay on") << "Toolbar1_button5"
                                  << "Set reley on"
                                  << "";
        QTest::newRow("relay off") << "Toolbar1_button6"
                                   << "Set reley off"
                                   << "";
        QTest::newRow("about") << "Toolbar1_button7"
                               << "About Tavek"
                               << "";
        QTest::newRow("set inputs") << "cmdSendInputs"
                                    << "Set"
                                    << "Send Input configuration to modem";
        QTest::newRow("set numbers") << "cmdSetNumbers"
                                     << "Set"
                                     << "Send phone numbers to modem";
        QTest::newRow("single 1") << "txtMessage_1"
                                  << "Input 1 Single message"
                                  << "";
        QTest::newRow("double 3") << "txtMessage_6"
                                  << "Input 3 Double message"
                                  << "";
        QTest::newRow("grid") << "PhoneGrid"
                              << "Phone Numbers"
                              << "";
        QTest::newRow("ports") << "cmbSerial"
                               << "Serial port"
                               << "";
    }
    void shouldNameEveryControlForScreenReaders() {
        QFETCH(QString, name);
        QFETCH(QString, accessibleName);
        QFETCH(QString, description);
        auto* control = window->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
        QVERIFY(reader);
        // On Unix Qt reports a list's current entry as its name; the name
        // given is what UI automation elsewhere reads.
        if (qobject_cast<QComboBox*>(control))
            QCOMPARE(control->accessibleName(), accessibleName);
        else
            QCOMPARE(reader->text(QAccessible::Name), accessibleName);
        if (!description.isEmpty())
            QCOMPARE(reader->text(QAccessible::Description), description);
    }

    void shouldGiveTheOperationsWhatThePanelsHold_data() {
        QTest::addColumn<InputConfig>("config");
        InputConfig start;
        QTest::newRow("start") << start;
        InputConfig full{InputStatus::Active,
                         RestState::NormallyClosed,
                         BitMode::Double,
                         10,
                         MessageText{"Fire \"A\"", false},
                         MessageText{"Quiet", false}};
        QTest::newRow("everything set") << full;
        InputConfig neither = full;
        neither.status = InputStatus::Neither;
        neither.single = {"ALLARME  2 ON", true};
        QTest::newRow("no status option, default text in faint colour") << neither;
    }
    void shouldGiveTheOperationsWhatThePanelsHold() {
        QFETCH(InputConfig, config);
        ConfigView& view = *window;
        view.setInputConfig(2, config);
        QCOMPARE(view.inputConfig(2), config);
        QCOMPARE(view.inputConfig(1), InputConfig{});
    }

    void shouldFillThePhoneCellsOfThePositions() {
        ConfigView& view = *window;
        view.setPhoneNumber(20, QStringLiteral("+3912"));
        view.setPhoneNumber(0, QStringLiteral("+1"));
        view.setPhoneNumber(21, QStringLiteral("+2"));
        QCOMPARE(view.phoneNumber(20), QStringLiteral("+3912"));
        QCOMPARE(window->phoneGrid()->cellText(0, 1), QStringLiteral("Phone Number"));
        QCOMPARE(window->phoneGrid()->rowCount(), 21);
    }

    void shouldAskWithYesAsDefaultAndNoIcon() {
        const QString text = confirmationText({"ATTENTION:", "Two", "Three"});
        QCOMPARE(text, QStringLiteral("ATTENTION:\r\nTwo\r\nThree"));
        std::unique_ptr<QMessageBox> box(createConfirmationBox(window.get(), text));
        QCOMPARE(box->windowTitle(), QStringLiteral("Setting Reset"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        QCOMPARE(box->text(), text);

        std::unique_ptr<QMessageBox> error(
            createModemErrorBox(window.get(), "Modem not connected"));
        QCOMPARE(error->windowTitle(), QStringLiteral("Modem error"));
        QCOMPARE(error->icon(), QMessageBox::Information);
        QCOMPARE(error->standardButtons(), QMessageBox::Ok);
    }

    void shouldAnswerARealBoxFromTheKeyboard() {
        // The real hook: a modal box that Enter answers with its default, Yes.
        bool answer = false;
        QTimer::singleShot(0, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Return);
        });
        answer = Dialogs::forWindow(window.get()).confirm(QStringLiteral("Continue?"));
        QVERIFY(answer);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
