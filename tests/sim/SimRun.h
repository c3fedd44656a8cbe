#pragma once

#include "Schedule.h"

#include <QStringList>

#include <memory>
#include <vector>

// One simulated run of a schedule, with every property checked:
// - a read is either whole and right, or reported incomplete: never silently
//   partial (a damaged value inside a listing line may be read as it came);
// - a step shown as confirmed was confirmed by its own reply (its echo or its
//   own "OK" came before its collection ended), and a step whose own reply
//   was an error, come in time, is shown failed;
// - read, then Set, leaves the modem's store exactly as it was;
// - what the user edited goes on the wire exactly;
// - nothing is written after the window was closed;
// - nothing reaches a device that took the place of the one that vanished;
// - every operation ends within the sum of its time-outs;
// - a lost device leaves a window that says so and can connect again;
// - tavek-cli's commands keep what their exit codes say (SimCliFlow.h).
struct SimOutcome {
    QStringList violations; // empty when every property held
    // The exchange on the virtual clock: what was sent (→), received (←) and
    // what happened (·), kept raw and made into text only when reported.
    struct Row {
        qint64 ns;
        QChar marker;
        QString text;
    };
    std::vector<Row> traffic;
    QStringList trafficRows() const;
};

// Runs schedules one after another on one virtual clock. The window flows
// reuse one main window, as a technician would, disconnecting between runs;
// tavek-cli runs in-process, its files in a folder of the runner's own.
class SimRunner {
public:
    SimRunner();
    ~SimRunner();
    SimRunner(const SimRunner&) = delete;
    SimRunner& operator=(const SimRunner&) = delete;

    SimOutcome run(const Schedule& schedule);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
