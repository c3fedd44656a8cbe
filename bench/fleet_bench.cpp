// What eight modems at once cost against one: tavek-cli, the built program,
// writes the full configuration (FullConfiguration.h) to one virtual modem,
// then to eight with --port given eight times. Each modem is on a pty of its
// own at 9600 bit/s in a USB adapter's 16 ms bursts, each on its own thread
// of this process, so the CPU time of the tavek-cli process (from wait4) is
// the program's alone.
//
// Prints medians: the time ratio (goal: at most 1.1) and the CPU that each
// modem costs while it waits, as CPU time / wall time / modems (goal: at
// most 2% of a core). A program, not a test.
// Usage: fleet_bench [runs]   (default 3)
#include "ConfigFile.h"
#include "FullConfiguration.h"
#include "VirtualModem.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr int FleetSize = 8;

struct Run {
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

double seconds(const timeval& t) {
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

// tavek-cli with these arguments, started and waited for.
Run runProgram(const QStringList& arguments) {
    std::vector<QByteArray> texts{QByteArray(TAVEK_CLI_PROGRAM)};
    for (const QString& argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, TAVEK_CLI_PROGRAM, nullptr, nullptr, argv.data(), environ) != 0)
        qFatal("cannot start %s", TAVEK_CLI_PROGRAM);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        qFatal("lost %s", TAVEK_CLI_PROGRAM);
    Run run{double(timer.nsecsElapsed()) / 1e9, seconds(usage.ru_utime) + seconds(usage.ru_stime)};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "  (tavek-cli ended with %d: not every modem was written)\n",
                     WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return run;
}

Run median(std::vector<Run> runs) {
    std::vector<double> walls, cpus;
    for (const Run& run : runs) {
        walls.push_back(run.wallSeconds);
        cpus.push_back(run.cpuSeconds / run.wallSeconds);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    // The CPU as a share of the wall time, median of the shares.
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

} // namespace

int main(int argc, char** argv) {
    // A home of its own, which tavek-cli inherits: its ports folder holds
    // the eight links and nothing else.
    QTemporaryDir home;
    const QString file = homeWithFullConfiguration(home);
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    std::vector<std::unique_ptr<VirtualModem>> modems;
    QStringList fleetPorts;
    for (int i = 0; i < FleetSize; ++i) {
        auto& modem = modems.emplace_back(std::make_unique<VirtualModem>());
        modem->setUsbLatencyMs(16);
        fillModem(*modem);
        const int com = modem->linkAs();
        if (com <= 0)
            qFatal("cannot link a virtual modem: %s", qPrintable(modem->linkError()));
        fleetPorts << QStringLiteral("--port") << QStringLiteral("com%1").arg(com);
    }
    const QStringList write{QStringLiteral("--quiet"), QStringLiteral("write"), file};

    // One, then eight, by turns, so that a busy moment of the machine falls
    // on both alike.
    std::vector<Run> alone, fleet;
    for (int i = 0; i < runs; ++i) {
        alone.push_back(runProgram(fleetPorts.mid(0, 2) + write));
        fleet.push_back(runProgram(fleetPorts + write));
        std::printf("run %d: one modem %.3f s (CPU %.3f s), eight %.3f s (CPU %.3f s)\n", i + 1,
                    alone.back().wallSeconds, alone.back().cpuSeconds, fleet.back().wallSeconds,
                    fleet.back().cpuSeconds);
    }
    const Run one = median(alone), eight = median(fleet);
    std::printf("tavek-cli write, 9600 bit/s in 16 ms USB bursts, median of %d:\n", runs);
    std::printf("  one modem      %6.3f s, CPU %.2f%% of a core\n", one.wallSeconds,
                100 * one.cpuSeconds);
    std::printf("  eight at once  %6.3f s, CPU %.2f%% of a core: %.2f%% a modem (goal: at most "
                "2%%)\n",
                eight.wallSeconds, 100 * eight.cpuSeconds, 100 * eight.cpuSeconds / FleetSize);
    std::printf("  ratio          %.3f (goal: at most 1.1)\n", eight.wallSeconds / one.wallSeconds);
    return 0;
}
