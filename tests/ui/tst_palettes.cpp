// The windows in light and dark palettes, as the user sees them: every field
// in the palette's colours, its text readable on it, the placeholder apart
// from typed text, also when the palette changes while the window is open;
// the splash's words readable on its picture.
#include "WindowFixture.h"

#include "AboutWindow.h"
#include "MessageTextBox.h"
#include "Preloader.h"

#include <QLabel>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

namespace {
QPalette lightPalette() {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    return fusion->standardPalette();
}

// Fusion with the colours of a common dark scheme (qt6ct's "darker").
QPalette darkPalette() {
    QPalette dark = lightPalette();
    const std::pair<QPalette::ColorRole, QColor> colours[] = {
        {QPalette::WindowText, "#ffffff"},
        {QPalette::Button, "#424245"},
        {QPalette::Light, "#979797"},
        {QPalette::Midlight, "#5e5c5b"},
        {QPalette::Dark, "#302f2e"},
        {QPalette::Mid, "#4a4947"},
        {QPalette::Text, "#ffffff"},
        {QPalette::BrightText, "#ffffff"},
        {QPalette::ButtonText, "#ffffff"},
        {QPalette::Base, "#3d3d3d"},
        {QPalette::Window, "#222020"},
        {QPalette::Shadow, "#e7e4e0"},
        {QPalette::Highlight, "#12608a"},
        {QPalette::HighlightedText, "#f9f9f9"},
        {QPalette::Link, "#0986d3"},
        {QPalette::AlternateBase, "#5c5b5a"},
        {QPalette::PlaceholderText, QColor(255, 255, 255, 128)}};
    for (const auto& [role, colour] : colours)
        dark.setColor(role, colour);
    return dark;
}

// WCAG's contrast ratio: 1 for the same colour, 21 for black on white.
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

// The text drawn in an area: its pixel that stands out most from the area's
// background, the core of a stroke.
QColor inkIn(const QImage& image, const QRect& area, const QColor& background) {
    QColor ink = background;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (contrast(pixel, background) > contrast(ink, background))
                ink = pixel;
        }
    return ink;
}

// The same colour, but for a tint (the style marks the current cell with one).
bool near(const QColor& a, const QColor& b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())}) <= 8;
}
#define QVERIFY_NEAR(actual, expected)                                                             \
    QVERIFY2(near(actual, expected), qPrintable((actual).name() + " is not " + (expected).name()))

// Enough to read small text at a glance; one colour on itself is 1.
constexpr double Readable = 3.0;
} // namespace

class PalettesTest : public QObject {
    Q_OBJECT

    QPalette original;
    std::unique_ptr<MainWindow> window;

private slots:
    void initTestCase() { original = QApplication::palette(); }
    void init() { QVERIFY(window = shownWindow(true)); }
    void cleanup() {
        window.reset();
        QApplication::setPalette(original);
    }

    void shouldDrawEveryPartInThePalettesColours_data() {
        QTest::addColumn<QList<QPalette>>("palettes"); // set one after the other
        QTest::newRow("light") << QList<QPalette>{lightPalette()};
        QTest::newRow("dark") << QList<QPalette>{darkPalette()};
        QTest::newRow("light, then dark") << QList<QPalette>{lightPalette(), darkPalette()};
        QTest::newRow("dark, then light") << QList<QPalette>{darkPalette(), lightPalette()};
    }
    void shouldDrawEveryPartInThePalettesColours() {
        QFETCH(QList<QPalette>, palettes);
        for (const QPalette& palette : palettes) {
            QApplication::setPalette(palette);
            QCoreApplication::processEvents(); // the widgets hear of it
        }
        const QPalette& colours = palettes.last();
        const QColor base = colours.color(QPalette::Base);

        // The grid: a number, the chosen row, a heading.
        PhoneGrid& grid = *window->phoneGrid();
        window->setPhoneNumber(2, "+391234");
        clickCell(grid, 5);
        window->setPhoneNumber(5, "+4477");
        const QImage cells = grid.grab().toImage();
        const auto cell = [&](int row, int column) {
            return grid.visualRect(grid.model()->index(row, column))
                .translated(grid.viewport()->pos())
                .adjusted(1, 1, -1, -1);
        };
        const auto leftOf = [&](const QRect& area) {
            return cells.pixelColor(area.left() + 1, area.center().y());
        };
        const auto rightOf = [&](const QRect& area) {
            return cells.pixelColor(area.right() - 1, area.center().y());
        };
        QVERIFY_NEAR(leftOf(cell(2, 1)), base); // numbers align right
        QVERIFY(contrast(inkIn(cells, cell(2, 1), base), base) >= Readable);
        const QColor chosen = colours.color(QPalette::Inactive, QPalette::Highlight);
        QVERIFY_NEAR(leftOf(cell(5, 1)), chosen);
        QVERIFY(contrast(inkIn(cells, cell(5, 1), chosen), chosen) >= Readable);
        const QColor heading = colours.color(QPalette::Button);
        QVERIFY_NEAR(rightOf(cell(0, 0)), heading);
        QVERIFY(contrast(inkIn(cells, cell(0, 0), heading), heading) >= Readable);

        // The message boxes: typed text and the placeholder.
        MessageTextBox& typed = *window->txtMessage(1);
        typed.setMessage({"ALARM ON", false});
        MessageTextBox& placeholder = *window->txtMessage(4);
        QVERIFY(placeholder.message().placeholderColour);
        QColor inks[2];
        for (MessageTextBox* box : {&typed, &placeholder}) {
            const QImage shot = box->grab().toImage();
            QVERIFY_NEAR(shot.pixelColor(shot.width() - 5, shot.height() / 2), base);
            inks[box == &placeholder] = inkIn(shot, shot.rect().adjusted(3, 3, -3, -3), base);
        }
        QVERIFY(contrast(inks[0], base) >= Readable);
        QVERIFY2(contrast(inks[1], base) >= 2.0, "the placeholder can be read");
        QVERIFY2(contrast(inks[0], inks[1]) >= 1.5, "the placeholder stands apart from text");

        // The About window's links.
        window->run(ToolbarCommand::About);
        auto* link = window->aboutWindow()->findChild<QLabel*>("URLlbl");
        const QImage shot = link->grab().toImage();
        const QColor behind = colours.color(QPalette::Window);
        QVERIFY_NEAR(shot.pixelColor(shot.width() - 2, 1), behind);
        QVERIFY(contrast(inkIn(shot, shot.rect(), behind), behind) >= Readable);
    }

    // The splash is a light picture with words on it, in any palette.
    void splashShouldStayReadable_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << lightPalette();
        QTest::newRow("dark") << darkPalette();
    }
    void splashShouldStayReadable() {
        QFETCH(QPalette, palette);
        QApplication::setPalette(palette);
        const std::unique_ptr<Preloader> splash = std::make_unique<Preloader>([] {});
        splash->timer()->stop();
        const QImage shot = splash->grab().toImage();
        for (const char* name : {"Label1", "Label2", "Label3"}) { // loading, version, description
            const QRect area = splash->findChild<QLabel*>(name)->geometry();
            const QColor behind = shot.pixelColor(area.right() - 1, area.center().y());
            QVERIFY2(contrast(inkIn(shot, area, behind), behind) >= Readable, name);
        }
    }
};

QTEST_MAIN(PalettesTest)
#include "tst_palettes.moc"
