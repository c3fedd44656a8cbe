// The six message boxes: the placeholder comes out on a click and goes back
// when a box is left empty; no more than 50 characters, no control characters.
#include "WindowFixture.h"

#include "InputPanel.h"
#include "MessageTextBox.h"
#include "SystemColours.h"

#include <QClipboard>
#include <QComboBox>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

class MessageBoxesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        window = std::make_unique<MainWindow>();
        window->setFramesEnabled(true);
        QVERIFY(showActive(*window));
    }
    void cleanup() { window.reset(); }

    // Each step is one thing a user does to the Single box of input 2:
    // "click", "tab in" (from the delay list above it), "type <text>",
    // "leave" (Tab to the next control) or "paste <text>".
    void shouldFollowTheUser_data() {
        QTest::addColumn<QString>("startText");
        QTest::addColumn<bool>("startFaint");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("faint");
        const QString placeholder = PlaceholderText;
        QTest::newRow("click clears the placeholder, typing is black")
            << placeholder << true << QStringList{"click", "type A"} << "A" << false;
        QTest::newRow("tab in edits the placeholder itself")
            << placeholder << true << QStringList{"tab in", "type X"} << "X" + placeholder << true;
        QTest::newRow("leaving it empty brings the placeholder back")
            << placeholder << true << QStringList{"click", "leave"} << placeholder << true;
        QTest::newRow("a single blank stays")
            << placeholder << true << QStringList{"click", "type  ", "leave"} << " " << false;
        QTest::newRow("a default text in the faint colour stays")
            << "ALLARME  1 ON" << true << QStringList{"click"} << "ALLARME  1 ON" << true;
        QTest::newRow("the placeholder words typed in black are cleared")
            << placeholder << false << QStringList{"click"} << "" << false;
        QTest::newRow("other text is left alone")
            << "Door open" << false << QStringList{"click", "leave"} << "Door open" << false;
        QTest::newRow("a pasted line break is refused")
            << "Door" << false << QStringList{"click", "paste \r\nAT&F"} << "Door" << false;
        QTest::newRow("a pasted Ctrl-Z is refused")
            << "Door" << false << QStringList{"click", "paste \x1a"} << "Door" << false;
        QTest::newRow("a plain paste is taken")
            << "Door" << false << QStringList{"click", "paste  open"} << "Door open" << false;
    }
    void shouldFollowTheUser() {
        QFETCH(QString, startText);
        QFETCH(bool, startFaint);
        QFETCH(QStringList, steps);
        QFETCH(QString, text);
        QFETCH(bool, faint);

        MessageTextBox& box = *window->txtMessage(2);
        box.setMessage({startText, startFaint});
        for (const QString& step : steps) {
            if (step == "click") {
                QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(box.width() - 4, 5));
            } else if (step == "tab in") {
                QComboBox& above = *window->cmbMsec(2);
                above.setFocus();
                QTest::keyClick(&above, Qt::Key_Tab);
                QVERIFY(box.hasFocus());
            } else if (step.startsWith("type ")) {
                QTest::keyClicks(&box, step.mid(5));
            } else if (step == "leave") {
                QVERIFY(box.hasFocus());
                QTest::keyClick(&box, Qt::Key_Tab);
                QVERIFY(!box.hasFocus());
            } else if (step.startsWith("paste ")) {
                box.end(false);
                QGuiApplication::clipboard()->setText(step.mid(6));
                QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
            }
        }
        QCOMPARE(box.text(), text);
        QCOMPARE(box.inPlaceholderColour(), faint);
        QCOMPARE(box.palette().color(QPalette::Active, QPalette::Text),
                 faint ? placeholderColour() : messageTextColour());
    }

    void shouldTakeFiftyCharactersAndNoMore() {
        MessageTextBox& box = *window->txtMessage(6);
        QTest::mouseClick(&box, Qt::LeftButton);
        QTest::keyClicks(&box, QString(49, QLatin1Char('a')) + "bc");
        QCOMPARE(box.text(), QString(49, QLatin1Char('a')) + "b");
    }
};

QTEST_MAIN(MessageBoxesTest)
#include "tst_message_boxes.moc"
