// Typing phone numbers into the grid: a click chooses and marks a row, the
// characters typed change its number.
#include "WindowFixture.h"

#include "LinkState.h"
#include "PhoneGrid.h"
#include "SystemColours.h"

#include <QGroupBox>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

class PhoneGridTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    PhoneGrid* grid = nullptr;

    QPoint cellCentre(int row, int column) const {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
    void clickCell(int row, int column = PhoneGrid::NumberColumn) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(row, column));
    }
    QList<int> markedRows() const {
        QList<int> rows;
        for (int row = 1; row <= 20; ++row) {
            if (grid->item(row, 1)->background().color() == chosenRowColour())
                rows << row;
        }
        return rows;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        window = std::make_unique<MainWindow>();
        window->setFramesEnabled(true);
        QVERIFY(showActive(*window));
        grid = window->phoneGrid();
        grid->setFocus();
    }
    void cleanup() { window.reset(); }

    void shouldApplyTheKeyRules_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("keys"); // \b is Backspace, \r is Enter
        QTest::addColumn<QString>("textOfRow");
        QTest::addColumn<int>("chosenAfter");
        QTest::addColumn<QString>("textOfChosen");
        QTest::newRow("two zeros make a plus") << 5 << "00"
                                               << "+" << 5 << "+";
        QTest::newRow("then the country code") << 5 << "0039"
                                               << "+39" << 5 << "+39";
        QTest::newRow("zeros after digits stay") << 5 << "+3900"
                                                 << "+3900" << 5 << "+3900";
        QTest::newRow("a third zero stays") << 5 << "000"
                                            << "+0" << 5 << "+0";
        QTest::newRow("plus anywhere") << 5 << "1+2++"
                                       << "1+2++" << 5 << "1+2++";
        QTest::newRow("no blanks, letters or signs") << 5 << "3 a-9"
                                                     << "39" << 5 << "39";
        QTest::newRow("backspace") << 5 << "+39\b"
                                   << "+3" << 5 << "+3";
        QTest::newRow("backspace to empty and beyond") << 5 << "+39\b\b\b\b\b"
                                                       << "" << 5 << "";
        QTest::newRow("enter moves down") << 5 << "1\r2"
                                          << "1" << 6 << "2";
        QTest::newRow("enter on the last row stays") << 20 << "\r\r7"
                                                     << "7" << 20 << "7";
    }
    void shouldApplyTheKeyRules() {
        QFETCH(int, row);
        QFETCH(QString, keys);
        QFETCH(QString, textOfRow);
        QFETCH(int, chosenAfter);
        QFETCH(QString, textOfChosen);
        clickCell(row);
        QCOMPARE(grid->selectedPhoneRow(), row);
        QTest::keyClicks(grid, keys);
        QCOMPARE(grid->cellText(row, 1), textOfRow);
        QCOMPARE(grid->selectedPhoneRow(), chosenAfter);
        QCOMPARE(grid->cellText(chosenAfter, 1), textOfChosen);
        QCOMPARE(markedRows(), QList<int>{chosenAfter});
    }

    void shouldIgnoreTypingBeforeAnyRowIsChosen() {
        QTest::keyClicks(grid, "00123\r");
        QTest::keyClick(grid, Qt::Key_Backspace);
        QCOMPARE(grid->selectedPhoneRow(), 0);
        for (int row = 1; row <= 20; ++row) {
            QCOMPARE(grid->cellText(row, 1), QString());
            QCOMPARE(grid->item(row, 1)->background().style(), Qt::NoBrush);
        }
    }

    void shouldMarkExactlyTheClickedRow() {
        clickCell(3);
        clickCell(7);
        QCOMPARE(markedRows(), QList<int>{7});
        for (int row = 1; row <= 20; ++row) {
            if (row != 7)
                QCOMPARE(grid->item(row, 1)->background().color(), QColor(Qt::white));
        }
        QVERIFY(grid->item(7, 0)->background().color() != chosenRowColour());
    }

    void shouldKeepTheChoiceWhenAHeadingIsClicked() {
        clickCell(7);
        clickCell(0, 1);
        clickCell(12, 0);
        QCOMPARE(grid->selectedPhoneRow(), 7);
        QCOMPARE(markedRows(), QList<int>{7});
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("Phone Number"));
    }

    void shouldLeaveTheChoiceToClicksNotArrows() {
        clickCell(3);
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Delete);
        QTest::keyClicks(grid, "5");
        QCOMPARE(grid->selectedPhoneRow(), 3);
        QCOMPARE(grid->cellText(3, 1), QStringLiteral("5"));
        QCOMPARE(grid->cellText(5, 1), QString());
    }
};

QTEST_MAIN(PhoneGridTest)
#include "tst_phone_grid.moc"
