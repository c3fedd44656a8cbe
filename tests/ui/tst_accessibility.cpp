// The main window as a screen reader meets it (roles, names, values, the
// phone grid's table, the events of a new status). Accessibility is switched on from
// the start, as it is when a screen reader runs before Tavek starts.
#include "WindowFixture.h"

#include "AboutWindow.h"
#include "InputPanel.h"

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
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
