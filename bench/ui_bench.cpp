// ui_bench: how soon the main window is shown after the program starts, and
// the peak resident memory through a connect and the reads that follow it.
// Runs the program's own start-up (splash, then the main window at 1.8 s)
// and connects to a virtual modem linked in a test ports folder.
// Run it under xvfb-run for the figures of a real display.
#include "MainToolbar.h"
#include "MainWindow.h"
#include "PortsFolderLink.h"
#include "Preloader.h"
#include "VirtualModem.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {
// Seconds since this process was started, from /proc (10 ms resolution), so
// that loading the libraries counts too.
double secondsSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray statText = stat.readAll();
    // Field 22, counted after the command name in parentheses.
    const QList<QByteArray> fields = statText.mid(statText.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    const double now = uptime.readAll().split(' ').value(0).toDouble();
    return now - startTicks / double(sysconf(_SC_CLK_TCK));
}

// A line of /proc/self/status in kB, e.g. "VmHWM".
long statusKilobytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}
} // namespace

// Notes the moment a window first paints: it is on the screen then.
class FirstPaint : public QObject {
public:
    std::function<void()> onPaint;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && onPaint) {
            onPaint();
            onPaint = nullptr;
        }
        return QObject::eventFilter(watched, event);
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);

    std::unique_ptr<MainWindow> main;
    FirstPaint firstPaint;
    double shownAfter = -1;
    const double splashAt = secondsSinceProcessStart();
    QElapsedTimer sinceSplash;
    sinceSplash.start();
    qint64 tickAt = 0, builtAt = 0, paintedAt = 0;
    auto* splash = new Preloader([&] {
        tickAt = sinceSplash.elapsed();
        main = std::make_unique<MainWindow>();
        builtAt = sinceSplash.elapsed();
        firstPaint.onPaint = [&] {
            paintedAt = sinceSplash.elapsed();
            shownAfter = secondsSinceProcessStart();
            app.exit();
        };
        main->installEventFilter(&firstPaint);
        main->show();
    });
    splash->show();
    app.exec();
    if (!main)
        return 1;
    std::printf("main window shown after     %.2f s from process start (goal: within 1.9 s)\n",
                shownAfter);
    std::printf("  splash made at %.2f s; its last tick at %lld ms, the window built in %lld ms "
                "and painting %lld ms later\n",
                splashAt, static_cast<long long>(tickAt), static_cast<long long>(builtAt - tickAt),
                static_cast<long long>(paintedAt - builtAt));
    std::printf("resident after start-up     %.1f MB\n", statusKilobytes("VmRSS") / 1024.0);

    VirtualModem modem;
    PortsFolderLink link(modem.devicePath());
    if (!link.isLinked()) {
        std::fprintf(stderr, "cannot link the virtual modem: %s\n", qPrintable(link.errorString()));
        return 1;
    }
    main->dialogs().modemError = [](const QString& text) {
        std::fprintf(stderr, "modem error: %s\n", qPrintable(text));
    };
    main->toolbar()->cmbSerial()->setCurrentIndex(link.number() - 1);
    QElapsedTimer connecting;
    connecting.start();
    main->toolbar()->action(QStringLiteral("connection"))->trigger();
    const qint64 connectMs = connecting.elapsed();
    if (!main->connection().modemConnected)
        return 1;
    std::printf("connect and read took       %lld ms\n", static_cast<long long>(connectMs));
    std::printf("peak resident (VmHWM)       %.1f MB (goal: under 60 MB)\n",
                statusKilobytes("VmHWM") / 1024.0);
    return 0;
}
