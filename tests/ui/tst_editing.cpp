// Editing what the frames hold: phone numbers typed into the grid (a click
// chooses and marks a row), and the six message boxes with their placeholder.
#include "WindowFixture.h"

#include "MessageTextBox.h"
#include "SystemColours.h"

#include <QClipboard>
#include <QToolTip>
#include <QtTest>

namespace {
void gridRow(const char* name, int row, const QString& keys, const QString& text, int chosenAfter,
             const QString& note = {}) {
    QTest::newRow(name) << row << keys << text << chosenAfter << note;
}
void boxRow(const char* name, const MessageText& start, const QString& pasted, const QString& keys,
            const MessageText& end, const QString& note = {}) {
    QTest::newRow(name) << start << pasted << keys << end << note;
}
// Keys as a keyboard sends them: \t and \b as Tab and Backspace, any other
// character (a "€" too, which QTest's key names lack) as the text it types.
void typeKeys(QWidget* widget, const QString& keys) {
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString key = keys.mid(i, keys[i].isHighSurrogate() ? 2 : 1);
        i += key.size() - 1;
        if (key[0].unicode() < 0x80)
            QTest::keyClick(widget, key[0].toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, key, Qt::NoModifier);
    }
}
// The note shown at what the user typed into, or empty when none is shown.
QString shownNote() {
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}
} // namespace

Q_DECLARE_METATYPE(MessageText)

class EditingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    // The rows marked as chosen, as the user sees them.
    QList<int> markedRows() const {
        QList<int> rows;
        for (int row = 1; row <= 20; ++row)
            if (phoneGrid(*window)->item(row, 1)->background().color() == chosenRowColour())
                rows << row;
        return rows;
    }

private slots:
    void init() { QVERIFY(window = shownWindow(true)); }
    void cleanup() { window.reset(); }

    // How "00" becomes "+" is met where numbers are typed in tests of whole
    // flows. A key that is not taken says why at the cell.
    void gridAppliesTheKeyRules_data() {
        QTest::addColumn<int>("row");      // clicked first; 0 for none
        QTest::addColumn<QString>("keys"); // \b is Backspace, \r is Enter
        QTest::addColumn<QString>("text"); // of the row clicked
        QTest::addColumn<int>("chosenAfter");
        QTest::addColumn<QString>("note"); // shown at the cell; empty for none
        gridRow("zeros after digits stay", 5, "+3900", "+3900", 5);
        gridRow("a + after the start is not taken", 5, "3+9+", "39", 5,
                "A \"+\" goes only at the start of a phone number.");
        gridRow("no 21st character", 5, "00" + QString("12345678901234567890"),
                "+1234567890123456789", 5, "A phone number holds at most 20 characters.");
        gridRow("a third zero stays", 5, "000", "+0", 5);
        gridRow("no blanks, letters or signs", 5, "3 a-9", "39", 5);
        gridRow("backspace, one at a time, to empty and beyond", 5, "+39\b\b\b\b12\b", "1", 5);
        gridRow("enter moves down", 5, "1\r", "1", 6);
        gridRow("enter on the last row stays", 20, "\r\r7", "7", 20);
        gridRow("typing before any row is chosen", 0, "00123\r\b", "Phone Number", 0);
    }
    void gridAppliesTheKeyRules() {
        QFETCH(int, row);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, chosenAfter);
        QFETCH(QString, note);
        PhoneGrid* grid = phoneGrid(*window);
        if (row > 0)
            clickCell(*grid, row);
        QToolTip::hideText();
        QTest::keyClicks(grid, keys);
        QCOMPARE(grid->cellText(row, 1), text);
        QCOMPARE(shownNote(), note);
        // A click on a heading or a position chooses nothing.
        clickCell(*grid, 0, 1);
        clickCell(*grid, 12, 0);
        QCOMPARE(markedRows(), chosenAfter ? QList<int>{chosenAfter} : QList<int>{});
        for (int other = 1; other <= 20; ++other)
            if (other != row)
                QCOMPARE(grid->cellText(other, 1), QString());
    }

    // One row is chosen at a time, and the grid's own focus frame (its
    // current cell) is on that row's number: the row marked is the row that
    // digits go into, and the one a screen reader is told has the focus. The
    // keys that move the frame move the choice with it. The grid takes the
    // focus by a click on a number, by Tab from the inputs' Set, or by a
    // click on a heading (which chooses nothing).
    void gridShowsOneChoiceWhereTheDigitsGo_data() {
        QTest::addColumn<QString>("focus"); // "click", "tab" or "heading"
        QTest::addColumn<int>("clicked");   // for "click"
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("chosen");
        const auto row = [](const char* name, const char* focus, int clicked,
                            const QKeySequence& keys, int chosen) {
            QTest::newRow(name) << QString(focus) << clicked << keys << chosen;
        };
        row("a click", "click", 5, {}, 5);
        row("down", "click", 5, QKeySequence(Qt::Key_Down, Qt::Key_Down), 7);
        row("up to the first row, not the headings", "click", 2,
            QKeySequence(Qt::Key_Up, Qt::Key_Up, Qt::Key_Up), 1);
        row("down on the last row stays", "click", 19, QKeySequence(Qt::Key_Down, Qt::Key_Down),
            20);
        row("left and right stay on the number", "click", 7,
            QKeySequence(Qt::Key_Left, Qt::Key_Left, Qt::Key_Right), 7);
        row("home and end stay on the row", "click", 7, QKeySequence(Qt::Key_Home, Qt::Key_End), 7);
        row("ctrl+end", "click", 7, QKeySequence(Qt::CTRL | Qt::Key_End), 20);
        row("ctrl+home", "click", 7, QKeySequence(Qt::CTRL | Qt::Key_Home), 1);
        row("page down", "click", 3, QKeySequence(Qt::Key_PageDown), 20);
        row("enter moves both", "click", 4, QKeySequence(Qt::Key_Return), 5);
        row("tab in chooses the first row", "tab", 0, {}, 1);
        row("tab in, then down", "tab", 0, QKeySequence(Qt::Key_Down), 2);
        row("down after a click on a heading", "heading", 0, QKeySequence(Qt::Key_Down), 1);
    }
    void gridShowsOneChoiceWhereTheDigitsGo() {
        QFETCH(QString, focus);
        QFETCH(int, clicked);
        QFETCH(QKeySequence, keys);
        QFETCH(int, chosen);
        PhoneGrid* grid = phoneGrid(*window);
        if (focus == "click") {
            clickCell(*grid, clicked);
        } else if (focus == "tab") {
            cmdSendInputs(*window)->setFocus();
            QTest::keyClick(cmdSendInputs(*window), Qt::Key_Tab);
        } else {
            clickCell(*grid, 0, 1);
            QCOMPARE(markedRows(), QList<int>{});
        }
        QVERIFY(grid->hasFocus());
        QTest::keySequence(grid, keys);
        QCOMPARE(markedRows(), QList<int>{chosen});
        QCOMPARE(grid->currentIndex(), grid->model()->index(chosen, PhoneGrid::NumberColumn));
        QTest::keyClick(grid, '7');
        for (int row = 1; row <= 20; ++row)
            QCOMPARE(grid->cellText(row, 1), QString(row == chosen ? "7" : ""));
    }

    // The Single box of input 2 is entered by a click; then a text is pasted
    // and keys typed (\t leaves the box).
    void boxFollowsTheUser_data() {
        QTest::addColumn<MessageText>("start");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<MessageText>("end");
        QTest::addColumn<QString>("note"); // how the tool tip at the box starts; empty for none
        const MessageText placeholder{PlaceholderText, true}, door{"Door", false};
        const QString control = "A line break or another control character would end";
        const QString fifty(50, 'a'), sixty(60, 'm');
        boxRow("click clears the placeholder", placeholder, "", "A", {"A", false});
        boxRow("leaving it empty brings it back", placeholder, "", "\t", placeholder);
        boxRow("a single blank stays", placeholder, "", " \t", {" ", false});
        boxRow("faint text stays", {"ALLARME  1 ON", true}, "", "", {"ALLARME  1 ON", true});
        boxRow("placeholder words in black go", {PlaceholderText, false}, "", "", {"", false});
        boxRow("no 51st character", {"", false}, "", fifty + "b", {fifty, false});
        // A longer text read from the modem stays whole; typing shortens it
        // and cannot make it longer again.
        boxRow("a long text from the modem", {sixty, false}, "", "\bxy", {sixty.chopped(1), false});
        boxRow("a plain paste", door, " open", "", {"Door open", false});
        boxRow("Latin-1 to its ends", door, " ~\u00a0\u00a1 café °", "ÿ",
               {"Door ~\u00a0\u00a1 café °ÿ", false});
        boxRow("no pasted line break or Ctrl-Z", door, "\r\nAT&F\x1a", "", door, control);
        boxRow("no pasted DEL or C1 control", door, "x\x7f\u0085", "", door, control);
        // A paste with one character the line cannot carry is refused whole:
        // half a message would be the wrong message.
        boxRow("a paste beyond Latin-1 is refused whole", door, R"( say "hi" café € Ł)", "", door,
               "\"€\" cannot be sent to the modem, so the text was not taken");
        boxRow("a typed € or emoji is not taken", door, "", " €😀!", {"Door !", false},
               "\"😀\" cannot be sent to the modem");
    }
    void boxFollowsTheUser() {
        QFETCH(MessageText, start);
        QFETCH(QString, pasted);
        QFETCH(QString, keys);
        QFETCH(MessageText, end);
        QFETCH(QString, note);
        QToolTip::hideText();
        MessageTextBox& box = *txtMessage(*window, 2);
        box.setMessage(start);
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(box.width() - 4, 5)); // at the end
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        }
        typeKeys(&box, keys);
        QCOMPARE(box.hasFocus(), !keys.endsWith('\t'));
        QCOMPARE(box.message(), end);
        QVERIFY2(note.isEmpty() ? shownNote().isEmpty() : shownNote().startsWith(note),
                 qPrintable(shownNote()));
        QCOMPARE(box.palette().color(QPalette::Text),
                 end.placeholderColour ? placeholderColour() : messageTextColour());
    }

    // Moving into a box that shows the placeholder, by any means, empties it
    // as a click does: "Fire" typed is "Fire", never mixed into the
    // placeholder's words. Coming back from another program is no move in.
    void movingIntoAPlaceholderEmptiesIt_data() {
        QTest::addColumn<int>("reason");
        QTest::addColumn<MessageText>("afterTyping");
        const MessageText fire{"Fire", false};
        QTest::newRow("Tab") << int(Qt::TabFocusReason) << fire;
        QTest::newRow("Shift+Tab") << int(Qt::BacktabFocusReason) << fire;
        QTest::newRow("a mnemonic") << int(Qt::ShortcutFocusReason) << fire;
        QTest::newRow("the mouse") << int(Qt::MouseFocusReason) << fire;
        QTest::newRow("Tab pressed until there") << -1 << fire;
    }
    void movingIntoAPlaceholderEmptiesIt() {
        QFETCH(int, reason);
        QFETCH(MessageText, afterTyping);
        MessageTextBox& box = *txtMessage(*window, 5);
        cmbSerial(*window)->setFocus(Qt::OtherFocusReason);
        box.setMessage({PlaceholderText, true});
        if (reason >= 0) {
            box.setFocus(Qt::FocusReason(reason));
        } else {
            for (int presses = 0; presses < 80 && !box.hasFocus(); ++presses)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QVERIFY(box.hasFocus());
        QCOMPARE(box.text(), QString());
        QTest::keyClicks(&box, "Fire");
        QCOMPARE(box.message(), afterTyping);
        QCOMPARE(box.palette().color(QPalette::Text), messageTextColour());
    }
};

QTEST_MAIN(EditingTest)
#include "tst_editing.moc"
