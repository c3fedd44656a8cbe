#include "VirtualModem.h"

#include "ModemCommandSet.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <map>
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

constexpr int idlePollMs = 100; // the thread also wakes through its pipe; this is a safety net
constexpr int writeStallLimitMs = 2000; // a reader that takes nothing for so long loses the rest
constexpr int ptyDeliveryMs = 20; // bytes written to the master reach the slave's queue within this

int remainingMs(VirtualModem::Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - VirtualModem::Clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

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
                                             // device, or the pty was closed
    bool echo = true;
    bool silent = false;
    bool lowerCase = false;
    int replyDelayMs = 0;
    int chunkBytes = 0;
    int chunkGapMs = 0;
    int answerOnlyAttempt = 0;
    int commandLinesSeen = 0; // since setAnswerOnlyAttempt
    int hangUpAfter = -1;
    std::map<QByteArray, QByteArray> replyOverrides;
    ModemCommandSet commands;
    std::vector<ReceivedLine> received;
    QString device;
    bool ptyOpen = false;
    int programOpens = 0; // opens of the device by the program, less its closes

    // Owned by the modem thread once it runs.
    int master = -1;
    int slave = -1; // held open so the master never sees a hang-up between the program's opens
    QByteArray partialLine;
    std::deque<QByteArray> pendingLines;

    int openWatch = -1; // inotify on the device: tells when the program opens and closes it
    int wakeRead = -1;
    int wakeWrite = -1;
    std::atomic<bool> stopping{false};
    std::atomic<bool> hangUpWanted{false};
    std::thread thread;

    ~Impl();
    void open();
    void run();
    void wake() const;
    void waitForInput(int timeoutMs);
    void readInput();
    void readOpenEvents();
    void setProgramOpens(int opens);
    bool pause(int ms);
    void answer(const QByteArray& line);
    bool send(const QByteArray& bytes);
    void waitUntilTaken();
    void closePty();
};

VirtualModem::Impl::~Impl() {
    closeFd(master);
    closeFd(slave);
    closeFd(openWatch);
    closeFd(wakeRead);
    closeFd(wakeWrite);
}

void VirtualModem::Impl::open() {
    // Raw on the slave: no echo by the line discipline and no CR/LF translation,
    // as on a real serial line.
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    if (::openpty(&master, &slave, nullptr, &raw, nullptr) != 0)
        throw std::runtime_error("VirtualModem: openpty failed");
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    char name[128] = {};
    if (::ptsname_r(master, name, sizeof name) != 0)
        throw std::runtime_error("VirtualModem: no name for the pseudo-terminal");
    device = QString::fromLocal8Bit(name);
    ptyOpen = true;

    // A serial port that nobody has open receives nothing: the modem follows
    // the program's opens and closes of the device to drop what it sends then.
    // Without inotify (its limits reached) the modem takes the port as always open.
    openWatch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (openWatch >= 0 && ::inotify_add_watch(openWatch, name, IN_OPEN | IN_CLOSE) < 0)
        closeFd(openWatch);
    if (openWatch < 0)
        programOpens = 1;

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("VirtualModem: pipe failed");
    wakeRead = pipeFds[0];
    wakeWrite = pipeFds[1];
}

void VirtualModem::Impl::run() {
    while (!stopping) {
        if (hangUpWanted)
            closePty();
        if (!pendingLines.empty()) {
            const QByteArray line = pendingLines.front();
            pendingLines.pop_front();
            answer(line);
            continue;
        }
        waitForInput(idlePollMs);
    }
}

void VirtualModem::Impl::wake() const {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeWrite, &byte, 1);
}

// Waits for bytes from the program (or a wake-up) and splits what came into
// lines. Opens and closes are taken first: they happened before the bytes.
void VirtualModem::Impl::waitForInput(int timeoutMs) {
    pollfd fds[3] = {{wakeRead, POLLIN, 0}, {openWatch, POLLIN, 0}, {master, POLLIN, 0}};
    const nfds_t count = master >= 0 ? 3 : 2;
    if (::poll(fds, count, timeoutMs) <= 0)
        return;
    if (fds[0].revents & POLLIN) {
        char drain[64];
        while (::read(wakeRead, drain, sizeof drain) > 0) {
        }
    }
    if (fds[1].revents & POLLIN)
        readOpenEvents();
    if (count == 3 && (fds[2].revents & POLLIN)) {
        readInput();
    } else if (count == 3 && (fds[2].revents & (POLLHUP | POLLERR))) {
        // Cannot happen while the modem holds its own slave open; never spin on it.
        ::poll(fds, 1, timeoutMs);
    }
}

// Follows the events in order, so that a close followed at once by a new open
// still drops what the first session left unread.
void VirtualModem::Impl::readOpenEvents() {
    alignas(inotify_event) char buffer[4096];
    const ssize_t got = ::read(openWatch, buffer, sizeof buffer);
    std::lock_guard lock(mutex);
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

// What the program left unread goes with its last close, as on a real port.
void VirtualModem::Impl::setProgramOpens(int opens) {
    programOpens = opens;
    if (opens == 0 && slave >= 0)
        ::tcflush(slave, TCIFLUSH);
}

void VirtualModem::Impl::readInput() {
    char buffer[512];
    const ssize_t got = ::read(master, buffer, sizeof buffer);
    if (got <= 0)
        return;
    const Clock::time_point at = Clock::now();
    std::lock_guard lock(mutex);
    for (ssize_t i = 0; i < got; ++i) {
        const char c = buffer[i];
        if (c == '\n')
            continue;
        if (c != '\r') {
            partialLine += c;
            continue;
        }
        received.push_back({partialLine, at});
        pendingLines.push_back(partialLine);
        partialLine.clear();
    }
    changed.notify_all();
}

// Sleeps while still taking in what the program sends, so time stamps stay true.
// False when the modem is stopping or hanging up.
bool VirtualModem::Impl::pause(int ms) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (!stopping && !hangUpWanted) {
        const int left = remainingMs(deadline);
        if (left == 0)
            return true;
        waitForInput(left);
    }
    return false;
}

void VirtualModem::Impl::answer(const QByteArray& line) {
    QByteArray bytes;
    int delayMs = 0;
    int chunk = 0;
    int gapMs = 0;
    int hangUpAt = -1;
    {
        std::lock_guard lock(mutex);
        if (silent)
            return;
        if (!line.isEmpty() && answerOnlyAttempt > 0 && ++commandLinesSeen < answerOnlyAttempt)
            return;
        if (echo)
            bytes = line + '\r';
        if (const auto found = replyOverrides.find(line); found != replyOverrides.end())
            bytes += found->second;
        else
            bytes += commands.execute(line, lowerCase);
        delayMs = replyDelayMs;
        chunk = chunkBytes > 0 ? chunkBytes : int(bytes.size());
        gapMs = chunkGapMs;
        if (!line.isEmpty())
            std::swap(hangUpAt, hangUpAfter);
    }

    if (hangUpAt >= 0 && hangUpAt < bytes.size())
        bytes.truncate(hangUpAt);
    if (!bytes.isEmpty() && !pause(delayMs))
        return;
    for (qsizetype offset = 0; offset < bytes.size(); offset += chunk) {
        if (offset > 0 && !pause(gapMs))
            return;
        if (!send(bytes.mid(offset, chunk)))
            return;
    }
    if (hangUpAt >= 0) {
        waitUntilTaken();
        closePty();
    }
}

// A pty discards what the program has not read yet when it is closed; a modem
// pulled out does not take back the bytes it has already sent. So the hang-up
// waits until the program has read them (or has taken too long).
void VirtualModem::Impl::waitUntilTaken() {
    if (!pause(ptyDeliveryMs))
        return;
    const Clock::time_point giveUp = Clock::now() + std::chrono::milliseconds(writeStallLimitMs);
    int waiting = 0;
    while (::ioctl(slave, FIONREAD, &waiting) == 0 && waiting > 0 && remainingMs(giveUp) > 0) {
        if (!pause(5))
            return;
    }
}

bool VirtualModem::Impl::send(const QByteArray& bytes) {
    {
        // The kernel folds two opens in a row into one event, so the count can
        // fall short; /proc decides before a reply is thrown away. Off the
        // path of a normal reply, which finds the port open.
        std::lock_guard lock(mutex);
        if (programOpens == 0)
            programOpens = std::max(0, countOpens(device.toLocal8Bit(), slave));
        if (programOpens == 0)
            return true; // sent into a closed port: lost, as on a real line
    }
    const Clock::time_point giveUp = Clock::now() + std::chrono::milliseconds(writeStallLimitMs);
    qsizetype done = 0;
    while (done < bytes.size()) {
        if (stopping || hangUpWanted || master < 0)
            return false;
        const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (remainingMs(giveUp) == 0)
            return false; // nobody reads: drop the rest rather than hang
        pollfd fds[2] = {{master, POLLOUT, 0}, {wakeRead, POLLIN, 0}};
        ::poll(fds, 2, 50);
    }
    return true;
}

// The device path goes first: once the descriptors are closed the program sees
// the hang-up, and by then the modem must already read as gone.
void VirtualModem::Impl::closePty() {
    {
        std::lock_guard lock(mutex);
        device.clear();
        changed.notify_all();
    }
    closeFd(master);
    closeFd(slave);
    pendingLines.clear();
    partialLine.clear();
    std::lock_guard lock(mutex);
    ptyOpen = false; // hangUp() returns only now, with the line really gone
    hangUpWanted = false;
    changed.notify_all();
}

VirtualModem::VirtualModem() : d(std::make_unique<Impl>()) {
    d->open();
    d->thread = std::thread([impl = d.get()] { impl->run(); });
}

VirtualModem::~VirtualModem() {
    d->stopping = true;
    d->wake();
    d->thread.join();
}

QString VirtualModem::devicePath() const {
    std::lock_guard lock(d->mutex);
    return d->device;
}

void VirtualModem::setEcho(bool on) {
    std::lock_guard lock(d->mutex);
    d->echo = on;
}

void VirtualModem::setSilent(bool on) {
    std::lock_guard lock(d->mutex);
    d->silent = on;
}

void VirtualModem::setLowerCase(bool on) {
    std::lock_guard lock(d->mutex);
    d->lowerCase = on;
}

void VirtualModem::setReplyDelayMs(int ms) {
    std::lock_guard lock(d->mutex);
    d->replyDelayMs = std::max(0, ms);
}

void VirtualModem::setChunks(int bytes, int gapMs) {
    std::lock_guard lock(d->mutex);
    d->chunkBytes = std::max(0, bytes);
    d->chunkGapMs = std::max(0, gapMs);
}

void VirtualModem::setAnswerOnlyAttempt(int n) {
    std::lock_guard lock(d->mutex);
    d->answerOnlyAttempt = std::max(0, n);
    d->commandLinesSeen = 0;
}

void VirtualModem::hangUpAfterBytes(int bytes) {
    std::lock_guard lock(d->mutex);
    d->hangUpAfter = bytes < 0 ? -1 : bytes;
}

void VirtualModem::setReplyFor(const QByteArray& command, const QByteArray& reply) {
    std::lock_guard lock(d->mutex);
    d->replyOverrides[command] = reply;
}

void VirtualModem::clearReplyOverrides() {
    std::lock_guard lock(d->mutex);
    d->replyOverrides.clear();
}

std::array<VirtualModem::Input, 3> VirtualModem::inputs() const {
    std::lock_guard lock(d->mutex);
    return d->commands.inputs;
}

void VirtualModem::setInputs(const std::array<Input, 3>& inputs) {
    std::lock_guard lock(d->mutex);
    d->commands.inputs = inputs;
}

std::array<QByteArray, 20> VirtualModem::phoneBook() const {
    std::lock_guard lock(d->mutex);
    return d->commands.phoneBook;
}

void VirtualModem::setPhoneBook(const std::array<QByteArray, 20>& numbers) {
    std::lock_guard lock(d->mutex);
    d->commands.phoneBook = numbers;
}

std::vector<VirtualModem::ReceivedLine> VirtualModem::received() const {
    std::lock_guard lock(d->mutex);
    return d->received;
}

void VirtualModem::clearReceived() {
    std::lock_guard lock(d->mutex);
    d->received.clear();
}

bool VirtualModem::waitForLines(int count, int timeoutMs) const {
    std::unique_lock lock(d->mutex);
    return d->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return d->received.size() >= size_t(std::max(0, count)); });
}

void VirtualModem::hangUp() {
    std::unique_lock lock(d->mutex);
    if (!d->ptyOpen)
        return;
    d->hangUpWanted = true;
    d->wake();
    d->changed.wait(lock, [&] { return !d->ptyOpen; });
}

bool VirtualModem::isPortOpen() const {
    std::lock_guard lock(d->mutex);
    return d->programOpens > 0;
}

bool VirtualModem::waitForPortOpen(bool open, int timeoutMs) const {
    std::unique_lock lock(d->mutex);
    return d->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return (d->programOpens > 0) == open; });
}
