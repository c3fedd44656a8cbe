#include "ModemLine.h"

#include <algorithm>

namespace {

using std::chrono::milliseconds;
using TimePoint = ModemLine::TimePoint;
using Clock = ModemLine::Clock;

constexpr TimePoint never = TimePoint::max();
constexpr int writeStallLimitMs = 2000; // a reader that takes nothing for so long loses what is due
constexpr int highestUsbLatencyMs = 255; // the FTDI latency timer's range is 1..255 ms

// Where the text of a framed reply's final result code begins, just after
// the line break in front of it; -1 when the reply is framed otherwise.
qsizetype resultCodeTextAt(const QByteArray& reply) {
    if (!reply.endsWith("\r\n") || reply.size() < 4)
        return -1;
    const qsizetype lineBreak = reply.lastIndexOf("\r\n", reply.size() - 3);
    return lineBreak < 0 ? -1 : lineBreak + 2;
}

} // namespace

ModemLine::ModemLine(TimePoint usbEpoch) : usbEpoch_(usbEpoch) {}

void ModemLine::setInstant(bool on) {
    instant_ = on;
}
void ModemLine::setUsbLatencyMs(int ms) {
    usbLatencyMs_ = std::clamp(ms, 0, highestUsbLatencyMs);
}
void ModemLine::setProcessingMs(int ms) {
    processingMs_ = std::max(0, ms);
}
void ModemLine::setProcessingMsFor(const QByteArray& command, int ms) {
    if (ms < 0)
        processingFor_.erase(command);
    else
        processingFor_[command] = ms;
}
void ModemLine::setLateResultMs(int ms) {
    lateResultMs_ = std::max(0, ms);
}
void ModemLine::setLateResultMsFor(const QByteArray& command, int ms) {
    if (ms < 0)
        lateResultFor_.erase(command);
    else
        lateResultFor_[command] = ms;
}
void ModemLine::setEcho(bool on) {
    echo_ = on;
}
void ModemLine::setEchoLineFeed(bool on) {
    echoLineFeed_ = on;
}
void ModemLine::setSilent(bool on) {
    silent_ = on;
}
void ModemLine::setLowerCase(bool on) {
    lowerCase_ = on;
}
void ModemLine::setReplyDelayMs(int ms) {
    replyDelayMs_ = std::max(0, ms);
}
void ModemLine::setChunks(int bytes, int gapMs) {
    chunkBytes_ = std::max(0, bytes);
    chunkGapMs_ = std::max(0, gapMs);
}
void ModemLine::setAnswerOnlyAttempt(int n) {
    answerOnlyAttempt_ = std::max(0, n);
    commandLinesSeen_ = 0;
}
void ModemLine::setReplyFor(const QByteArray& command, const QByteArray& reply) {
    replyOverrides_[command] = reply;
}
void ModemLine::clearReplyOverrides() {
    replyOverrides_.clear();
}
void ModemLine::setErrorFor(const QByteArray& prefix) {
    errorPrefixes_.push_back(prefix);
}
void ModemLine::clearErrors() {
    errorPrefixes_.clear();
}
void ModemLine::setDamage(const QByteArray& command, qsizetype index,
                          std::optional<char> replacement) {
    damage_[command] = {index, replacement};
}

void ModemLine::sendUnsolicitedAt(TimePoint at, const QByteArray& line) {
    Job job{at, "\r\n" + line + "\r\n"};
    job.unsolicited = true;
    schedule(job);
}

// Jobs stay in the order of their times; of two at the same time, the one
// scheduled first goes first.
void ModemLine::schedule(const Job& job) {
    const auto after =
        std::upper_bound(jobs_.begin(), jobs_.end(), job.ready,
                         [](TimePoint t, const Job& other) { return t < other.ready; });
    jobs_.insert(after, job);
}

void ModemLine::clearReceived() {
    received_.clear();
    receivedSeqs_.clear();
    receivedBytes_.clear();
}

void ModemLine::vanishAtLine(int n) {
    vanishAtLineCount_ = std::max(0, n);
}
void ModemLine::vanishAfterBytes(qint64 n) {
    vanishCountdown_ = n < 0 ? -1 : n;
    if (vanishCountdown_ == 0)
        vanishPending_ = true;
}
void ModemLine::hangUpAfterBytes(int bytes) {
    hangUpArmed_ = bytes < 0 ? -1 : bytes;
}

void ModemLine::resetLine() {
    inbound_.clear();
    jobs_.clear();
    outbound_.clear();
    line_ = {};
    hangUpCountdown_ = -1;
    hangUpLine_ = 0;
    hangUpArmed_ = -1;
    vanishAtLineCount_ = 0;
    vanishCountdown_ = -1;
    vanishPending_ = false;
    writeBlocked_ = false;
    lastArrival_ = lastFinish_ = commandFree_ = TimePoint{};
}

void ModemLine::takeFromProgram(QByteArrayView bytes, TimePoint now) {
    for (const char c : bytes) {
        lastArrival_ = instant_ ? now : std::max(now, lastArrival_ + characterTime);
        inbound_.push_back({c, lastArrival_});
    }
}

// Bytes due at the same moment as an arrival go first.
void ModemLine::advance(TimePoint now, ProgramSide& program) {
    if (writeBlocked_ && now - writeStallSince_ >= milliseconds(writeStallLimitMs)) {
        // Nobody reads: what is due is lost rather than the modem hanging.
        while (!outbound_.empty() && outbound_.front().due <= now) {
            handOver(outbound_.front(), false);
            outbound_.pop_front();
        }
        writeBlocked_ = false;
    }
    while (!vanishPending_) {
        const TimePoint nextArrival = inbound_.empty() ? never : inbound_.front().arrival;
        const TimePoint nextJob = jobs_.empty() ? never : jobs_.front().ready;
        const TimePoint nextEvent = std::min(nextArrival, nextJob);
        const TimePoint until = std::min(now, nextEvent);
        if (!writeBlocked_ && !outbound_.empty() && outbound_.front().due <= until) {
            deliver(until, now, program);
            continue;
        }
        if (nextEvent > now)
            return;
        if (nextJob <= nextArrival) {
            const Job job = jobs_.front();
            jobs_.pop_front();
            fire(job);
        } else {
            const Inbound byte = inbound_.front();
            inbound_.pop_front();
            arrive(byte.c, byte.arrival);
        }
    }
}

void ModemLine::arrive(char c, TimePoint at) {
    receivedBytes_ += c;
    if (c == '\n')
        return; // the LF that may follow a CR ends nothing and is not echoed
    if (!line_.open) {
        startLine(c == '\r', at);
        if (vanishPending_)
            return;
    }
    if (c != '\r') {
        line_.text += c;
        if (!line_.instant && line_.echo)
            echoCharacter(c, at, false, false);
        return;
    }

    line_.open = false;
    received_.push_back({line_.text, at, line_.firstByteAt, {}, {}, {}, {}, false, {}, -1, -1});
    receivedSeqs_.push_back(line_.seq);
    const bool commandLine = !line_.text.isEmpty();
    if (commandLine && vanishAtLineCount_ > 0 && --vanishAtLineCount_ == 0) {
        vanishPending_ = true; // pulled out as the line came in: no echo of its CR, no reply
        return;
    }
    const QByteArray reply = line_.silentTo ? QByteArray() : replyTo(line_.text);
    received_.back().reply = reply;

    if (!line_.instant) {
        if (line_.echo) {
            // The echo is the command line as it came, its CR included; an LF
            // after it is the modem's own.
            echoCharacter('\r', at, true, reply.isEmpty() && !echoLineFeed_);
            if (echoLineFeed_)
                echoCharacter('\n', at, false, reply.isEmpty());
        }
        if (!reply.isEmpty())
            scheduleReply(line_.text, reply, at);
        else if (!line_.echo && hangUpLine_ == line_.seq)
            vanishPending_ = true; // its answer is complete: there is none
        return;
    }

    if (commandLine && !line_.silentTo) {
        bindHangUp(line_.seq);
        if (vanishPending_)
            return;
    }
    const QByteArray echoed = line_.echo ? line_.text + (echoLineFeed_ ? "\r\n" : "\r") : "";
    const QByteArray answer = echoed + reply;
    if (answer.isEmpty()) {
        if (hangUpLine_ == line_.seq)
            vanishPending_ = true;
        return;
    }
    const TimePoint ready = std::max(at, commandFree_) + milliseconds(replyDelayMs_);
    const qsizetype gaps = chunkBytes_ > 0 ? (answer.size() - 1) / chunkBytes_ : 0;
    commandFree_ = ready + milliseconds(chunkGapMs_) * gaps;
    schedule({ready, answer, echoed.size(), line_.seq, chunkBytes_, chunkGapMs_, true});
}

// A modem echoes a character as it arrives; while it is still busy with the
// command line before, the echo waits until that one's reply has gone out.
void ModemLine::echoCharacter(char c, TimePoint at, bool lastOfEcho, bool lastOfAnswer) {
    if (commandFree_ > at) {
        Job job{commandFree_, QByteArray(1, c), 0, line_.seq};
        job.echo = true;
        job.lastOfEcho = lastOfEcho;
        job.lastOfAnswer = lastOfAnswer;
        schedule(job);
        return;
    }
    transmit(c, at, line_.seq, false, lastOfAnswer, lastOfEcho);
}

// One command line at a time: the next is taken up after this reply. The
// final result code may come later than the rest of the reply.
void ModemLine::scheduleReply(const QByteArray& text, const QByteArray& reply, TimePoint at) {
    const TimePoint ready = std::max(at, commandFree_) + milliseconds(processingMsFor(text)) +
                            milliseconds(replyDelayMs_);
    const int late = lateResultMsFor(text);
    // The code comes so much after the line break in front of it.
    const qsizetype split = late > 0 ? resultCodeTextAt(reply) : -1;
    if (split > 0) {
        Job information{ready, reply.left(split), 0, line_.seq, chunkBytes_, chunkGapMs_};
        information.lastOfAnswer = false;
        schedule(information);
        const TimePoint codeReady = ready + milliseconds(late);
        schedule({codeReady, reply.mid(split), 0, line_.seq, chunkBytes_, chunkGapMs_});
        commandFree_ = codeReady;
    } else {
        schedule({ready, reply, 0, line_.seq, chunkBytes_, chunkGapMs_});
        commandFree_ = ready;
    }
}

void ModemLine::startLine(bool empty, TimePoint at) {
    line_.open = true;
    line_.seq = nextSeq_++;
    line_.text.clear();
    line_.firstByteAt = at;
    line_.instant = instant_;
    line_.silentTo =
        silent_ || (!empty && answerOnlyAttempt_ > 0 && ++commandLinesSeen_ < answerOnlyAttempt_);
    line_.echo = echo_ && !line_.silentTo;
    if (!line_.instant && !empty && !line_.silentTo)
        bindHangUp(line_.seq);
}

// hangUpAfterBytes counts from the answer to this line on.
void ModemLine::bindHangUp(quint64 seq) {
    if (hangUpArmed_ < 0)
        return;
    hangUpCountdown_ = hangUpArmed_;
    hangUpLine_ = seq;
    hangUpArmed_ = -1;
    if (hangUpCountdown_ == 0)
        vanishPending_ = true;
}

// The reply to a command line, without its echo.
QByteArray ModemLine::replyTo(const QByteArray& text) {
    QByteArray reply;
    if (const auto found = replyOverrides_.find(text); found != replyOverrides_.end()) {
        reply = found->second;
    } else {
        const bool refused =
            std::any_of(errorPrefixes_.begin(), errorPrefixes_.end(),
                        [&](const QByteArray& prefix) { return text.startsWith(prefix); });
        reply = refused ? (lowerCase_ ? "\r\nerror\r\n" : "\r\nERROR\r\n")
                        : commands_.execute(text, lowerCase_);
    }
    if (const auto damaged = damage_.find(text); damaged != damage_.end()) {
        const Damage& damage = damaged->second;
        if (damage.index >= 0 && damage.index < reply.size()) {
            if (damage.replacement)
                reply[damage.index] = *damage.replacement;
            else
                reply.remove(damage.index, 1);
        }
        damage_.erase(damaged);
    }
    return reply;
}

int ModemLine::processingMsFor(const QByteArray& text) const {
    const auto found = processingFor_.find(text);
    return found != processingFor_.end() ? found->second : processingMs_;
}

int ModemLine::lateResultMsFor(const QByteArray& text) const {
    const auto found = lateResultFor_.find(text);
    return found != lateResultFor_.end() ? found->second : lateResultMs_;
}

// Puts a byte on the wire after the ones before it: it is through a character
// time after it started, and an adapter hands it on at the next tick of its timer.
void ModemLine::transmit(char c, TimePoint ready, quint64 seq, bool reply, bool last,
                         bool lastOfEcho, bool endsResult) {
    lastFinish_ = std::max(ready, lastFinish_) + characterTime;
    TimePoint due = lastFinish_;
    if (usbLatencyMs_ > 0) {
        const Clock::duration tick = milliseconds(usbLatencyMs_);
        due = usbEpoch_ + ((lastFinish_ - usbEpoch_ + tick - Clock::duration(1)) / tick) * tick;
    }
    outbound_.push_back({c, due, seq, reply, last, lastOfEcho, endsResult});
}

void ModemLine::fire(const Job& job) {
    if (job.unsolicited && line_.open) {
        // Not in the middle of a line the modem is echoing: a little later.
        Job later = job;
        later.ready = job.ready + milliseconds(20);
        schedule(later);
        return;
    }
    TimePoint ready = job.ready;
    for (qsizetype i = 0; i < job.bytes.size(); ++i) {
        const bool last = i == job.bytes.size() - 1;
        if (job.echo) {
            transmit(job.bytes[i], ready, job.line, false, last && job.lastOfAnswer,
                     last && job.lastOfEcho);
            continue;
        }
        const bool reply = !job.unsolicited && i >= job.echoBytes;
        const bool lastOfAnswer = !job.unsolicited && last && job.lastOfAnswer;
        // The echo ends with the command line's CR (an LF after it is the modem's own).
        const bool lastOfEcho =
            job.instant && job.bytes[i] == '\r' && i < job.echoBytes && i >= job.echoBytes - 2;
        const bool endsResult = !job.unsolicited && job.lastOfAnswer &&
                                job.bytes.endsWith("\r\n") && i == job.bytes.size() - 2;
        if (job.chunkBytes > 0 && i > 0 && i % job.chunkBytes == 0)
            ready = std::max(ready, lastFinish_) + milliseconds(job.chunkGapMs);
        if (job.instant) {
            lastFinish_ = std::max(ready, lastFinish_);
            outbound_.push_back(
                {job.bytes[i], lastFinish_, job.line, reply, lastOfAnswer, lastOfEcho});
        } else {
            transmit(job.bytes[i], ready, job.unsolicited ? 0 : job.line, reply, lastOfAnswer,
                     false, endsResult);
        }
    }
}

// Hands the program every byte due by until, no more than the vanishing
// knobs allow.
void ModemLine::deliver(TimePoint until, TimePoint now, ProgramSide& program) {
    qsizetype count = 0;
    while (count < qsizetype(outbound_.size()) && outbound_[count].due <= until)
        ++count;
    if (!program.takesBytes()) {
        for (; count > 0; --count) { // sent into a closed port: lost, as on a real line
            handOver(outbound_.front(), false);
            outbound_.pop_front();
        }
        return;
    }
    if (vanishCountdown_ >= 0)
        count = std::min<qsizetype>(count, vanishCountdown_);
    if (hangUpCountdown_ >= 0)
        count = std::min<qsizetype>(count, hangUpCountdown_);
    QByteArray bytes(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i)
        bytes[i] = outbound_[i].c;
    const qsizetype written =
        count > 0 ? std::max<qsizetype>(0, program.hand(bytes.constData(), count)) : 0;
    for (qsizetype i = 0; i < written; ++i) {
        handOver(outbound_.front(), true);
        outbound_.pop_front();
    }
    for (qint64* countdown : {&vanishCountdown_, &hangUpCountdown_}) {
        if (*countdown >= 0 && (*countdown -= written) == 0)
            vanishPending_ = true;
    }
    if (written < count) {
        if (!writeBlocked_)
            writeStallSince_ = now;
        writeBlocked_ = true;
    }
}

ModemLine::ReceivedLine* ModemLine::lineOf(quint64 seq) {
    const auto found = std::lower_bound(receivedSeqs_.begin(), receivedSeqs_.end(), seq);
    if (found == receivedSeqs_.end() || *found != seq)
        return nullptr; // cleared since, or still coming in
    return &received_[size_t(found - receivedSeqs_.begin())];
}

// Records a byte of an answer as it reaches the program (or is lost).
void ModemLine::handOver(const Outbound& byte, bool delivered) {
    if (byte.lastOfAnswer && byte.line != 0 && byte.line == hangUpLine_)
        vanishPending_ = true;
    if (!delivered)
        return;
    const qint64 end = ++handed_;
    if (byte.line == 0)
        return;
    ReceivedLine* line = lineOf(byte.line);
    if (!line)
        return;
    if (byte.lastOfEcho) {
        line->echoed = true;
        line->echoedAt = byte.due;
        line->echoEnd = end;
    }
    if (!byte.reply)
        return;
    line->answer += byte.c;
    if (byte.c == '\r') // the last CR of an answer ends its result code line
        line->resultAt = byte.due;
    if (byte.endsResult)
        line->resultEnd = end;
    if (byte.lastOfAnswer)
        line->answeredAt = byte.due;
}

TimePoint ModemLine::nextDue(TimePoint latest) const {
    TimePoint next = latest;
    if (!inbound_.empty())
        next = std::min(next, inbound_.front().arrival);
    if (!jobs_.empty())
        next = std::min(next, jobs_.front().ready);
    if (writeBlocked_)
        next = std::min(next, writeStallSince_ + milliseconds(writeStallLimitMs));
    else if (!outbound_.empty())
        next = std::min(next, outbound_.front().due);
    return next;
}
