#pragma once

#include "LinkClock.h"
#include "LinkEnvironment.h"
#include "ModemLine.h"
#include "PortBackend.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <vector>

// The line simulation: the modem model of the virtual modem, a USB adapter
// and the port under the program, all on a virtual clock. Nothing sleeps:
// a wait jumps to the next thing that happens on the line.

// Virtual time, in nanoseconds; the link's waits and the model share it.
class SimClock final : public LinkClock {
public:
    qint64 nowNs() const override { return now_; }
    void sleepMs(int ms) override { now_ += qint64(ms) * 1'000'000; }
    void advanceTo(qint64 ns) { now_ = std::max(now_, ns); }
    static ModemLine::TimePoint timePoint(qint64 ns) {
        return ModemLine::TimePoint(std::chrono::nanoseconds(ns));
    }
    static qint64 nanoseconds(ModemLine::TimePoint t) {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
    }

private:
    qint64 now_ = 1'000'000'000;
};

// How a USB serial adapter hands the modem's bytes to the host: in packets
// that close when they hold `size` bytes or `latency` after their first byte,
// and reach the host `gap` after they close. Sizes, latencies and gaps are
// drawn anew for each packet, from the ranges given.
struct AdapterTiming {
    int largestPacket = 1;    // 1 to 64 bytes; 1 with no latency and no gap is byte by byte
    int longestLatencyMs = 0; // 0 to 32
    int longestGapMs = 0;     // 0 to 50
};

class UsbAdapter {
public:
    UsbAdapter(AdapterTiming timing, quint64 seed) : timing_(timing), random_(seed) {}

    // Bytes off the wire at time ns, each with its index in the modem's stream.
    void take(const char* bytes, qsizetype count, qint64 firstIndex, qint64 ns);
    // Moves the packets that have reached the host by ns into host.
    void release(qint64 ns, QByteArray& host, std::vector<qint64>& hostIndexes);
    // When the next packet closes or reaches the host; max when none is under way.
    qint64 nextEvent() const;
    // Pulled out: what it holds is lost.
    void drop();

private:
    struct Packet {
        QByteArray bytes;
        std::vector<qint64> indexes;
        qint64 firstAt = 0;
        int size = 1;
        qint64 latencyNs = 0;
        qint64 releaseAt = 0;
    };
    void close(qint64 ns);
    int draw(int lowest, int highest);

    AdapterTiming timing_;
    std::mt19937_64 random_;
    std::optional<Packet> open_;
    std::deque<Packet> inFlight_;
    qint64 lastRelease_ = 0;
};

// A device at a path of the simulated system: a modem model, and whether a
// program holds it open.
struct SimDevice {
    explicit SimDevice(QString devicePath, qint64 nowNs)
        : path(std::move(devicePath)), line(SimClock::timePoint(nowNs)) {}
    QString path;
    ModemLine line;
    bool present = true;
    bool heldOpen = false;
    // What programs wrote to it, and when; with where the host had read up
    // to in the modem's stream when it was written, and when the reading of
    // its reply ended: the last read before the next write, not counting a
    // read of late bytes only to throw them away (a read, then at once a
    // clear of the input).
    struct Write {
        qint64 at = 0;
        QByteArray bytes;
        qint64 readAtWrite = 0;
        qint64 readAtEnd = 0;
    };
    std::vector<Write> writes;
    // Called as a program writes, before the modem has the bytes.
    std::function<void(const QByteArray&)> onWrite;
    // Where in the modem's stream of bytes the host has read up to: every
    // byte before this index has been read (or thrown away unread).
    qint64 readUpTo = 0;
    // When it vanished under a program that had it open or was opening it;
    // a vanish noticed only as the program let it go is no failure of the
    // program's command.
    std::optional<qint64> vanishedInUseAt;
};

// The devices of the simulated system, by path. A device that vanishes is
// gone from its path; another may be plugged in there.
class SimWorld {
public:
    explicit SimWorld(SimClock& clock) : clock_(clock) {}
    SimClock& clock() { return clock_; }

    std::shared_ptr<SimDevice> plug(const QString& path);
    std::shared_ptr<SimDevice> find(const QString& path) const;
    void unplug(const QString& path);
    void clear() { devices_.clear(); }

    // The adapter that stands between each port opened from now on and its device.
    void setAdapter(AdapterTiming timing, quint64 seed) {
        adapter_ = timing;
        adapterSeed_ = seed;
    }
    AdapterTiming adapter() const { return adapter_; }
    quint64 adapterSeed() const { return adapterSeed_; }
    // Called when a device vanishes from its path (another may be plugged in there).
    std::function<void(const QString& path)> onUnplugged;

    // The ports a program opens on this world, and the last one made.
    LinkEnvironment environment();
    class SimulatedPort* lastPort() const {
        return lastPort_;
    }

private:
    SimClock& clock_;
    std::map<QString, std::shared_ptr<SimDevice>> devices_;
    AdapterTiming adapter_;
    quint64 adapterSeed_ = 0;
    class SimulatedPort* lastPort_ = nullptr;
    friend class SimulatedPort;
};

// The port as the program sees it: what the adapter has handed to the host,
// and the modem model brought up to the virtual time at every look.
class SimulatedPort final : public PortBackend {
public:
    explicit SimulatedPort(SimWorld& world) : world_(world), adapter_({}, 0) {
        world_.lastPort_ = this;
    }
    ~SimulatedPort() override;

    std::optional<PortError> open(const QString& device) override;
    void close() override;
    bool isOpen() const override { return device_ != nullptr; }
    qint64 bytesWaiting() override;
    QByteArray readAll() override;
    bool write(const QByteArray& bytes) override;
    void waitForData(int ms) override;
    void clearInput() override;
    std::optional<PortError> failure() const override { return failure_; }
    void setLostHandler(std::function<void()> handler) override { lost_ = std::move(handler); }

private:
    void sync();
    void noteVanished();
    // Whether the last call read bytes, and where the reading of the last
    // write's reply had ended before that read.
    bool lastCallRead_ = false;
    qint64 readEndBeforeLastRead_ = 0;
    bool closing_ = false;

    SimWorld& world_;
    UsbAdapter adapter_;
    std::shared_ptr<SimDevice> device_;
    QByteArray host_;
    std::vector<qint64> hostIndexes_;
    std::optional<PortError> failure_;
    std::function<void()> lost_;
};
