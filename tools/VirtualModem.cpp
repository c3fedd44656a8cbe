#include "VirtualModem.h"

#include "ModemCommandSet.h"
#include "PortsFolderLink.h"

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

using Clock = VirtualModem::Clock;
using TimePoint = Clock::time_point;
using std::chrono::milliseconds;

constexpr TimePoint never = TimePoint::max();
constexpr int idlePollMs = 100; // the thread also wakes through its pipe; this is a safety net
constexpr int writeStallLimitMs = 2000; // a reader that takes nothing for so long loses what is due
constexpr int defaultProcessingMs = 20;
constexpr int highestUsbLatencyMs = 255; // the FTDI latency timer's range is 1..255 ms

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

// A character from the program and when its last bit is in.
struct Inbound {
    char c;
    TimePoint arrival;
};

// A reply the modem has worked out and sends once its processing is over.
// In instant mode it is the whole answer, the echo in front.
struct Job {
    TimePoint ready;
    QByteArray bytes;
    qsizetype echoBytes = 0;
    quint64 line = 0;
    int chunkBytes = 0;
    int chunkGapMs = 0;
    bool instant = false;
};

// A byte on its way to the program.
struct Outbound {
    char c;
    TimePoint due;             // when it is handed to the program
    quint64 line = 0;          // the line whose answer it belongs to; 0 for none
    bool reply = false;        // after the echo
    bool lastOfAnswer = false; // the answer to its line is complete with it
};

// The line the modem is taking in; what it will do with it is settled at its
// first character, as a modem decides to echo as the characters come.
struct LineInProgress {
    bool open = false;
    quint64 seq = 0;
    QByteArray text;
    TimePoint firstByteAt;
    bool instant = false;
    bool silentTo = false;
    bool echo = true;
};

} // namespace

struct VirtualModem::Impl {
    // Shared with the callers, guarded by mutex.
    mutable std::mutex mutex;
    mutable std::condition_variable changed; // a line arrived, the program opened or closed the
                                             // device, or the modem vanished or came back
    bool instant = false;
    int usbLatencyMs = 0;
    int processingMs = defaultProcessingMs;
    std::map<QByteArray, int> processingFor;
    bool echo = true;
    bool silent = false;
    bool lowerCase = false;
    int replyDelayMs = 0;
    int chunkBytes = 0;
    int chunkGapMs = 0;
    int answerOnlyAttempt = 0;
    int commandLinesSeen = 0; // since setAnswerOnlyAttempt
    std::map<QByteArray, QByteArray> replyOverrides;
    std::vector<QByteArray> errorPrefixes;
    ModemCommandSet commands;
    std::vector<ReceivedLine> received;
    std::vector<quint64> receivedSeqs; // the sequence number of each received line
    QByteArray receivedBytes;
    QString device;       // cleared first when the modem vanishes
    bool ptyOpen = false; // the descriptors are open
    int programOpens = 0; // opens of the device by the program, less its closes
    int hangUpArmed = -1; // hangUpAfterBytes, until the next command line takes it
    int vanishAtLineCount = 0;
    qint64 vanishCountdown = -1;
    bool hangUpWanted = false;
    bool comeBackWanted = false;
    std::unique_ptr<PortsFolderLink> link;
    int linkNumber = 0;
    QString linkErrorText;

    // Owned by the modem thread once it runs.
    int master = -1;
    int slave = -1;     // held open so the master never sees a hang-up between the program's opens
    int openWatch = -1; // inotify on the device: tells when the program opens and closes it
    bool opensCheckedByProc = false; // /proc found no open and no event came since
    std::deque<Inbound> inbound;
    std::deque<Job> jobs;
    std::deque<Outbound> outbound;
    LineInProgress line;
    quint64 nextSeq = 1;
    TimePoint lastArrival{};
    TimePoint lastFinish{};                  // when the modem's transmitter is free
    TimePoint commandFree{};                 // when the modem can take up the next command line
    const TimePoint usbEpoch = Clock::now(); // the adapter's timer runs freely from here
    qint64 hangUpCountdown = -1;
    quint64 hangUpLine = 0;
    bool vanishPending = false;
    bool writeBlocked = false;
    TimePoint writeStallSince{};

    int wakeRead = -1;
    int wakeWrite = -1;
    std::atomic<bool> stopping{false};
    std::thread thread;

    ~Impl();
    bool openPty();
    void run();
    void wake() const;
    void waitForInput(TimePoint deadline);
    void readInput();
    void readOpenEvents();
    void setProgramOpens(int opens);
    void advance(TimePoint now);
    void arrive(char c, TimePoint at);
    void startLine(bool empty, TimePoint at);
    void bindHangUp(quint64 seq);
    QByteArray replyTo(const QByteArray& text);
    void transmit(char c, TimePoint ready, int latencyMs, quint64 seq, bool reply, bool last);
    void fire(const Job& job);
    bool portTakesBytes();
    void deliver(TimePoint until, TimePoint now);
    void handOver(const Outbound& byte, bool delivered);
    TimePoint nextDue() const;
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
    opensCheckedByProc = false;
    lastArrival = lastFinish = commandFree = TimePoint{};

    std::lock_guard lock(mutex);
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
            if (vanishCountdown == 0 && master >= 0)
                vanishPending = true;
        }
        if (master < 0) {
            pollfd wakeUp{wakeRead, POLLIN, 0};
            if (::poll(&wakeUp, 1, idlePollMs) > 0)
                waitForInput(Clock::now()); // drains the pipe
            continue;
        }
        advance(Clock::now());
        if (vanishPending) {
            vanish(true);
            continue;
        }
        waitForInput(nextDue());
    }
}

void VirtualModem::Impl::wake() const {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeWrite, &byte, 1);
}

// Sleeps until the deadline or until the program sends, opens or closes, or a
// caller wakes the thread. Opens and closes are taken first: they happened
// before the bytes.
void VirtualModem::Impl::waitForInput(TimePoint deadline) {
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
    if (fds[2].revents & POLLOUT)
        writeBlocked = false;
}

// Follows the events in order, so that a close followed at once by a new open
// still drops what the first session left unread.
void VirtualModem::Impl::readOpenEvents() {
    if (openWatch < 0)
        return;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(openWatch, buffer, sizeof buffer);
        if (got <= 0)
            return;
        std::lock_guard lock(mutex);
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

// The pty gives the program's bytes at once; on the wire each takes a
// character time after the one before, so that is when it arrives.
void VirtualModem::Impl::readInput() {
    bool instantLine;
    {
        std::lock_guard lock(mutex);
        instantLine = instant;
    }
    char buffer[512];
    ssize_t got;
    while ((got = ::read(master, buffer, sizeof buffer)) > 0) {
        const TimePoint now = Clock::now();
        for (ssize_t i = 0; i < got; ++i) {
            lastArrival = instantLine ? now : std::max(now, lastArrival + characterTime);
            inbound.push_back({buffer[i], lastArrival});
        }
    }
}

// Does, in the order of the line's time, everything that is due by now.
// Bytes due at the same moment as an arrival go first.
void VirtualModem::Impl::advance(TimePoint now) {
    if (writeBlocked && now - writeStallSince >= milliseconds(writeStallLimitMs)) {
        // Nobody reads: what is due is lost rather than the modem hanging.
        std::lock_guard lock(mutex);
        while (!outbound.empty() && outbound.front().due <= now) {
            handOver(outbound.front(), false);
            outbound.pop_front();
        }
        writeBlocked = false;
    }
    while (!vanishPending) {
        const TimePoint nextArrival = inbound.empty() ? never : inbound.front().arrival;
        const TimePoint nextJob = jobs.empty() ? never : jobs.front().ready;
        const TimePoint nextEvent = std::min(nextArrival, nextJob);
        const TimePoint until = std::min(now, nextEvent);
        if (!writeBlocked && !outbound.empty() && outbound.front().due <= until) {
            deliver(until, now);
            continue;
        }
        if (nextEvent > now)
            return;
        if (nextJob <= nextArrival) {
            const Job job = jobs.front();
            jobs.pop_front();
            fire(job);
        } else {
            const Inbound byte = inbound.front();
            inbound.pop_front();
            arrive(byte.c, byte.arrival);
        }
    }
}

void VirtualModem::Impl::arrive(char c, TimePoint at) {
    std::lock_guard lock(mutex);
    receivedBytes += c;
    if (c == '\n')
        return; // the LF that may follow a CR ends nothing and is not echoed
    if (!line.open) {
        startLine(c == '\r', at);
        if (vanishPending)
            return;
    }
    const int latency = usbLatencyMs;
    if (c != '\r') {
        line.text += c;
        if (!line.instant && line.echo)
            transmit(c, at, latency, line.seq, false, false);
        return;
    }

    line.open = false;
    received.push_back({line.text, at, line.firstByteAt, std::nullopt, std::nullopt, {}});
    receivedSeqs.push_back(line.seq);
    changed.notify_all();
    const bool commandLine = !line.text.isEmpty();
    if (commandLine && vanishAtLineCount > 0 && --vanishAtLineCount == 0) {
        vanishPending = true; // pulled out as the line came in: no echo of its CR, no reply
        return;
    }
    const QByteArray reply = line.silentTo ? QByteArray() : replyTo(line.text);

    if (!line.instant) {
        if (line.echo)
            transmit('\r', at, latency, line.seq, false, reply.isEmpty());
        if (!reply.isEmpty()) {
            // One command line at a time: the next is taken up after this reply.
            const auto found = processingFor.find(line.text);
            const int processing = found != processingFor.end() ? found->second : processingMs;
            const TimePoint ready =
                std::max(at, commandFree) + milliseconds(processing) + milliseconds(replyDelayMs);
            commandFree = ready;
            jobs.push_back({ready, reply, 0, line.seq, chunkBytes, chunkGapMs, false});
        } else if (!line.echo && hangUpLine == line.seq) {
            vanishPending = true; // its answer is complete: there is none
        }
        return;
    }

    if (commandLine && !line.silentTo) {
        bindHangUp(line.seq);
        if (vanishPending)
            return;
    }
    const QByteArray echoed = line.echo ? line.text + '\r' : QByteArray();
    const QByteArray answer = echoed + reply;
    if (answer.isEmpty()) {
        if (hangUpLine == line.seq)
            vanishPending = true;
        return;
    }
    const TimePoint ready = std::max(at, commandFree) + milliseconds(replyDelayMs);
    const qsizetype gaps = chunkBytes > 0 ? (answer.size() - 1) / chunkBytes : 0;
    commandFree = ready + milliseconds(chunkGapMs) * gaps;
    jobs.push_back({ready, answer, echoed.size(), line.seq, chunkBytes, chunkGapMs, true});
}

// Called with the mutex held.
void VirtualModem::Impl::startLine(bool empty, TimePoint at) {
    line.open = true;
    line.seq = nextSeq++;
    line.text.clear();
    line.firstByteAt = at;
    line.instant = instant;
    line.silentTo =
        silent || (!empty && answerOnlyAttempt > 0 && ++commandLinesSeen < answerOnlyAttempt);
    line.echo = echo && !line.silentTo;
    if (!line.instant && !empty && !line.silentTo)
        bindHangUp(line.seq);
}

// hangUpAfterBytes counts from the answer to this line on. Mutex held.
void VirtualModem::Impl::bindHangUp(quint64 seq) {
    if (hangUpArmed < 0)
        return;
    hangUpCountdown = hangUpArmed;
    hangUpLine = seq;
    hangUpArmed = -1;
    if (hangUpCountdown == 0)
        vanishPending = true;
}

// The reply to a command line, without its echo. Mutex held.
QByteArray VirtualModem::Impl::replyTo(const QByteArray& text) {
    if (const auto found = replyOverrides.find(text); found != replyOverrides.end())
        return found->second;
    for (const QByteArray& prefix : errorPrefixes) {
        if (text.startsWith(prefix))
            return lowerCase ? "\r\nerror\r\n" : "\r\nERROR\r\n";
    }
    return commands.execute(text, lowerCase);
}

// Puts a byte on the wire after the ones before it: it is through a character
// time after it started, and an adapter hands it on at the next tick of its timer.
void VirtualModem::Impl::transmit(char c, TimePoint ready, int latencyMs, quint64 seq, bool reply,
                                  bool last) {
    lastFinish = std::max(ready, lastFinish) + characterTime;
    TimePoint due = lastFinish;
    if (latencyMs > 0) {
        const Clock::duration tick = milliseconds(latencyMs);
        due = usbEpoch + ((lastFinish - usbEpoch + tick - Clock::duration(1)) / tick) * tick;
    }
    outbound.push_back({c, due, seq, reply, last});
}

void VirtualModem::Impl::fire(const Job& job) {
    int latency;
    {
        std::lock_guard lock(mutex);
        latency = usbLatencyMs;
    }
    TimePoint ready = job.ready;
    for (qsizetype i = 0; i < job.bytes.size(); ++i) {
        const bool last = i == job.bytes.size() - 1;
        const bool reply = i >= job.echoBytes;
        if (job.chunkBytes > 0 && i > 0 && i % job.chunkBytes == 0)
            ready = std::max(ready, lastFinish) + milliseconds(job.chunkGapMs);
        if (job.instant) {
            lastFinish = std::max(ready, lastFinish);
            outbound.push_back({job.bytes[i], lastFinish, job.line, reply, last});
        } else {
            transmit(job.bytes[i], ready, latency, job.line, reply, last);
        }
    }
}

// The kernel folds two opens in a row into one event, so the count can fall
// short; /proc decides before bytes are thrown away, once for each turn of
// the events.
bool VirtualModem::Impl::portTakesBytes() {
    {
        std::lock_guard lock(mutex);
        if (programOpens > 0)
            return true;
    }
    readOpenEvents();
    std::lock_guard lock(mutex);
    if (programOpens == 0 && !opensCheckedByProc) {
        programOpens = std::max(0, countOpens(device.toLocal8Bit(), slave));
        opensCheckedByProc = true;
    }
    return programOpens > 0;
}

// Hands the program, in one write, every byte due by until, no more than the
// vanishing knobs allow. The records are made under the same lock as the
// write, so a program that has read a byte finds it recorded.
void VirtualModem::Impl::deliver(TimePoint until, TimePoint now) {
    qsizetype count = 0;
    while (count < qsizetype(outbound.size()) && outbound[count].due <= until)
        ++count;
    const bool open = portTakesBytes();
    std::lock_guard lock(mutex);
    if (!open) {
        for (; count > 0; --count) { // sent into a closed port: lost, as on a real line
            handOver(outbound.front(), false);
            outbound.pop_front();
        }
        return;
    }
    if (vanishCountdown >= 0)
        count = std::min<qsizetype>(count, vanishCountdown);
    if (hangUpCountdown >= 0)
        count = std::min<qsizetype>(count, hangUpCountdown);
    QByteArray bytes(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i)
        bytes[i] = outbound[i].c;
    ssize_t written = count > 0 ? ::write(master, bytes.constData(), size_t(count)) : 0;
    if (written < 0)
        written = 0; // full (EAGAIN) or failing: the stall limit settles it
    for (ssize_t i = 0; i < written; ++i) {
        handOver(outbound.front(), true);
        outbound.pop_front();
    }
    for (qint64* countdown : {&vanishCountdown, &hangUpCountdown}) {
        if (*countdown >= 0 && (*countdown -= written) == 0)
            vanishPending = true;
    }
    if (written < count) {
        if (!writeBlocked)
            writeStallSince = now;
        writeBlocked = true;
    }
}

// Records a byte of an answer as it reaches the program (or is lost). Mutex held.
void VirtualModem::Impl::handOver(const Outbound& byte, bool delivered) {
    if (byte.lastOfAnswer && byte.line != 0 && byte.line == hangUpLine)
        vanishPending = true;
    if (!delivered || !byte.reply)
        return;
    const auto found = std::lower_bound(receivedSeqs.begin(), receivedSeqs.end(), byte.line);
    if (found == receivedSeqs.end() || *found != byte.line)
        return; // cleared since
    ReceivedLine& line = received[size_t(found - receivedSeqs.begin())];
    line.answer += byte.c;
    if (byte.c == '\r') // the last CR of an answer ends its result code line
        line.resultAt = byte.due;
    if (byte.lastOfAnswer)
        line.answeredAt = byte.due;
}

TimePoint VirtualModem::Impl::nextDue() const {
    TimePoint next = Clock::now() + milliseconds(idlePollMs);
    if (!inbound.empty())
        next = std::min(next, inbound.front().arrival);
    if (!jobs.empty())
        next = std::min(next, jobs.front().ready);
    if (writeBlocked)
        next = std::min(next, writeStallSince + milliseconds(writeStallLimitMs));
    else if (!outbound.empty())
        next = std::min(next, outbound.front().due);
    return next;
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
    const TimePoint giveUp = Clock::now() + milliseconds(writeStallLimitMs);
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
    inbound.clear();
    jobs.clear();
    outbound.clear();
    line = {};
    hangUpCountdown = -1;
    hangUpLine = 0;
    vanishPending = false;
    writeBlocked = false;
    std::lock_guard lock(mutex);
    ptyOpen = false;
    hangUpWanted = false;
    hangUpArmed = -1;
    vanishAtLineCount = 0;
    vanishCountdown = -1;
    changed.notify_all();
}

// Plugged in again: a new pty, and the same "Com N" pointing at it.
void VirtualModem::Impl::comeBack() {
    const bool opened = openPty();
    vanishPending = false;
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

void VirtualModem::setInstant(bool on) {
    std::lock_guard lock(d->mutex);
    d->instant = on;
}

void VirtualModem::setUsbLatencyMs(int ms) {
    std::lock_guard lock(d->mutex);
    d->usbLatencyMs = std::clamp(ms, 0, highestUsbLatencyMs);
}

void VirtualModem::setProcessingMs(int ms) {
    std::lock_guard lock(d->mutex);
    d->processingMs = std::max(0, ms);
}

void VirtualModem::setProcessingMsFor(const QByteArray& command, int ms) {
    std::lock_guard lock(d->mutex);
    if (ms < 0)
        d->processingFor.erase(command);
    else
        d->processingFor[command] = ms;
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

void VirtualModem::setReplyFor(const QByteArray& command, const QByteArray& reply) {
    std::lock_guard lock(d->mutex);
    d->replyOverrides[command] = reply;
}

void VirtualModem::clearReplyOverrides() {
    std::lock_guard lock(d->mutex);
    d->replyOverrides.clear();
}

void VirtualModem::setErrorFor(const QByteArray& prefix) {
    std::lock_guard lock(d->mutex);
    d->errorPrefixes.push_back(prefix);
}

void VirtualModem::clearErrors() {
    std::lock_guard lock(d->mutex);
    d->errorPrefixes.clear();
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

QByteArray VirtualModem::receivedBytes() const {
    std::lock_guard lock(d->mutex);
    return d->receivedBytes;
}

void VirtualModem::clearReceived() {
    std::lock_guard lock(d->mutex);
    d->received.clear();
    d->receivedSeqs.clear();
    d->receivedBytes.clear();
}

bool VirtualModem::waitForLines(int count, int timeoutMs) const {
    std::unique_lock lock(d->mutex);
    return d->changed.wait_for(lock, milliseconds(timeoutMs),
                               [&] { return d->received.size() >= size_t(std::max(0, count)); });
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

void VirtualModem::vanishAtLine(int n) {
    std::lock_guard lock(d->mutex);
    d->vanishAtLineCount = std::max(0, n);
}

void VirtualModem::vanishAfterBytes(int n) {
    std::lock_guard lock(d->mutex);
    d->vanishCountdown = n < 0 ? -1 : n;
    d->wake();
}

void VirtualModem::hangUpAfterBytes(int bytes) {
    std::lock_guard lock(d->mutex);
    d->hangUpArmed = bytes < 0 ? -1 : bytes;
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
