// The main window on screens of every size and scale: it opens within the
// available area and scrolls what does not fit, keeping the toolbar and the
// status line in view; it comes back where it was left, and with the "Com N"
// last chosen.
#include "WindowFixture.h"

#include "WindowPlacement.h"
#include "WindowSettings.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The window's size as the forms lay it out.
const QSize LaidOut(976, 594);

// What window_on_screen printed: each line's name and rectangle.
QMap<QString, QRect> readRects(const QByteArray& printed) {
    QMap<QString, QRect> rects;
    for (const QByteArray& line : printed.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 5)
            rects[QString::fromLatin1(parts[0])] =
                QRect(parts[1].toInt(), parts[2].toInt(), parts[3].toInt(), parts[4].toInt());
    }
    return rects;
}

void screenRow(const char* name, int width, int height, const char* scale, const char* scrolls) {
    QTest::newRow(name) << QSize(width, height) << QString::fromLatin1(scale)
                        << QString::fromLatin1(scrolls);
}

std::unique_ptr<MainWindow> reopened() {
    auto window = std::make_unique<MainWindow>();
    window->show();
    return QTest::qWaitForWindowExposed(window.get()) ? std::move(window) : nullptr;
}
} // namespace

Q_DECLARE_METATYPE(std::optional<QRect>)

class WindowFitTest : public QObject {
    Q_OBJECT

    QTemporaryDir screens;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(screens.isValid());
    }

    // Each screen in its own process, as the scale is taken at the start.
    // Qt's offscreen screen has no panels: a 48 px panel is a screen that
    // much lower. Its window system's frame is 2 px wide.
    void fitsTheScreen_data() {
        QTest::addColumn<QSize>("screen"); // in device pixels
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QString>("scrolls"); // where the content scrolls
        screenRow("1920x1080 at 2", 1920, 1080, "2", "down and across");
        screenRow("1366x768 at 1.25, less a 48 px panel", 1366, 720, "1.25", "down");
        screenRow("1280x720 at 1", 1280, 720, "1", "not");
        screenRow("3840x2160 at 2", 3840, 2160, "2", "not");
        screenRow("1024x576 at 1", 1024, 576, "1", "down");
        screenRow("800x600 at 1", 800, 600, "1", "down and across");
    }
    void fitsTheScreen() {
        QFETCH(QSize, screen);
        QFETCH(QString, scale);
        QFETCH(QString, scrolls);
        QFile config(screens.filePath(
            QStringLiteral("%1x%2.json").arg(screen.width()).arg(screen.height())));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(
            QStringLiteral(R"({"screens": [{"name": "screen", "width": %1, "height": %2}]})")
                .arg(screen.width())
                .arg(screen.height())
                .toUtf8());
        config.close();
        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
        environment.insert("QT_SCALE_FACTOR", scale);
        probe.setProcessEnvironment(environment);
        probe.start(QStringLiteral(WINDOW_ON_SCREEN), {});
        QVERIFY(probe.waitForFinished(60'000));
        QVERIFY2(probe.exitCode() == 0, probe.readAllStandardError().constData());
        const QMap<QString, QRect> at = readRects(probe.readAllStandardOutput());

        QVERIFY2(at["available"].contains(at["frame"]),
                 qPrintable(QStringLiteral("frame %1,%2 %3x%4")
                                .arg(at["frame"].x())
                                .arg(at["frame"].y())
                                .arg(at["frame"].width())
                                .arg(at["frame"].height())));
        const QRect window(QPoint(), at["window"].size());
        if (scrolls == "not")
            QCOMPARE(window.size(), LaidOut);
        QCOMPARE(at["content"].size(), QSize(976, 525));
        const QRect scrolled = at["scrolls"];
        QCOMPARE(QString(scrolled.height() > 0 ? "down" : "") +
                     (scrolled.width() > 0 ? " and across" : ""),
                 scrolls == "not" ? QString() : scrolls);
        // Every part of the content can be scrolled to.
        QVERIFY(at["viewport"].width() + scrolled.width() >= at["content"].width());
        QVERIFY(at["viewport"].height() + scrolled.height() >= at["content"].height());
        QVERIFY(window.contains(at["toolbar"]));
        QVERIFY(window.contains(at["status"]));
        // A control that takes the focus comes into view.
        QVERIFY(QRect(QPoint(), at["viewport"].size()).contains(at["focused"]));
    }

    // The rule of where the window opens, on two screens side by side, each
    // with a panel: the left one 1920x1080 (1032 high without its panel),
    // the right one 1280x1024. The frame is 4 px at the sides, 30 on top.
    void placesTheWindow_data() {
        QTest::addColumn<QSize>("laidOut");
        QTest::addColumn<std::optional<QRect>>("remembered");
        QTest::addColumn<QRect>("placed");
        const QSize form(976, 594);
        QTest::newRow("centred on its screen")
            << form << std::optional<QRect>{} << QRect(472, 232, 976, 594);
        QTest::newRow("where it was left")
            << form << std::optional(QRect(100, 200, 700, 400)) << QRect(100, 200, 700, 400);
        QTest::newRow("left larger than laid out")
            << form << std::optional(QRect(50, 60, 1500, 900)) << QRect(50, 60, 1500, 900);
        QTest::newRow("left on the other screen")
            << form << std::optional(QRect(2000, 100, 976, 594)) << QRect(2000, 100, 976, 594);
        QTest::newRow("left half below the panel: moved up")
            << form << std::optional(QRect(300, 700, 976, 594)) << QRect(300, 434, 976, 594);
        QTest::newRow("left across both screens: on the one with its middle")
            << form << std::optional(QRect(1500, 100, 976, 594)) << QRect(1924, 100, 976, 594);
        QTest::newRow("left larger than its screen now")
            << form << std::optional(QRect(1930, 40, 2000, 1500)) << QRect(1924, 30, 1272, 942);
        QTest::newRow("left off every screen: centred as at a first start")
            << form << std::optional(QRect(4000, 100, 800, 500)) << QRect(472, 232, 976, 594);
        QTest::newRow("left on a screen above, now gone")
            << form << std::optional(QRect(200, -900, 800, 500)) << QRect(472, 232, 976, 594);
        // On the left screen, as if it were this much smaller: a scroll bar
        // (16 px) more across when cut in height, and down when cut across.
        QTest::newRow("laid out higher than the screen")
            << QSize(976, 1200) << std::optional<QRect>{} << QRect(464, 30, 992, 998);
        QTest::newRow("laid out wider than the screen")
            << QSize(2000, 594) << std::optional<QRect>{} << QRect(4, 224, 1912, 610);
        QTest::newRow("larger both ways")
            << QSize(2500, 1500) << std::optional<QRect>{} << QRect(4, 30, 1912, 998);
    }
    void placesTheWindow() {
        QFETCH(QSize, laidOut);
        QFETCH(std::optional<QRect>, remembered);
        QFETCH(QRect, placed);
        const QList<QRect> areas{QRect(0, 0, 1920, 1032), QRect(1920, 0, 1280, 976)};
        QCOMPARE(placeWindow(laidOut, 16, QMargins(4, 30, 4, 4), areas, areas[0], remembered),
                 placed);
    }

    // The place and size left are the ones the next window opens at, on
    // the test's 1920x1080 screen (its frame 2 px).
    void opensWhereItWasLeft_data() {
        QTest::addColumn<QRect>("left");
        QTest::addColumn<QRect>("opened");
        QTest::newRow("smaller, near the corner")
            << QRect(40, 30, 700, 400) << QRect(40, 30, 700, 400);
        QTest::newRow("larger") << QRect(100, 80, 1400, 900) << QRect(100, 80, 1400, 900);
        QTest::newRow("off the screen") << QRect(3000, 80, 700, 400) << QRect(472, 243, 976, 594);
    }
    void opensWhereItWasLeft() {
        QFETCH(QRect, left);
        QFETCH(QRect, opened);
        std::unique_ptr<MainWindow> window = shownWindow();
        QVERIFY(window);
        window->setGeometry(left);
        QCOMPARE(window->geometry(), left);
        window->close();
        window = reopened();
        QVERIFY(window);
        QCOMPARE(window->geometry(), opened);
    }

    // The "Com N" remembered is the one chosen at the start, where the list
    // has it; a disconnect goes back to Com 1, and the choice remembered
    // stays until the user chooses another.
    void startsWithTheComLastChosen_data() {
        QTest::addColumn<int>("remembered");
        QTest::addColumn<QString>("atStart");
        QTest::addColumn<int>("chosenThen"); // by the user from the keyboard; 0 for none
        QTest::addColumn<int>("rememberedAfter");
        QTest::newRow("none") << 0 << "Com 1" << 0 << 0;
        QTest::newRow("Com 7") << 7 << "Com 7" << 0 << 7;
        QTest::newRow("the last entry") << 255 << "Com 255" << 0 << 255;
        QTest::newRow("no such entry") << 256 << "Com 1" << 0 << 0;
        QTest::newRow("another chosen") << 7 << "Com 7" << 3 << 3;
    }
    void startsWithTheComLastChosen() {
        QFETCH(int, remembered);
        QFETCH(QString, atStart);
        QFETCH(int, chosenThen);
        QFETCH(int, rememberedAfter);
        saveWindowSettings({std::nullopt, remembered});
        std::unique_ptr<MainWindow> window = reopened();
        QVERIFY(window);
        QComboBox& ports = *cmbSerial(*window);
        QCOMPARE(ports.currentText(), atStart);
        QCOMPARE(QStringLiteral("Com %1").arg(window->connection().commPortNumber()), atStart);
        window->showLinkState(SessionFace::LinkState::Disconnected);
        QCOMPARE(ports.currentText(), QStringLiteral("Com 1"));
        if (chosenThen) {
            ports.setFocus();
            for (int step = 1; step < chosenThen; ++step)
                QTest::keyClick(&ports, Qt::Key_Down);
            QCOMPARE(window->connection().commPortNumber(), chosenThen);
        }
        window->close();
        QCOMPARE(loadWindowSettings().comPort, rememberedAfter);
    }
};

QTEST_MAIN(WindowFitTest)
#include "tst_window_fit.moc"
