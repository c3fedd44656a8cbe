#include "Fleet.h"

#include "Console.h"
#include "LinkEnvironment.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

void runFleet(const Invocation& invocation, const QList<PortChoice>& ports,
              const LinkEnvironment& environment, const std::optional<ModemConfiguration>& fromFile,
              const std::function<void(const ModemReport&)>& ended) {
    std::mutex mutex;
    std::condition_variable reported;
    std::deque<ModemReport> done;
    std::vector<std::thread> workers;
    workers.reserve(size_t(ports.size()));
    for (const PortChoice& port : ports) {
        workers.emplace_back([&, port] {
            // What a modem says goes into its report, not onto the streams,
            // where eight modems would speak at once.
            Console silent(nullptr, nullptr);
            ModemReport report = runOnModem(invocation, port, silent, environment, fromFile);
            const std::lock_guard lock(mutex);
            done.push_back(std::move(report));
            reported.notify_one();
        });
    }
    for (qsizetype handed = 0; handed < ports.size(); ++handed) {
        std::unique_lock lock(mutex);
        reported.wait(lock, [&] { return !done.empty(); });
        ModemReport report = std::move(done.front());
        done.pop_front();
        lock.unlock();
        ended(report);
    }
    for (std::thread& worker : workers)
        worker.join();
}
