// The main window in a dark palette set while it is open, as the user sees
// it: phone numbers and message text readable on their fields, the
// placeholder apart from typed text.
#include "WindowFixture.h"

#include "MessageTextBox.h"

#include <QtTest>

namespace {

// WCAG's contrast ratio: 1 for the same colour, 21 for black on white; 3
// is enough to read small text at a glance.
double luminance(const QColor& colour) {
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}
double contrast(const QColor& a, const QColor& b) {
    const double first = luminance(a), second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// The text drawn in an area: its pixel that stands out most from the
// background, the core of a stroke.
QColor inkIn(const QImage& image, const QRect& area, const QColor& background) {
    QColor ink = background;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (contrast(image.pixelColor(x, y), background) > contrast(ink, background))
                ink = image.pixelColor(x, y);
    return ink;
}

} // namespace

class PalettesTest : public QObject {
    Q_OBJECT

private slots:
    void keepsNumbersAndMessagesReadableInADarkPalette() {
        const std::unique_ptr<MainWindow> window = shownWindow(true);
        QVERIFY(window);
        // The field and text colours of a common dark scheme (qt6ct's "darker").
        const QColor base("#3d3d3d");
        QPalette dark = QApplication::palette();
        dark.setColor(QPalette::Window, QColor("#222020"));
        dark.setColor(QPalette::Base, base);
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::PlaceholderText, QColor(255, 255, 255, 128));
        QApplication::setPalette(dark);
        QCoreApplication::processEvents(); // the widgets hear of it

        // A number on the field's colour; numbers align right.
        PhoneGrid& grid = *phoneGrid(*window);
        window->model().setNumber(2, "+391234");
        const QImage cells = grid.grab().toImage();
        const QRect number = grid.visualRect(grid.model()->index(2, 1))
                                 .translated(grid.viewport()->pos())
                                 .adjusted(1, 1, -1, -1);
        QVERIFY(contrast(cells.pixelColor(number.left() + 1, number.center().y()), base) < 1.1);
        QVERIFY(contrast(inkIn(cells, number, base), base) >= 3.0);

        // Typed text in box 1, the placeholder in box 4.
        txtMessage(*window, 1)->setMessage({"ALARM ON", false});
        QColor inks[2];
        for (int box : {1, 4}) {
            const QImage shot = txtMessage(*window, box)->grab().toImage();
            QVERIFY(contrast(shot.pixelColor(shot.width() - 5, shot.height() / 2), base) < 1.1);
            inks[box == 4] = inkIn(shot, shot.rect().adjusted(3, 3, -3, -3), base);
        }
        QVERIFY(contrast(inks[0], base) >= 3.0);
        QVERIFY2(contrast(inks[1], base) >= 2.0, "the placeholder can be read");
        QVERIFY2(contrast(inks[0], inks[1]) >= 1.5, "the placeholder stands apart from text");
    }
};

QTEST_MAIN(PalettesTest)
#include "tst_palettes.moc"
