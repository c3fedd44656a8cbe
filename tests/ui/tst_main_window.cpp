// The main window as InitMainWindow leaves it (layout, starting state), the
// toolbar's order, the clock and the modal boxes. How it fits smaller
// screens and what it remembers: tst_window_fit.
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
#include <QScrollArea>
#include <QScrollBar>
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

    // On a screen with room for it, at a scale of 1, the window opens at the
    // size the forms lay it out at (976 x 594), nothing to scroll, and every
    // control where the forms put it, in twips from the window's corner. The
    // status bar's two panels are where its own layout put them.
    void opensAsTheFormsLayItOut_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("place"); // in the window, in pixels
        QTest::newRow("the toolbar") << "Toolbar1" << twipsRect(0, 0, 14640, 660);
        QTest::newRow("the port selector") << "cmbSerial" << twipsRect(720, 120, 1815, 315);
        QTest::newRow("the inputs' frame") << "frmMain" << twipsRect(120, 720, 10815, 7815);
        QTest::newRow("input 1") << "frmI1" << twipsRect(240, 960, 3255, 6495);
        QTest::newRow("input 3") << "frmI3" << twipsRect(7560, 960, 3255, 6495);
        QTest::newRow("the inputs' Set") << "cmdSendInputs" << twipsRect(9960, 7560, 855, 855);
        QTest::newRow("the phone book's frame")
            << "frmNumbers" << twipsRect(11040, 720, 3495, 7815);
        QTest::newRow("the phone grid") << "PhoneGrid" << twipsRect(11160, 1200, 3015, 5295);
        QTest::newRow("the phone book's Set")
            << "cmdSetNumbers" << twipsRect(13440, 7560, 855, 855);
        QTest::newRow("the status bar") << "StatusBar1" << twipsRect(0, 8535, 14640, 375);
        QTest::newRow("the status line") << "StatusBar1_panel1" << QRect(2, 572, 707, 20);
        QTest::newRow("the clock") << "StatusBar1_panel2" << QRect(715, 572, 260, 20);
    }
    void opensAsTheFormsLayItOut() {
        QFETCH(QString, control);
        QFETCH(QRect, place);
        QCOMPARE(window->size(), twipsRect(0, 0, 14640, 8910).size());
        QCOMPARE(window->scrollArea()->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(window->scrollArea()->verticalScrollBar()->maximum(), 0);
        const QWidget* shown = window->findChild<QWidget*>(control);
        QVERIFY(shown);
        QCOMPARE(QRect(shown->mapTo(window.get(), QPoint()), shown->size()), place);
    }

    void startsNotConnectedWithEverythingAtItsDefault() {
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
    void keepsTheToolbarsOrder() {
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

    void showsTheClockWithShortDateAndLongTimeWithoutZone() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString text =
            clockText(QDateTime({2026, 12, 6}, {14, 3, 22}, QTimeZone("Europe/Prague")));
        QLocale::setDefault(QLocale::c());
        QVERIFY2(text.startsWith("12/6/26 2:03:22") && text.endsWith("PM"), qPrintable(text));
    }

    void asksWithYesAsDefaultAndNoIcon() {
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
