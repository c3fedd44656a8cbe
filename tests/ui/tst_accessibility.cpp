// The main window as a screen reader meets it (roles, names, values, the
// phone grid's headers, the event of a new status), and as a keyboard user
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
// The objects whose name the accessibility layer heard change.
QList<QObject*> namesChanged;
void listen(QAccessibleEvent* event) {
    if (event->type() == QAccessible::NameChanged)
        namesChanged << event->object();
}

QAccessibleInterface* readerOf(QObject* object) {
    return object ? QAccessible::queryAccessibleInterface(object) : nullptr;
}

void row(const char* name, const QString& control, QAccessible::Role role, const QString& said) {
    QTest::newRow(name) << control << int(role) << said;
}
} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    QStringList walk(Qt::Key key, int steps) {
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
    void init() { QVERIFY(window = shownWindow()); }
    void cleanup() { window.reset(); }

    void shouldAnnounceEachPartByWhatItShows_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("said"); // its name | its value
        row("main window", "Main", QAccessible::Window, "Tavek|");
        row("an input's frame, by its caption", "frmI3", QAccessible::Grouping, " Input 3 |");
        row("a delay list, its value", "cmbMsec_2", QAccessible::ComboBox, "Input 2 delay|300");
    }
    void shouldAnnounceEachPartByWhatItShows() {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, said);
        cmbMsec(*window, 2)->setCurrentIndex(3);
        QAccessibleInterface* reader =
            readerOf(control == "Main" ? window.get() : window->findChild<QWidget*>(control));
        QVERIFY(reader);
        QCOMPARE(reader->role(), QAccessible::Role(role));
        QCOMPARE(reader->text(QAccessible::Name) + "|" + reader->text(QAccessible::Value), said);
    }

    // A screen reader says the new status as it comes.
    void shouldTellEveryNewStatusAsANameChange() {
        namesChanged.clear();
        window->setStatusText("Modem Connected");
        QVERIFY(namesChanged.contains(window->statusLine()));
        QCOMPARE(readerOf(window->statusLine())->text(QAccessible::Name), "Modem Connected");
    }

    // The headings are column headers, not a row of data.
    void shouldOfferThePhoneBookUnderTwoColumnHeaders() {
        QAccessibleInterface* grid = readerOf(phoneGrid(*window));
        QVERIFY(grid && grid->tableInterface());
        QStringList headers, cells;
        for (int index = 0; index < grid->childCount(); ++index)
            (grid->child(index)->role() == QAccessible::ColumnHeader ? headers : cells)
                << grid->child(index)->text(QAccessible::Name);
        QCOMPARE(headers, QStringList({"Pos.", "Phone Number"}));
        QCOMPARE(cells.size(), 40);
        const auto* number = static_cast<QAccessibleTableCellInterface*>(
            grid->tableInterface()->cellAt(4, 1)->interface_cast(QAccessible::TableCellInterface));
        QVERIFY(number && number->columnHeaderCells().size() == 1);
        QCOMPARE(number->columnHeaderCells().first()->text(QAccessible::Name),
                 QStringLiteral("Phone Number"));
    }

    // While no modem is connected Tab runs from the connection button to
    // the port selector and on along the toolbar's enabled buttons, then
    // round again; Shift+Tab runs back. Disabled controls are passed over.
    void shouldTabAlongWhatCanBeUsed() {
        QStringList order;
        for (QAction* action : window->toolbar()->actions()) {
            if (window->toolbar()->widgetForAction(action)->isAncestorOf(cmbSerial(*window)))
                order << "cmbSerial";
            else if (action->isEnabled() && !action->isSeparator())
                order << window->toolbar()->widgetForAction(action)->objectName();
        }
        QCOMPARE(order.mid(0, 2), QStringList({"connection", "cmbSerial"}));
        order << order.first(); // and round again
        window->toolbar()->button(QStringLiteral("connection"))->setFocus();
        QCOMPARE(QStringList(order.first()) + walk(Qt::Key_Tab, int(order.size()) - 1), order);
        std::reverse(order.begin(), order.end());
        QCOMPARE(QStringList(order.first()) + walk(Qt::Key_Backtab, int(order.size()) - 1), order);
    }

    void shouldCloseAboutWithEsc_data() {
        QTest::addColumn<QString>("focus"); // the control that has it, or none
        QTest::newRow("on the window") << QString();
        QTest::newRow("on the web link") << "URLlbl";
    }
    void shouldCloseAboutWithEsc() {
        QFETCH(QString, focus);
        window->toolbar()->action(QStringLiteral("about"))->trigger();
        QPointer<AboutWindow> about = window->findChild<AboutWindow*>();
        QVERIFY(about && QTest::qWaitFor([&] { return about->isActiveWindow(); }));
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
