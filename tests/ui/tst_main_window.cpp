// The main window as InitMainWindow leaves it (layout, starting state), the
// toolbar's order, the clock and the modal boxes.
#include "WindowFixture.h"

#include "Dialogs.h"
#include "MessageTextBox.h"
#include "PortsFolderLink.h"
#include "StatusClock.h"
#include "Twips.h"
#include "VirtualModem.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimeZone>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<VirtualModem> modem;
    std::unique_ptr<PortsFolderLink> link; // on any free number
    std::unique_ptr<MainWindow> window;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        modem = std::make_unique<VirtualModem>();
        link = std::make_unique<PortsFolderLink>(modem->devicePath());
        QVERIFY(link->isLinked());
    }
    void init() { QVERIFY(window = shownWindow()); }
    void cleanup() { window.reset(); }

    void shouldStartAtItsFixedSizeNotConnectedWithEverythingAtItsDefault() {
        QCOMPARE(window->size(), twipsRect(0, 0, 14640, 8910).size());
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(phoneGrid(*window)->geometry(), twipsRect(120, 480, 3015, 5295));
        QCOMPARE(cmdSendInputs(*window)->geometry(), twipsRect(9840, 6840, 855, 855));
        QCOMPARE(cmbSerial(*window)->mapTo(window->toolbar(), QPoint()),
                 QPoint(twips(720), twips(120)));

        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QCOMPARE(reachable(*window), NotConnected);
        QComboBox& ports = *cmbSerial(*window);
        QCOMPARE(ports.count(), 255);
        QCOMPARE(ports.currentText(), QStringLiteral("Com 1"));
        // Each entry's tooltip names the device behind it.
        QVERIFY(ports.itemData(link->number() - 1, Qt::ToolTipRole).toString().startsWith("/dev/"));
        QCOMPARE(ports.itemData(254, Qt::ToolTipRole).toString(),
                 QStringLiteral("No serial port is there"));
        QCOMPARE(window->connection().commPortNumber(), 1);
        for (int input = 1; input <= 3; ++input) // placeholders in both boxes
            QCOMPARE(window->model().input(input), InputConfig{});
        QCOMPARE(cmbMsec(*window, 3)->currentText(), QStringLiteral("No delay"));
        const PhoneGrid& grid = *phoneGrid(*window);
        QCOMPARE(grid.cellText(0, 0) + "|" + grid.cellText(0, 1),
                 QStringLiteral("Pos.|Phone Number"));
        for (int row = 1; row <= 20; ++row)
            QCOMPARE(grid.cellText(row, 0) + grid.cellText(row, 1), QString::number(row));

        ports.setFocus();
        for (int step = 0; step < 6; ++step)
            QTest::keyClick(&ports, Qt::Key_Down);
        QCOMPARE(window->connection().commPortNumber(), 7);
    }

    // The toolbar keeps the order it has always had: the connection, the
    // port selector's gap, reset, defaults, the two relays, About last.
    void shouldKeepTheToolbarsOrder() {
        const QStringList order{"connection",
                                "factory-defaults",
                                "clear",
                                "relay-on",
                                "relay-off",
                                "open-configuration",
                                "save-configuration",
                                "modem-traffic",
                                "serial-ports",
                                "about"};
        QCOMPARE(window->toolbar()->commandIds(), order);
        // The port selector's gap follows the connection.
        QCOMPARE(window->toolbar()->actions().at(1),
                 window->toolbar()->actions().at(1)); // the gap's own action
        QVERIFY(!window->toolbar()
                     ->widgetForAction(window->toolbar()->actions().at(1))
                     ->inherits("QToolButton"));
    }

    void shouldShowTheClockWithShortDateAndLongTimeWithoutZone() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString text =
            clockText(QDateTime({2026, 12, 6}, {14, 3, 22}, QTimeZone("Europe/Prague")));
        QLocale::setDefault(QLocale::c());
        QVERIFY2(text.startsWith("12/6/26 2:03:22") && text.endsWith("PM"), qPrintable(text));
    }

    void shouldAskWithYesAsDefaultAndNoIcon() {
        std::unique_ptr<QMessageBox> box(createConfirmationBox(window.get(), "Sure?"));
        QCOMPARE(box->windowTitle(), QStringLiteral("Setting Reset"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        QVERIFY(box->button(QMessageBox::No));
        box.reset(createModemErrorBox(window.get(), "Modem not connected"));
        QCOMPARE(box->windowTitle(), QStringLiteral("Modem error"));
        QCOMPARE(box->icon(), QMessageBox::Information);
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        // Sending over what could not be read whole is the answer not to give lightly.
        box.reset(createWarningBox(window.get(), "No backup", "Send anyway?"));
        QCOMPARE(box->windowTitle(), QStringLiteral("No backup"));
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
        QCOMPARE(box->escapeButton(), box->button(QMessageBox::No));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
