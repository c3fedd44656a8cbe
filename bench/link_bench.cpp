// What a silent modem costs: the CPU time the process uses during a silent
// 2 s exchange, and how long after its time-out a silent exchange ends.
// Prints the figures; a program, not a test.
// Usage: link_bench [runs] [--traffic-recorder | --traffic-window] (TrafficWatching.h)
#include "AtExchange.h"
#include "ModemConnection.h"
#include "OperationObserver.h"
#include "TrafficWatching.h"
#include "VirtualModem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

class SilentView : public OperationObserver {
public:
    void setStatusText(const QString&) override {}
    void showModemError(const QString&) override {}
};

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

const QStringList markers{"AT", "OK"};

} // namespace

int main(int argc, char** argv) {
    const Watching watching = takeWatching(argc, argv);
    const auto app = benchApplication(watching, argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the link goes to a folder of its own
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;

    VirtualModem modem;
    modem.setSilent(true);

    ModemConnection connection;
    const TrafficWatch watch(watching, connection);
    std::printf("%s\n", watchingName(watching));
    if (const auto error = connection.attach(modem.devicePath())) {
        std::fprintf(stderr, "cannot open the virtual modem: %s\n", qPrintable(error->reason));
        return 1;
    }
    SilentView view;

    // CPU during one silent 2 s exchange of the factory-default kind.
    const double processBefore = cpuSeconds(RUSAGE_SELF);
    const double threadBefore = cpuSeconds(RUSAGE_THREAD);
    runAtExchange(connection, view, {"AT&F", 2000, CompletionRule::FinalResult, true, markers});
    const double wall = connection.sinceSendNs() / 1e9;
    const double process = cpuSeconds(RUSAGE_SELF) - processBefore;
    const double thread = cpuSeconds(RUSAGE_THREAD) - threadBefore;
    std::printf("silent 2 s exchange: %.3f s wall, CPU %.1f ms process (%.2f%% of a core), "
                "%.1f ms exchange thread (%.2f%%)\n",
                wall, process * 1e3, 100 * process / wall, thread * 1e3, 100 * thread / wall);

    // How late silent exchanges end, with and without pumping.
    const struct {
        const char* name;
        CompletionRule rule;
        bool pump;
        int timeoutMs;
    } kinds[] = {
        {"connection check (length, no pumping, 1.5 s)", CompletionRule::Length, false, 1500},
        {"factory default (final result, pumping, 2 s)", CompletionRule::FinalResult, true, 2000}};
    for (const auto& kind : kinds) {
        std::vector<double> lateMs;
        for (int i = 0; i < runs; ++i) {
            runAtExchange(connection, view, {"AT", kind.timeoutMs, kind.rule, kind.pump, markers});
            lateMs.push_back(connection.sinceSendNs() / 1e6 - kind.timeoutMs);
        }
        std::sort(lateMs.begin(), lateMs.end());
        std::printf(
            "%s: ends after its time-out by median %.3f ms, min %.3f, max %.3f (%zu runs)\n",
            kind.name, lateMs[lateMs.size() / 2], lateMs.front(), lateMs.back(), lateMs.size());
    }
    return 0;
}
