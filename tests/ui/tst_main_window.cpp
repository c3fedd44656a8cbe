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
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
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

    void shouldPlaceControlsAtTheirTwips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::newRow("window") << "Main" << QRect(0, 0, 14640, 8910);
        QTest::newRow("toolbar") << "Toolbar1" << QRect(0, 0, 14640, 660);
        QTest::newRow("set inputs") << "cmdSendInputs" << QRect(9840, 6840, 855, 855);
        QTest::newRow("delay list") << "cmbMsec_3" << QRect(720, 1200, 1455, 315);
        QTest::newRow("double box") << "txtMessage_5" << QRect(120, 5880, 3015, 285);
        QTest::newRow("grid") << "PhoneGrid" << QRect(120, 480, 3015, 5295);
    }
    void shouldPlaceControlsAtTheirTwips() {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        auto* control = name == "Main" ? window.get() : window->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        const QRect expected = twipsRect(place.x(), place.y(), place.width(), place.height());
        QCOMPARE(control == window.get() ? control->rect() : control->geometry(), expected);
    }

    void shouldStartNotConnectedWithEverythingAtItsDefault() {
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QVERIFY(!window->clockPanel()->text().isEmpty());
        QCOMPARE(window->statusLine()->width(), twips(10600));
        QVERIFY(!linkState().ModemConnected);
        QVERIFY(!window->frmMain()->isEnabled() && !window->frmNumbers()->isEnabled());
        for (int position : {1, 3, 4, 5, 6, 7})
            QCOMPARE(window->toolbar()->buttonWidget(position)->isEnabled(),
                     position == 1 || position == 7);

        QComboBox& ports = *window->cmbSerial();
        // The selector sits on the toolbar at a fixed place of its own.
        QCOMPARE(ports.mapTo(window->toolbar(), QPoint()), twipsRect(720, 120, 0, 0).topLeft());
        QCOMPARE(ports.count(), 255);
        QCOMPARE(ports.itemText(254), QStringLiteral("Com 255"));
        QCOMPARE(ports.currentText(), QStringLiteral("Com 1"));
        QCOMPARE(linkState().CommPortNumber, 1);

        for (int input = 1; input <= 3; ++input) {
            const InputPanel& panel = *window->inputPanel(input);
            QVERIFY(panel.optActive(1)->isChecked() && panel.optPort(0)->isChecked() &&
                    panel.optBit(0)->isChecked());
            QCOMPARE(window->cmbMsec(input)->currentText(), QStringLiteral("No delay"));
            QCOMPARE(window->cmbMsec(input)->itemText(10), QStringLiteral("1000"));
        }
        for (int element = 1; element <= 6; ++element) {
            const MessageTextBox& box = *window->txtMessage(element);
            QVERIFY(box.message().isPlaceholder());
            QCOMPARE(box.palette().color(QPalette::Active, QPalette::Text), placeholderColour());
        }

        const PhoneGrid& grid = *window->phoneGrid();
        QCOMPARE(grid.cellText(0, 0), QStringLiteral("Pos."));
        QCOMPARE(grid.cellText(0, 1), QStringLiteral("Phone Number"));
        QCOMPARE(grid.columnWidth(0) + grid.columnWidth(1), twips(500) + twips(2500));
        for (int row = 1; row <= 20; ++row) {
            QCOMPARE(grid.cellText(row, 0), QString::number(row));
            QCOMPARE(grid.cellText(row, 1), QString());
        }
    }

    void shouldFollowTheChoiceOfPort() {
        QComboBox& ports = *window->cmbSerial();
        ports.setFocus();
        for (int step = 0; step < 6; ++step)
            QTest::keyClick(&ports, Qt::Key_Down);
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
        QVERIFY(ports.itemData(link.number() - 1, Qt::ToolTipRole).toString().startsWith("/dev/"));
        QCOMPARE(ports.itemData(254, Qt::ToolTipRole).toString(),
                 QStringLiteral("No serial port is there"));
    }

    void shouldNameEveryControlForScreenReaders_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessibleName");
        QTest::addColumn<QString>("description");
        QTest::newRow("connect") << "Toolbar1_button1"
                                 << "Connection"
                                 << "";
        QTest::newRow("relay off") << "Toolbar1_button6"
                                   << "Set reley off"
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
        QTest::newRow("start") << InputConfig{};
        InputConfig full{InputStatus::Active,
                         RestState::NormallyClosed,
                         BitMode::Double,
                         10,
                         MessageText{"Fire \"A\"", false},
                         MessageText{"Quiet", false}};
        QTest::newRow("everything set") << full;
        full.status = InputStatus::Neither;
        full.single = {"ALLARME  2 ON", true};
        QTest::newRow("no status option, default text in faint colour") << full;
    }
    void shouldGiveTheOperationsWhatThePanelsHold() {
        QFETCH(InputConfig, config);
        ConfigView& view = *window;
        view.setInputConfig(2, config);
        QCOMPARE(view.inputConfig(2), config);
        QCOMPARE(view.inputConfig(1), InputConfig{});
    }

    void shouldAskWithYesAsDefaultAndNoIcon() {
        const QString text = confirmationText({"ATTENTION:", "Two", "Three"});
        QCOMPARE(text, QStringLiteral("ATTENTION:\r\nTwo\r\nThree"));
        std::unique_ptr<QMessageBox> box(createConfirmationBox(window.get(), text));
        QCOMPARE(box->windowTitle(), QStringLiteral("Setting Reset"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        QVERIFY(box->button(QMessageBox::No));
        std::unique_ptr<QMessageBox> error(
            createModemErrorBox(window.get(), "Modem not connected"));
        QCOMPARE(error->windowTitle(), QStringLiteral("Modem error"));
        QCOMPARE(error->icon(), QMessageBox::Information);
        QCOMPARE(error->standardButtons(), QMessageBox::Ok);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
