// The main window as a screen reader meets it (roles, names, values, what
// each control is for by relation, the entry selected in a closed list, the
// phone grid's headers, the event of a new status, the commands' keys), and
// as a keyboard user meets it (the Tab order, the shortcuts, Esc on About). Accessibility is
// switched on from the start, as it is when a screen reader runs before Tavek starts.
#include "WindowFixture.h"

#include "AboutWindow.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QLabel>
#include <QToolButton>
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

    void announcesEachPartByWhatItShows_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("said"); // its name | its value
        row("main window", "Main", QAccessible::Window, "Tavek|");
        row("an input's frame, by its caption", "frmI3", QAccessible::Grouping, " Input 3 |");
        // AT-SPI carries a list's name only: the entry shown must be it.
        row("a delay list, by its entry", "cmbMsec_2", QAccessible::ComboBox, "300|300");
        row("the port selector, by its port", "cmbSerial", QAccessible::ComboBox, "Com 1|Com 1");
        row("a message box, its text", "txtMessage_5", QAccessible::EditableText,
            "Input 2 Double message|Type here your message");
    }
    void announcesEachPartByWhatItShows() {
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

    // What each control is for comes by relation, from the text beside it
    // and the frame around it, since its name is what it shows.
    void tellsWhatEachControlIsForByRelation_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QString>("description");
        QTest::newRow("the port selector") << "cmbSerial" << QStringList{"Serial port"} << "";
        QTest::newRow("a delay list")
            << "cmbMsec_2" << QStringList{"msec: ", "Input 2 Bit"} << "Input 2 delay";
        QTest::newRow("a single message")
            << "txtMessage_2" << QStringList{"Message Single:", " Input 2 "} << "";
        QTest::newRow("a double message")
            << "txtMessage_6" << QStringList{"Message Double:", " Input 3 "} << "";
    }
    void tellsWhatEachControlIsForByRelation() {
        QFETCH(QString, control);
        QFETCH(QStringList, labels);
        QFETCH(QString, description);
        QAccessibleInterface* reader = readerOf(window->findChild<QWidget*>(control));
        QVERIFY(reader);
        QStringList labelledBy;
        for (const auto& [label, relation] : reader->relations(QAccessible::Label))
            labelledBy << label->text(QAccessible::Name);
        QCOMPARE(labelledBy, labels);
        QCOMPARE(reader->text(QAccessible::Description), description);
    }

    // A reader that looks into a closed list finds the entry shown selected,
    // also one the window chose with the list's signals held back.
    void selectsTheEntryShownInTheClosedList_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("quietly"); // with the list's signals blocked
        QTest::addColumn<QString>("shown");
        QTest::newRow("as the window starts") << "cmbMsec_1" << 0 << false << "No delay";
        QTest::newRow("a delay chosen") << "cmbMsec_2" << 3 << false << "300";
        QTest::newRow("a port chosen by the window") << "cmbSerial" << 4 << true << "Com 5";
    }
    void selectsTheEntryShownInTheClosedList() {
        QFETCH(QString, control);
        QFETCH(int, entry);
        QFETCH(bool, quietly);
        QFETCH(QString, shown);
        auto* box = window->findChild<QComboBox*>(control);
        QAccessibleInterface* reader = readerOf(box);
        QVERIFY(reader && reader->childCount() == 1);
        QAccessibleInterface* entries = reader->child(0);
        QCOMPARE(entries->childCount(), box->count()); // read once before the choice
        {
            const QSignalBlocker held(quietly ? box : nullptr);
            box->setCurrentIndex(entry);
        }
        QStringList selected;
        for (int index = 0; index < entries->childCount(); ++index) {
            if (entries->child(index)->state().selected)
                selected << entries->child(index)->text(QAccessible::Name);
        }
        QCOMPARE(selected, QStringList{shown});
        QCOMPARE(reader->text(QAccessible::Name), shown);
        QVERIFY(reader->state().collapsed && !box->view()->isVisible());
    }

    // A screen reader says the new status as it comes.
    void tellsEveryNewStatusAsANameChange() {
        namesChanged.clear();
        window->setStatusText("Modem Connected");
        QVERIFY(namesChanged.contains(window->statusLine()));
        QCOMPARE(readerOf(window->statusLine())->text(QAccessible::Name), "Modem Connected");
    }

    // The headings are column headers, not a row of data.
    void offersThePhoneBookUnderTwoColumnHeaders() {
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
    void tabsAlongWhatCanBeUsed() {
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

    // The desktop's standard keys run their commands from wherever the focus
    // is in the window, and only while the command's button is enabled.
    void runsTheStandardShortcuts_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("focus"); // the control that has it
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char* name, QKeySequence keys, const char* focus, bool connected,
                            const char* outcome) {
            QTest::newRow(name) << keys << QString(focus) << connected << QString(outcome);
        };
        const QKeySequence open(Qt::CTRL | Qt::Key_O), save(Qt::CTRL | Qt::Key_S);
        const QKeySequence quit(Qt::CTRL | Qt::Key_Q), help(Qt::Key_F1);
        row("Ctrl+O on the toolbar", open, "connection", true, "open dialog");
        row("Ctrl+O in the phone grid", open, "PhoneGrid", true, "open dialog");
        row("Ctrl+O in a message box", open, "txtMessage_2", true, "open dialog");
        row("Ctrl+O not connected", open, "connection", false, "");
        row("Ctrl+S in a delay list", save, "cmbMsec_1", true, "save dialog");
        row("Ctrl+S not connected", save, "cmbSerial", false, "");
        row("F1", help, "connection", false, "about");
        row("F1 in the phone grid", help, "PhoneGrid", true, "about");
        row("Ctrl+Q", quit, "cmbSerial", false, "closed");
        row("Ctrl+Q in a message box", quit, "txtMessage_4", true, "closed");
    }
    void runsTheStandardShortcuts() {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, focus);
        QFETCH(bool, connected);
        QFETCH(QString, outcome);
        QStringList happened;
        window->fileDialogs().openFileName = [&](const QString&) {
            happened << "open dialog";
            return QString();
        };
        window->fileDialogs().saveFileName = [&](const QString&) {
            happened << "save dialog";
            return QString();
        };
        if (connected)
            window->showLinkState(SessionFace::LinkState::Connected);
        auto* target = window->findChild<QWidget*>(focus);
        QVERIFY(target);
        target->setFocus();
        QVERIFY(target->hasFocus());
        QTest::keySequence(target, keys);
        if (const auto* about = window->findChild<AboutWindow*>(); about && about->isVisible())
            happened << "about";
        if (!window->isVisible())
            happened << "closed";
        QCOMPARE(happened.join(", "), outcome);
    }

    // Each command with keys names them in its tool tip; a screen reader
    // hears the command's name, and the keys as the press action's binding
    // and the accelerator.
    void namesEachCommandsKeys_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("heard"); // name | accelerator | key binding of Press
        QTest::newRow("open") << "open-configuration"
                              << "Open configuration\u2026 (Ctrl+O)"
                              << "Open configuration\u2026|Ctrl+O|Ctrl+O";
        QTest::newRow("save") << "save-configuration"
                              << "Save configuration\u2026 (Ctrl+S)"
                              << "Save configuration\u2026|Ctrl+S|Ctrl+S";
        QTest::newRow("about") << "about"
                               << "About Tavek (F1)"
                               << "About Tavek|F1|F1";
        QTest::newRow("no keys") << "connection"
                                 << "Connection"
                                 << "Connection||";
    }
    void namesEachCommandsKeys() {
        QFETCH(QString, command);
        QFETCH(QString, toolTip);
        QFETCH(QString, heard);
        QToolButton* button = window->toolbar()->button(command);
        QCOMPARE(button->toolTip(), toolTip);
        QAccessibleInterface* reader = readerOf(button);
        QVERIFY(reader && reader->actionInterface());
        QCOMPARE(reader->role(), QAccessible::Button);
        QCOMPARE(reader->actionInterface()->actionNames().value(0),
                 QAccessibleActionInterface::pressAction());
        QCOMPARE(reader->text(QAccessible::Name) + "|" + reader->text(QAccessible::Accelerator) +
                     "|" +
                     reader->actionInterface()
                         ->keyBindingsForAction(QAccessibleActionInterface::pressAction())
                         .join(";"),
                 heard);
    }

    void closesAboutWithEsc_data() {
        QTest::addColumn<QString>("focus"); // the control that has it, or none
        QTest::newRow("on the window") << QString();
        QTest::newRow("on the web link") << "URLlbl";
    }
    void closesAboutWithEsc() {
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
