// Tavek's main window as it opens on the screen that the environment gives
// (Qt's offscreen platform with a screen from a configuration file, the
// scale from QT_SCALE_FACTOR), nothing remembered from an earlier start.
// Prints what tst_window_fit checks, one rectangle a line, in the window's
// logical pixels: "NAME x y width height".
#include "MainToolbar.h"
#include "MainWindow.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTextStream>
#include <QToolButton>

namespace {
void print(QTextStream& out, const char* name, QRect rect) {
    out << name << ' ' << rect.x() << ' ' << rect.y() << ' ' << rect.width() << ' ' << rect.height()
        << '\n';
}
QRect inWindow(const QWidget& widget, const MainWindow& window) {
    return QRect(widget.mapTo(&window, QPoint()), widget.size());
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    saveWindowSettings({});
    MainWindow window;
    // The frames open, as while a modem's configuration is read, so that
    // their controls can take the focus.
    window.showLinkState(SessionFace::LinkState::Reading);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;

    QTextStream out(stdout);
    print(out, "available", window.screen()->availableGeometry());
    print(out, "frame", window.frameGeometry());
    print(out, "window", window.geometry());
    const QScrollArea& scroller = *window.scrollArea();
    print(out, "content", QRect(QPoint(), scroller.widget()->size()));
    print(out, "viewport", QRect(QPoint(), scroller.viewport()->size()));
    print(out, "scrolls",
          QRect(0, 0, scroller.horizontalScrollBar()->maximum(),
                scroller.verticalScrollBar()->maximum()));
    print(out, "toolbar", inWindow(*window.toolbar(), window));
    print(out, "status", inWindow(*window.statusLine(), window));
    // The control furthest down and right, once the focus is on it.
    auto* last = window.findChild<QToolButton*>(QStringLiteral("cmdSetNumbers"));
    last->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    print(out, "focused", QRect(last->mapTo(scroller.viewport(), QPoint()), last->size()));
    return 0;
}
