#include "Fleet.h"

#include "Console.h"
#include "LinkEnvironment.h"

#include <QThread>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

void runFleet(const Invocation& invocation, const QList<PortChoice>& ports,
              const LinkEnvironment& environment, const std::optional<ModemConfiguration>& fromFile,
              const std::function<void(const ModemReport&)>& ended) {
    std::mutex mutex;
    std::condition_variable reported;
    std::deque<ModemReport> done;
    // Qt's threads: a serial port watches its device with socket notifiers,
    // which only a QThread may own.
    std::vector<std::unique_ptr<QThread>> workers;
    workers.reserve(size_t(ports.size()));
    for (const PortChoice& port : ports) {
        workers.emplace_back(QThread::create([&, port] {
            // What a modem says goes into its report, not onto the streams,
            // where eight modems would speak at once.
            Console silent(nullptr, nullptr);
            ModemReport report = runOnModem(invocation, port, silent, environment, fromFile);
            const std::lock_guard lock(mutex);
            done.push_back(std::move(report));
            reported.notify_one();
        }));
        workers.back()->start();
    }
    for (qsizetype handed = 0; handed < ports.size(); ++handed) {
        std::unique_lock lock(mutex);
        reported.wait(lock, [&] { return !done.empty(); });
        ModemReport report = std::move(done.front());
        done.pop_front();
        lock.unlock();
        ended(report);
    }
    for (const std::unique_ptr<QThread>& worker : workers)
        worker->wait();
}
