// The main window as a screen reader meets it (roles, names, values, the
// phone grid's table, the events of a new status), and as a keyboard user
// meets it (the Tab order, Esc on About). Accessibility is switched on from
// the start, as it is when a screen reader runs before Tavek starts.
#include "WindowFixture.h"

#include "AboutWindow.h"

#include <QAccessible>
#include <QLabel>
#include <QtTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {
// What the accessibility layer heard, in order: the object, the event, and
// the child it is about (-1: the object itself).
struct Heard {
    QObject* object;
    QAccessible::Event type;
    int child;
};
QList<Heard> heard;

void listen(QAccessibleEvent* event) {
    heard.append({event->object(), event->type(), event->child()});
}

bool wasHeard(QObject* object, QAccessible::Event type) {
    return std::any_of(heard.begin(), heard.end(), [&](const Heard& event) {
        return event.object == object && event.type == type;
    });
}

QAccessibleInterface* readerOf(QObject* object) {
    return object ? QAccessible::queryAccessibleInterface(object) : nullptr;
}

QAccessibleTableCellInterface* cellOf(QAccessibleInterface* cell) {
    return cell ? static_cast<QAccessibleTableCellInterface*>(
                      cell->interface_cast(QAccessible::TableCellInterface))
                : nullptr;
}

void row(const char* name, const QString& control, QAccessible::Role role, const QString& text,
         const QString& value, const QString& description) {
    QTest::newRow(name) << control << int(role) << text << value << description;
}
} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    QStringList tabWalk(Qt::Key key, int steps) {
        QStringList walked;
        for (int step = 0; step < steps; ++step) {
            QTest::keyClick(QApplication::focusWidget(), key);
            walked << QApplication::focusWidget()->objectName();
        }
        return walked;
    }

private slots:
    void initTestCase() {
        // Qt hands its events to assistive technology only while one is
        // there. Offscreen there is none, so the test stands in for it, as
        // Qt's own tests do.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        QVERIFY(QAccessible::isActive());
        QAccessible::installUpdateHandler(listen);
    }
    void init() {
        QVERIFY(window = shownWindow(true));
        heard.clear();
    }
    void cleanup() { window.reset(); }

    void shouldAnnounceEachPartByWhatItShows_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("description");
        using A = QAccessible;
        row("main window, a frame", "Main", A::Window, "Tavek", "", "");
        row("About, a dialog", "About", A::Dialog, "About Tavek...", "", "");
        row("status line", "StatusBar1_panel1", A::StaticText, "Modem Disconnected", "", "Status");
        row("first input", "frmI1", A::Grouping, " Input 1 ", "", "");
        row("third input", "frmI3", A::Grouping, " Input 3 ", "", "");
        row("its frame", "frmMain", A::Grouping, " Modem Settings ", "", "");
        row("a delay list", "cmbMsec_2", A::ComboBox, "Input 2 delay", "300", "");
        row("port selector", "cmbSerial", A::ComboBox, "Serial port", "Com 1", "");
        row("phone grid", "PhoneGrid", A::Table, "Phone Numbers", "", "");
    }
    void shouldAnnounceEachPartByWhatItShows() {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, description);
        window->cmbMsec(2)->setCurrentIndex(3);
        window->run(ToolbarCommand::About);
        QAccessibleInterface* reader =
            readerOf(control == "Main" ? window.get() : window->findChild<QWidget*>(control));
        QVERIFY(reader);
        QCOMPARE(reader->role(), QAccessible::Role(role));
        QCOMPARE(reader->text(QAccessible::Name), name);
        QCOMPARE(reader->text(QAccessible::Value), value);
        QCOMPARE(reader->text(QAccessible::Description), description);
    }

    void shouldTellEveryNewStatusAsANameChange() {
        QAccessibleInterface* status = readerOf(window->statusLine());
        for (const QString text : {"Modem Connected", "Modem not connected"}) {
            heard.clear();
            window->setStatusText(text);
            QVERIFY(wasHeard(window->statusLine(), QAccessible::NameChanged));
            QCOMPARE(status->text(QAccessible::Name), text);
        }
        QAccessibleInterface* clock = readerOf(window->clockPanel());
        QCOMPARE(clock->text(QAccessible::Name), window->clockPanel()->text());
        QCOMPARE(clock->text(QAccessible::Description), QStringLiteral("Date and time"));
    }

    void shouldOfferThePhoneBookAsATableUnderTwoColumnHeaders() {
        QAccessibleInterface* grid = readerOf(window->phoneGrid());
        QAccessibleTableInterface* table = grid->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 20);
        QCOMPARE(table->columnCount(), 2);
        QCOMPARE(table->columnDescription(0) + "|" + table->columnDescription(1),
                 QStringLiteral("Pos.|Phone Number"));
        // The headings are headers, and no row of data.
        QStringList headers, cells;
        for (int index = 0; index < grid->childCount(); ++index) {
            QAccessibleInterface* child = grid->child(index);
            QCOMPARE(grid->indexOfChild(child), index);
            (child->role() == QAccessible::ColumnHeader ? headers : cells)
                << child->text(QAccessible::Name);
        }
        QCOMPARE(headers, QStringList({"Pos.", "Phone Number"}));
        QCOMPARE(cells.size(), 40);
        QVERIFY(!cells.contains("Pos.") && !cells.contains("Phone Number"));

        window->setPhoneNumber(5, "+393351234567");
        QAccessibleInterface* number = table->cellAt(4, 1);
        QCOMPARE(number->role(), QAccessible::Cell);
        QCOMPARE(number->text(QAccessible::Name), QStringLiteral("+393351234567"));
        QCOMPARE(table->cellAt(4, 0)->text(QAccessible::Name), QStringLiteral("5"));
        QCOMPARE(table->cellAt(19, 0)->text(QAccessible::Name), QStringLiteral("20"));
        QAccessibleTableCellInterface* cell = cellOf(number);
        QVERIFY(cell);
        QCOMPARE(QPoint(cell->rowIndex(), cell->columnIndex()), QPoint(4, 1));
        QCOMPARE(cell->columnHeaderCells().size(), 1);
        QCOMPARE(cell->columnHeaderCells().first()->text(QAccessible::Name),
                 QStringLiteral("Phone Number"));
        QCOMPARE(grid->childAt(number->rect().center().x(), number->rect().center().y()), number);
    }

    // A click chooses a row: the reader hears the cell that took the focus,
    // and finds the chosen row selected.
    void shouldFollowTheGridsFocusAndChosenRow() {
        QAccessibleInterface* grid = readerOf(window->phoneGrid());
        QAccessibleTableInterface* table = grid->tableInterface();
        window->phoneGrid()->setFocus();
        for (int chosen : {8, 3}) {
            heard.clear();
            clickCell(*window->phoneGrid(), chosen);
            int focusEvents = 0;
            for (const Heard& event : heard) {
                if (event.object != window->phoneGrid() || event.type != QAccessible::Focus)
                    continue;
                ++focusEvents;
                QAccessibleTableCellInterface* focused = cellOf(grid->child(event.child));
                QVERIFY(focused);
                QCOMPARE(QPoint(focused->rowIndex(), focused->columnIndex()),
                         QPoint(chosen - 1, 1));
            }
            QVERIFY(focusEvents > 0);
            QAccessibleTableCellInterface* focused = cellOf(grid->focusChild());
            QVERIFY(focused->isSelected());
            QCOMPARE(table->selectedRows(), QList<int>{chosen - 1});
            QVERIFY(grid->focusChild()->state().focused);
        }
    }

    // Tab runs along the toolbar in its own order, then each input top to
    // bottom (an option pair is one stop), the inputs' Set, the grid and the
    // phone book's Set. Disabled controls are passed over.
    void shouldTabLeftToRightTopToBottom_data() {
        QTest::addColumn<bool>("connected");
        QTest::newRow("not connected") << false;
        QTest::newRow("connected") << true;
    }
    void shouldTabLeftToRightTopToBottom() {
        QFETCH(bool, connected);
        window->setFramesEnabled(connected);
        window->toolbar()->setConnectedCommandsEnabled(connected);
        QStringList order;
        for (QAction* action : window->toolbar()->actions()) {
            if (window->toolbar()->widgetForAction(action)->isAncestorOf(window->cmbSerial()))
                order << "cmbSerial";
            else if (action->isEnabled() && !action->isSeparator())
                order << "Toolbar1_" + action->objectName();
        }
        QCOMPARE(order.mid(0, 2), QStringList({"Toolbar1_connection", "cmbSerial"}));
        if (connected) {
            for (int input = 1; input <= 3; ++input)
                order << QString("optI%1Active_0").arg(input) << QString("optPort%1_0").arg(input)
                      << QString("optBit%1_0").arg(input) << QString("cmbMsec_%1").arg(input)
                      << QString("txtMessage_%1").arg(input)
                      << QString("txtMessage_%1").arg(input + 3);
            order << "cmdSendInputs"
                  << "PhoneGrid"
                  << "cmdSetNumbers";
        }
        order << order.first(); // and round again

        window->toolbar()->button(ToolbarCommand::Connection)->setFocus();
        QCOMPARE(QStringList(order.first()) + tabWalk(Qt::Key_Tab, int(order.size()) - 1), order);
        std::reverse(order.begin(), order.end());
        QCOMPARE(QStringList(order.first()) + tabWalk(Qt::Key_Backtab, int(order.size()) - 1),
                 order);
    }

    void shouldCloseAboutWithEsc_data() {
        QTest::addColumn<QString>("focus"); // the control that has it, or none
        QTest::newRow("on the window") << QString();
        QTest::newRow("on the Exit button") << "btnclose";
        QTest::newRow("on the web link") << "URLlbl";
    }
    void shouldCloseAboutWithEsc() {
        QFETCH(QString, focus);
        window->run(ToolbarCommand::About);
        QPointer<AboutWindow> about = window->aboutWindow();
        QVERIFY(about);
        QVERIFY(QTest::qWaitFor([&] { return about->isActiveWindow(); }));
        QWidget* target = about;
        if (!focus.isEmpty()) {
            target = about->findChild<QWidget*>(focus);
            target->setFocus();
            QVERIFY(target->hasFocus());
        }
        QTest::keyClick(target, Qt::Key_Escape);
        QVERIFY(!about || about->isHidden());
        QVERIFY(window->isVisible());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
