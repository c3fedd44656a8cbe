#include "VirtualModem.h"

#include "PortsFolderLink.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = VirtualModem::Clock;
using TimePoint = Clock::time_point;
using std::chrono::milliseconds;

constexpr int idlePollMs = 100; // the thread also wakes through its pipe; this is a safety net
constexpr int handOverLimitMs = 2000; // a vanishing modem waits so long for its bytes to be read

// How many descriptors of all processes refer to the device, less the modem's
// own slave; -1 when /proc cannot tell.
int countOpens(const QByteArray& device, int ownSlave) {
    DIR* processes = ::opendir("/proc");
    if (!processes)
        return -1;
    const QByteArray ownSlaveEntry =
        "/proc/" + QByteArray::number(::getpid()) + "/fd/" + QByteArray::number(ownSlave);
    int opens = 0;
    while (const dirent* process = ::readdir(processes)) {
        if (process->d_name[0] < '0' || process->d_name[0] > '9')
            continue;
        const QByteArray fdFolder = QByteArray("/proc/") + process->d_name + "/fd";
        DIR* fds = ::opendir(fdFolder.constData());
        if (!fds)
            continue;
        while (const dirent* fd = ::readdir(fds)) {
            char target[256];
            const QByteArray entry = fdFolder + '/' + fd->d_name;
            const ssize_t length = ::readlink(entry.constData(), target, sizeof target);
            if (length == device.size() && device == QByteArray(target, length) &&
                entry != ownSlaveEntry)
                ++opens;
        }
        ::closedir(fds);
    }
    ::closedir(processes);
    return opens;
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

struct VirtualModem::Impl {
    // Shared with the callers, guarded by mutex.
    mutable std::mutex mutex;
    mutable std::condition_variable changed; // a line arrived, the program opened or closed the
                                             // device, or the modem vanished or came back
    ModemLine line{Clock::now()};
    QString device;                  // cleared first when the modem vanishes
    bool ptyOpen = false;            // the descriptors are open
    int programOpens = 0;            // opens of the device by the program, less its closes
    bool opensCheckedByProc = false; // /proc found no open and no event came since
    bool hangUpWanted = false;
    bool comeBackWanted = false;
    std::unique_ptr<PortsFolderLink> link;
    int linkNumber = 0;
    QString linkErrorText;

    // Owned by the modem thread once it runs.
    int master = -1;
    int slave = -1;     // held open so the master never sees a hang-up between the program's opens
    int openWatch = -1; // inotify on the device: tells when the program opens and closes it
    int wakeRead = -1;
    int wakeWrite = -1;
    std::atomic<bool> stopping{false};
    std::thread thread;

    // The program's end of the pty, as the model sees it. Called with the mutex held.
    struct PtySide final : ModemLine::ProgramSide {
        Impl& impl;
        explicit PtySide(Impl& i) : impl(i) {}
        bool takesBytes() override { return impl.portTakesBytes(); }
        qsizetype hand(const char* bytes, qsizetype count) override {
            const ssize_t written = ::write(impl.master, bytes, size_t(count));
            return written < 0 ? 0 : qsizetype(written); // full (EAGAIN) or failing
        }
    } side{*this};

    ~Impl();
    bool openPty();
    void run();
    void wake() const;
    void waitForInput(TimePoint deadline, bool writeBlocked);
    void readInput();
    void readOpenEvents();
    void takeOpenEvents(); // mutex held
    void setProgramOpens(int opens);
    bool portTakesBytes(); // mutex held
    int unread() const;
    void waitUntilTaken();
    void vanish(bool keepDelivered);
    void comeBack();
};

VirtualModem::Impl::~Impl() {
    closeFd(master);
    closeFd(slave);
    closeFd(openWatch);
    closeFd(wakeRead);
    closeFd(wakeWrite);
}

bool VirtualModem::Impl::openPty() {
    // Raw on the slave: no echo by the line discipline and no CR/LF translation,
    // as on a real serial line.
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    int newMaster = -1;
    int newSlave = -1;
    if (::openpty(&newMaster, &newSlave, nullptr, &raw, nullptr) != 0)
        return false;
    char name[128] = {};
    if (::ptsname_r(newMaster, name, sizeof name) != 0) {
        closeFd(newMaster);
        closeFd(newSlave);
        return false;
    }
    ::fcntl(newMaster, F_SETFD, FD_CLOEXEC);
    ::fcntl(newSlave, F_SETFD, FD_CLOEXEC);
    ::fcntl(newMaster, F_SETFL, ::fcntl(newMaster, F_GETFL) | O_NONBLOCK);
    master = newMaster;
    slave = newSlave;

    // A serial port that nobody has open receives nothing: the modem follows
    // the program's opens and closes of the device to drop what it sends then.
    // Without inotify (its limits reached) the modem takes the port as always open.
    openWatch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (openWatch >= 0 && ::inotify_add_watch(openWatch, name, IN_OPEN | IN_CLOSE) < 0)
        closeFd(openWatch);

    std::lock_guard lock(mutex);
    opensCheckedByProc = false;
    line.resetLine();
    device = QString::fromLocal8Bit(name);
    ptyOpen = true;
    programOpens = openWatch < 0 ? 1 : 0;
    return true;
}

void VirtualModem::Impl::run() {
    while (!stopping) {
        {
            std::unique_lock lock(mutex);
            if (hangUpWanted) {
                lock.unlock();
                vanish(false);
                continue;
            }
            if (comeBackWanted) {
                lock.unlock();
                comeBack();
                continue;
            }
        }
        if (master < 0) {
            pollfd wakeUp{wakeRead, POLLIN, 0};
            if (::poll(&wakeUp, 1, idlePollMs) > 0)
                waitForInput(Clock::now(), false); // drains the pipe
            continue;
        }
        TimePoint next;
        bool writeBlocked;
        {
            std::unique_lock lock(mutex);
            const TimePoint now = Clock::now();
            line.advance(now, side);
            changed.notify_all();
            if (line.vanishPending()) {
                lock.unlock();
                vanish(true);
                continue;
            }
            next = line.nextDue(now + milliseconds(idlePollMs));
            writeBlocked = line.programSideBlocked(); // bytes due that the pty did not take
        }
        waitForInput(next, writeBlocked);
    }
}

void VirtualModem::Impl::wake() const {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeWrite, &byte, 1);
}

// Sleeps until the deadline or until the program sends, opens or closes, or a
// caller wakes the thread. Opens and closes are taken first: they happened
// before the bytes.
void VirtualModem::Impl::waitForInput(TimePoint deadline, bool writeBlocked) {
    const auto left = std::max(Clock::duration::zero(), deadline - Clock::now());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    const timespec timeout{time_t(seconds.count()),
                           long(std::chrono::nanoseconds(left - seconds).count())};
    pollfd fds[3] = {{wakeRead, POLLIN, 0},
                     {openWatch, POLLIN, 0},
                     {master, short(POLLIN | (writeBlocked ? POLLOUT : 0)), 0}};
    // A negative descriptor is skipped by ppoll.
    if (::ppoll(fds, 3, &timeout, nullptr) <= 0)
        return;
    if (fds[0].revents & POLLIN) {
        char drain[64];
        while (::read(wakeRead, drain, sizeof drain) > 0) {
        }
    }
    if (fds[1].revents & POLLIN)
        readOpenEvents();
    if (fds[2].revents & POLLIN)
        readInput();
    if (fds[2].revents & POLLOUT) {
        std::lock_guard lock(mutex);
        line.programSideReady();
    }
}

void VirtualModem::Impl::readOpenEvents() {
    std::lock_guard lock(mutex);
    takeOpenEvents();
}

// Follows the events in order, so that a close followed at once by a new open
// still drops what the first session left unread.
void VirtualModem::Impl::takeOpenEvents() {
    if (openWatch < 0)
        return;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(openWatch, buffer, sizeof buffer);
        if (got <= 0)
            return;
        opensCheckedByProc = false;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & IN_OPEN)
                ++programOpens;
            if (event->mask & IN_CLOSE)
                setProgramOpens(std::max(0, programOpens - 1));
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
        changed.notify_all();
    }
}

// What the program left unread goes with its last close, as on a real port.
void VirtualModem::Impl::setProgramOpens(int opens) {
    programOpens = opens;
    if (opens == 0 && slave >= 0)
        ::tcflush(slave, TCIFLUSH);
}

// The pty gives the program's bytes at once; the model paces them.
void VirtualModem::Impl::readInput() {
    char buffer[512];
    ssize_t got;
    while ((got = ::read(master, buffer, sizeof buffer)) > 0) {
        std::lock_guard lock(mutex);
        line.takeFromProgram(QByteArrayView(buffer, got), Clock::now());
    }
}

// The kernel folds two opens in a row into one event, so the count can fall
// short; /proc decides before bytes are thrown away, once for each turn of
// the events.
bool VirtualModem::Impl::portTakesBytes() {
    if (programOpens > 0)
        return true;
    takeOpenEvents();
    if (programOpens == 0 && !opensCheckedByProc) {
        programOpens = std::max(0, countOpens(device.toLocal8Bit(), slave));
        opensCheckedByProc = true;
    }
    return programOpens > 0;
}

// How many bytes the program has yet to read. The pty moves what the master
// writes into the slave's queue on a kernel worker; polling the slave waits
// for that worker, so that the count then holds every byte written.
int VirtualModem::Impl::unread() const {
    pollfd flush{slave, POLLIN, 0};
    ::poll(&flush, 1, 0);
    int waiting = 0;
    return ::ioctl(slave, FIONREAD, &waiting) == 0 ? waiting : 0;
}

// A pty discards what the program has not read yet when it is closed; a modem
// pulled out does not take back the bytes it has already sent. So vanishing
// waits until the program has read them (or has taken too long).
void VirtualModem::Impl::waitUntilTaken() {
    const TimePoint giveUp = Clock::now() + milliseconds(handOverLimitMs);
    while (!stopping && unread() > 0 && Clock::now() < giveUp) {
        pollfd fds[2] = {{wakeRead, POLLIN, 0}, {openWatch, POLLIN, 0}};
        if (::poll(fds, 2, 2) <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            char drain[64];
            while (::read(wakeRead, drain, sizeof drain) > 0) {
            }
        }
        if (fds[1].revents & POLLIN)
            readOpenEvents(); // a close drops what is unread
    }
}

// As a USB adapter pulled out: the system takes its name away first, then the
// line is gone. The device path is cleared before the descriptors close, so a
// program that sees the hang-up finds the modem gone.
void VirtualModem::Impl::vanish(bool keepDelivered) {
    {
        std::lock_guard lock(mutex);
        link.reset();
    }
    if (keepDelivered)
        waitUntilTaken();
    {
        std::lock_guard lock(mutex);
        device.clear();
        programOpens = 0;
        changed.notify_all();
    }
    closeFd(master);
    closeFd(slave);
    closeFd(openWatch);
    std::lock_guard lock(mutex);
    line.resetLine();
    ptyOpen = false;
    hangUpWanted = false;
    changed.notify_all();
}

// Plugged in again: a new pty, and the same "Com N" pointing at it.
void VirtualModem::Impl::comeBack() {
    const bool opened = openPty();
    std::lock_guard lock(mutex);
    comeBackWanted = false;
    if (opened && linkNumber > 0) {
        auto made = std::make_unique<PortsFolderLink>(device, linkNumber);
        if (made->isLinked())
            link = std::move(made);
        else
            linkErrorText = made->errorString();
    }
    changed.notify_all();
}

VirtualModem::VirtualModem() : d(std::make_unique<Impl>()) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("VirtualModem: pipe failed");
    d->wakeRead = pipeFds[0];
    d->wakeWrite = pipeFds[1];
    if (!d->openPty())
        throw std::runtime_error("VirtualModem: openpty failed");
    d->thread = std::thread([impl = d.get()] { impl->run(); });
}

VirtualModem::~VirtualModem() {
    d->stopping = true;
    d->wake();
    d->thread.join();
    std::lock_guard lock(d->mutex);
    d->link.reset(); // the link before the line, as in vanishing
}

QString VirtualModem::devicePath() const {
    std::lock_guard lock(d->mutex);
    return d->device;
}

// Each knob of the model, under the lock, and the thread woken to act on it.
#define TAVEK_MODEM_KNOB(name, type)                                                               \
    void VirtualModem::name(type value) {                                                          \
        std::lock_guard lock(d->mutex);                                                            \
        d->line.name(value);                                                                       \
        d->wake();                                                                                 \
    }
TAVEK_MODEM_KNOB(setInstant, bool)
TAVEK_MODEM_KNOB(setUsbLatencyMs, int)
TAVEK_MODEM_KNOB(setProcessingMs, int)
TAVEK_MODEM_KNOB(setLateResultMs, int)
TAVEK_MODEM_KNOB(setEcho, bool)
TAVEK_MODEM_KNOB(setEchoLineFeed, bool)
TAVEK_MODEM_KNOB(setSilent, bool)
TAVEK_MODEM_KNOB(setLowerCase, bool)
TAVEK_MODEM_KNOB(setReplyDelayMs, int)
TAVEK_MODEM_KNOB(setAnswerOnlyAttempt, int)
TAVEK_MODEM_KNOB(setErrorFor, const QByteArray&)
TAVEK_MODEM_KNOB(vanishAtLine, int)
TAVEK_MODEM_KNOB(vanishAfterBytes, int)
TAVEK_MODEM_KNOB(hangUpAfterBytes, int)
#undef TAVEK_MODEM_KNOB

void VirtualModem::setProcessingMsFor(const QByteArray& command, int ms) {
    std::lock_guard lock(d->mutex);
    d->line.setProcessingMsFor(command, ms);
}

void VirtualModem::setLateResultMsFor(const QByteArray& command, int ms) {
    std::lock_guard lock(d->mutex);
    d->line.setLateResultMsFor(command, ms);
}

void VirtualModem::setChunks(int bytes, int gapMs) {
    std::lock_guard lock(d->mutex);
    d->line.setChunks(bytes, gapMs);
}

void VirtualModem::setReplyFor(const QByteArray& command, const QByteArray& reply) {
    std::lock_guard lock(d->mutex);
    d->line.setReplyFor(command, reply);
}

void VirtualModem::clearReplyOverrides() {
    std::lock_guard lock(d->mutex);
    d->line.clearReplyOverrides();
}

void VirtualModem::clearErrors() {
    std::lock_guard lock(d->mutex);
    d->line.clearErrors();
}

void VirtualModem::setStrayLinesInListings(const QList<std::pair<int, QByteArray>>& lines) {
    std::lock_guard lock(d->mutex);
    d->line.commands().strayLinesInListings = lines;
}

void VirtualModem::setStoreFault(ModemCommandSet::StoreFault fault) {
    std::lock_guard lock(d->mutex);
    d->line.commands().storeFault = fault;
}

std::array<VirtualModem::Input, 3> VirtualModem::inputs() const {
    std::lock_guard lock(d->mutex);
    return d->line.commands().inputs;
}

void VirtualModem::setInputs(const std::array<Input, 3>& inputs) {
    std::lock_guard lock(d->mutex);
    d->line.commands().inputs = inputs;
}

std::array<QByteArray, 20> VirtualModem::phoneBook() const {
    std::lock_guard lock(d->mutex);
    return d->line.commands().phoneBook;
}

void VirtualModem::setPhoneBook(const std::array<QByteArray, 20>& numbers) {
    std::lock_guard lock(d->mutex);
    d->line.commands().phoneBook = numbers;
}

std::vector<VirtualModem::ReceivedLine> VirtualModem::received() const {
    std::lock_guard lock(d->mutex);
    return d->line.received();
}

QByteArray VirtualModem::receivedBytes() const {
    std::lock_guard lock(d->mutex);
    return d->line.receivedBytes();
}

void VirtualModem::clearReceived() {
    std::lock_guard lock(d->mutex);
    d->line.clearReceived();
}

bool VirtualModem::waitForLines(int count, int timeoutMs) const {
    std::unique_lock lock(d->mutex);
    return d->changed.wait_for(lock, milliseconds(timeoutMs), [&] {
        return d->line.received().size() >= size_t(std::max(0, count));
    });
}

bool VirtualModem::isPortOpen() const {
    std::lock_guard lock(d->mutex);
    return d->programOpens > 0;
}

bool VirtualModem::waitForPortOpen(bool open, int timeoutMs) const {
    std::unique_lock lock(d->mutex);
    return d->changed.wait_for(lock, milliseconds(timeoutMs),
                               [&] { return (d->programOpens > 0) == open; });
}

int VirtualModem::linkAs(int number) {
    std::lock_guard lock(d->mutex);
    d->link.reset();
    d->linkNumber = 0;
    d->linkErrorText.clear();
    if (d->device.isEmpty()) {
        d->linkErrorText = QStringLiteral("the modem is not plugged in");
        return 0;
    }
    auto made = std::make_unique<PortsFolderLink>(d->device, number);
    if (!made->isLinked()) {
        d->linkErrorText = made->errorString();
        return 0;
    }
    d->link = std::move(made);
    d->linkNumber = d->link->number();
    return d->linkNumber;
}

QString VirtualModem::linkPath() const {
    std::lock_guard lock(d->mutex);
    return d->link ? d->link->linkPath() : QString();
}

QString VirtualModem::linkError() const {
    std::lock_guard lock(d->mutex);
    return d->linkErrorText;
}

void VirtualModem::hangUp() {
    std::unique_lock lock(d->mutex);
    if (!d->device.isEmpty()) {
        d->hangUpWanted = true;
        d->wake();
    }
    d->changed.wait(lock, [&] { return !d->ptyOpen; });
}

bool VirtualModem::comeBack() {
    std::unique_lock lock(d->mutex);
    // A vanishing under way ends first.
    d->changed.wait(lock, [&] { return !(d->device.isEmpty() && d->ptyOpen); });
    if (d->ptyOpen)
        return true;
    d->comeBackWanted = true;
    d->wake();
    d->changed.wait(lock, [&] { return !d->comeBackWanted; });
    return d->ptyOpen;
}
