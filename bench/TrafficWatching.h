#pragma once

// What watches the modem traffic while a benchmark runs, as chosen on its
// command line: nothing (the figures the benchmarks have always given), the
// traffic recorder alone (the program with its traffic window closed), or
// the recorder and the traffic window open on the screen, taking every row.
//   --traffic-recorder   the recorder alone
//   --traffic-window     the recorder and the window (run under xvfb-run, or
//                        with QT_QPA_PLATFORM=offscreen)
#include "ModemConnection.h"
#include "TrafficRecorder.h"
#include "TrafficWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstring>
#include <memory>

enum class Watching { Nothing, Recorder, Window };

// Takes the switch out of the arguments (so that the rest keep their places).
inline Watching takeWatching(int& argc, char** argv) {
    Watching watching = Watching::Nothing;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--traffic-recorder") == 0)
            watching = Watching::Recorder;
        else if (std::strcmp(argv[i], "--traffic-window") == 0)
            watching = Watching::Window;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return watching;
}

inline const char* watchingName(Watching watching) {
    switch (watching) {
    case Watching::Recorder:
        return "traffic recorder, window closed";
    case Watching::Window:
        return "traffic recorder and window open";
    default:
        return "no traffic watcher";
    }
}

// A window needs a QApplication; the rest does with less.
inline std::unique_ptr<QCoreApplication> benchApplication(Watching watching, int& argc,
                                                          char** argv) {
    if (watching == Watching::Window)
        return std::make_unique<QApplication>(argc, argv);
    return std::make_unique<QCoreApplication>(argc, argv);
}

// Watches a connection's traffic as chosen, for as long as it lives. It must
// go before the connection does.
class TrafficWatch {
public:
    TrafficWatch(Watching watching, ModemConnection& connection) : connection_(connection) {
        if (watching == Watching::Nothing)
            return;
        connection_.traffic().add(&recorder_);
        if (watching == Watching::Window) {
            window_ = std::make_unique<TrafficWindow>(recorder_, nullptr);
            window_->show();
            // On the screen and painted before anything is measured.
            QElapsedTimer settling;
            settling.start();
            while (settling.elapsed() < 300)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
    }
    ~TrafficWatch() {
        window_.reset();
        connection_.traffic().remove(&recorder_);
    }
    TrafficWatch(const TrafficWatch&) = delete;
    TrafficWatch& operator=(const TrafficWatch&) = delete;

private:
    ModemConnection& connection_;
    TrafficRecorder recorder_;
    std::unique_ptr<TrafficWindow> window_;
};
