#include "SimulatedLine.h"

#include <algorithm>
#include <limits>

namespace {

constexpr qint64 nsPerMs = 1'000'000;
constexpr qint64 never = std::numeric_limits<qint64>::max();

// The program's end of the line while it has the device open: bytes go to
// the adapter, stamped with the time they come off the wire.
class AdapterSide final : public ModemLine::ProgramSide {
public:
    AdapterSide(UsbAdapter& adapter, const ModemLine& line) : adapter_(adapter), line_(line) {}
    qint64 at = 0;
    bool takesBytes() override { return true; }
    qsizetype hand(const char* bytes, qsizetype count) override {
        adapter_.take(bytes, count, line_.handedCount(), at);
        return count;
    }

private:
    UsbAdapter& adapter_;
    const ModemLine& line_;
};

// Nobody has the device open: what the modem sends is lost.
class NobodyListening final : public ModemLine::ProgramSide {
public:
    bool takesBytes() override { return false; }
    qsizetype hand(const char*, qsizetype) override { return 0; }
};

// Brings the model up to now, event by event, so that each batch of bytes
// is handed over at its own time. False when the device vanished.
bool advanceModel(ModemLine& line, qint64 now, AdapterSide* side) {
    NobodyListening nobody;
    for (;;) {
        const qint64 next =
            std::min(now, SimClock::nanoseconds(line.nextDue(SimClock::timePoint(now))));
        if (side)
            side->at = next;
        line.advance(SimClock::timePoint(next),
                     side ? static_cast<ModemLine::ProgramSide&>(*side) : nobody);
        if (line.vanishPending())
            return false;
        if (next >= now)
            return true;
    }
}

} // namespace

int UsbAdapter::draw(int lowest, int highest) {
    if (highest <= lowest)
        return lowest;
    return std::uniform_int_distribution<int>(lowest, highest)(random_);
}

void UsbAdapter::take(const char* bytes, qsizetype count, qint64 firstIndex, qint64 ns) {
    for (qsizetype i = 0; i < count; ++i) {
        if (open_ && open_->firstAt + open_->latencyNs < ns)
            close(open_->firstAt + open_->latencyNs);
        if (!open_) {
            open_ = Packet{};
            open_->firstAt = ns;
            open_->size = draw(1, std::clamp(timing_.largestPacket, 1, 64));
            open_->latencyNs = draw(0, timing_.longestLatencyMs) * nsPerMs;
        }
        open_->bytes += bytes[i];
        open_->indexes.push_back(firstIndex + i);
        if (open_->bytes.size() >= open_->size)
            close(ns);
    }
}

void UsbAdapter::close(qint64 ns) {
    Packet packet = std::move(*open_);
    open_.reset();
    packet.releaseAt = std::max(lastRelease_, ns + draw(0, timing_.longestGapMs) * nsPerMs);
    lastRelease_ = packet.releaseAt;
    inFlight_.push_back(std::move(packet));
}

void UsbAdapter::release(qint64 ns, QByteArray& host, std::vector<qint64>& hostIndexes) {
    if (open_ && open_->firstAt + open_->latencyNs <= ns)
        close(open_->firstAt + open_->latencyNs);
    while (!inFlight_.empty() && inFlight_.front().releaseAt <= ns) {
        host += inFlight_.front().bytes;
        hostIndexes.insert(hostIndexes.end(), inFlight_.front().indexes.begin(),
                           inFlight_.front().indexes.end());
        inFlight_.pop_front();
    }
}

qint64 UsbAdapter::nextEvent() const {
    qint64 next = never;
    if (open_)
        next = open_->firstAt + open_->latencyNs;
    if (!inFlight_.empty())
        next = std::min(next, inFlight_.front().releaseAt);
    return next;
}

void UsbAdapter::drop() {
    open_.reset();
    inFlight_.clear();
}

std::shared_ptr<SimDevice> SimWorld::plug(const QString& path) {
    auto device = std::make_shared<SimDevice>(path, clock_.nowNs());
    devices_[path] = device;
    return device;
}

std::shared_ptr<SimDevice> SimWorld::find(const QString& path) const {
    const auto found = devices_.find(path);
    return found == devices_.end() ? nullptr : found->second;
}

void SimWorld::unplug(const QString& path) {
    const auto device = find(path);
    if (!device)
        return;
    device->present = false;
    devices_.erase(path);
    if (onUnplugged)
        onUnplugged(path);
}

LinkEnvironment SimWorld::environment() {
    // The simulated system lists no serial ports of its own: its modem is
    // reached by its path.
    return {&clock_, [this] { return std::make_unique<SimulatedPort>(*this); },
            [] { return QStringList(); }};
}

SimulatedPort::~SimulatedPort() {
    close();
    if (world_.lastPort_ == this)
        world_.lastPort_ = nullptr;
}

std::optional<PortError> SimulatedPort::open(const QString& path) {
    if (device_)
        return std::nullopt;
    const auto device = world_.find(path);
    if (!device || !device->present)
        return PortError{PortNotValidError, path, QStringLiteral("No such file or directory")};
    if (device->heldOpen)
        return PortError{PortInUseError, path, QStringLiteral("Device or resource busy")};
    // What the modem sent while nobody had it open is lost.
    if (!advanceModel(device->line, world_.clock().nowNs(), nullptr)) {
        device->vanishedInUseAt = world_.clock().nowNs();
        world_.unplug(path);
        return PortError{PortNotValidError, path, QStringLiteral("No such file or directory")};
    }
    device->heldOpen = true;
    device_ = device;
    failure_.reset();
    adapter_ =
        UsbAdapter(world_.adapter(), world_.adapterSeed() + quint64(device->line.handedCount()));
    host_.clear();
    hostIndexes_.clear();
    device->readUpTo = device->line.handedCount();
    return std::nullopt;
}

void SimulatedPort::close() {
    if (!device_)
        return;
    closing_ = true;
    sync();
    closing_ = false;
    device_->heldOpen = false;
    device_.reset();
    adapter_.drop();
    host_.clear();
    hostIndexes_.clear();
}

void SimulatedPort::sync() {
    if (!device_)
        return;
    const qint64 now = world_.clock().nowNs();
    if (!failure_) {
        AdapterSide side(adapter_, device_->line);
        if (!advanceModel(device_->line, now, &side))
            noteVanished();
    }
    adapter_.release(now, host_, hostIndexes_);
}

// As a USB adapter pulled out: its path goes, what it still held is lost,
// what reached the host stays readable, and the port reports the loss.
void SimulatedPort::noteVanished() {
    device_->heldOpen = false;
    if (!closing_)
        device_->vanishedInUseAt = world_.clock().nowNs();
    adapter_.drop();
    world_.unplug(device_->path);
    PortError lost;
    lost.device = device_->path;
    lost.reason = QStringLiteral("Input/output error");
    lost.lost = true;
    failure_ = lost;
    if (lost_)
        lost_();
}

qint64 SimulatedPort::bytesWaiting() {
    lastCallRead_ = false;
    sync();
    return host_.size();
}

QByteArray SimulatedPort::readAll() {
    sync();
    QByteArray bytes;
    std::swap(bytes, host_);
    if (!hostIndexes_.empty())
        device_->readUpTo = hostIndexes_.back() + 1;
    hostIndexes_.clear();
    if (device_ && !device_->writes.empty()) {
        readEndBeforeLastRead_ = device_->writes.back().readAtEnd;
        device_->writes.back().readAtEnd = device_->readUpTo;
        lastCallRead_ = true;
    }
    return bytes;
}

bool SimulatedPort::write(const QByteArray& bytes) {
    sync();
    lastCallRead_ = false;
    if (!device_ || failure_)
        return false;
    if (device_->onWrite)
        device_->onWrite(bytes);
    device_->writes.push_back(
        {world_.clock().nowNs(), bytes, device_->readUpTo, device_->readUpTo});
    device_->line.takeFromProgram(bytes, SimClock::timePoint(world_.clock().nowNs()));
    return true;
}

void SimulatedPort::waitForData(int ms) {
    lastCallRead_ = false;
    sync();
    if (!device_ || failure_ || !host_.isEmpty())
        return;
    SimClock& clock = world_.clock();
    const qint64 deadline = clock.nowNs() + qint64(ms) * nsPerMs;
    for (;;) {
        const qint64 now = clock.nowNs();
        qint64 next =
            std::min(SimClock::nanoseconds(device_->line.nextDue(SimClock::timePoint(deadline))),
                     adapter_.nextEvent());
        next = std::clamp(next, now + 1, deadline);
        clock.advanceTo(next);
        sync();
        if (failure_ || !host_.isEmpty() || next >= deadline)
            return;
    }
}

void SimulatedPort::clearInput() {
    // Late bytes read only to be thrown away were no part of the reply.
    if (lastCallRead_ && device_ && !device_->writes.empty())
        device_->writes.back().readAtEnd = readEndBeforeLastRead_;
    lastCallRead_ = false;
    sync();
    if (!hostIndexes_.empty())
        device_->readUpTo = hostIndexes_.back() + 1;
    host_.clear();
    hostIndexes_.clear();
}
