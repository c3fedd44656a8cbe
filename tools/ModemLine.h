#pragma once

#include "ModemCommandSet.h"

#include <QByteArray>
#include <QByteArrayView>

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <vector>

// A KVZ modem on a serial line at 9600 bit/s 8N1, without any I/O of its own:
// the program's bytes go in with the time they were written, and the modem's
// bytes come out with the time they reach the program. The virtual modem on
// a pseudo-terminal drives it with the real clock; the line simulation drives
// the same model with a virtual one.
//
// Each character takes a character time on the wire (10 bits, 1.0417 ms)
// after the one before it, and the modem acts on it only when it has
// arrived. It echoes each character as it arrives, the CR included; when a
// command line's CR has arrived it processes (20 ms unless set), then sends
// the reply, framed as a V.250 modem in verbose mode frames it (information
// text and result code framed by CR LF). It takes one command line at a
// time: what arrives while it is busy is echoed and taken up only once the
// reply before it has gone out. Every byte it sends is handed to the program
// when it is through, byte by byte, or in bursts at the ticks of a USB
// adapter's latency timer.
//
// Instant mode is for pure tests: no pacing and no processing time; the
// answer to a line, echo and reply, goes in one piece after the reply delay.
//
// A lone CR is echoed but is no command line. An LF is ignored (neither echoed
// nor part of a line) but kept in receivedBytes().
class ModemLine {
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;
    using Input = ModemStoreInput;

    // One character at 9600 bit/s: a start bit, 8 data bits, a stop bit.
    static constexpr Clock::duration characterTime = std::chrono::nanoseconds(1'041'667);

    // A line as it came over the wire; the times are those of the line.
    struct ReceivedLine {
        QByteArray line;       // without its CR and without LFs
        TimePoint at;          // arrival of its CR
        TimePoint firstByteAt; // arrival of its first character (at, for a lone CR)
        // When the last byte of the answer was handed to the program; none when
        // the line got no answer beyond its echo, or the answer was cut off.
        std::optional<TimePoint> answeredAt;
        // When the CR that ends the answer's result code line was handed over:
        // a program that waits for the result code knows the answer then.
        std::optional<TimePoint> resultAt;
        QByteArray answer;   // what was handed over after the echo
        QByteArray reply;    // the whole reply the modem worked out for it (no echo)
        bool echoed = false; // its whole echo was handed to the program
        std::optional<TimePoint> echoedAt;
        // Where in the stream of bytes handed to the program (counted from 0
        // since the model began) its echo ended, and where the CR of its
        // answer's result code line did; -1 while not handed over.
        qint64 echoEnd = -1;
        qint64 resultEnd = -1;
    };

    // Where the program's side of the line is: open or not, and how many
    // bytes it takes now (a pseudo-terminal may be full).
    class ProgramSide {
    public:
        virtual ~ProgramSide() = default;
        virtual bool takesBytes() = 0;
        virtual qsizetype hand(const char* bytes, qsizetype count) = 0;
    };

    explicit ModemLine(TimePoint usbEpoch);

    // The line.
    void setInstant(bool on);
    void setUsbLatencyMs(int ms); // 0 = byte by byte; 1..255 = adapter bursts
    void setProcessingMs(int ms); // between a command line's CR and its reply; default 20
    // For this exact command line, in place of setProcessingMs; negative removes it.
    void setProcessingMsFor(const QByteArray& command, int ms);
    // The final result code comes so much later than the line break in front
    // of it (a modem slow to finish, or an adapter's next burst).
    void setLateResultMs(int ms);
    void setLateResultMsFor(const QByteArray& command, int ms);

    // The answers.
    void setEcho(bool on);                // default on
    void setEchoLineFeed(bool on);        // the echo's CR followed by an LF; default off
    void setSilent(bool on);              // nothing at all is sent back
    void setLowerCase(bool on);           // "ok", "error", "+egphn: ", echo unchanged
    void setReplyDelayMs(int ms);         // more before a reply (instant: before the answer)
    void setChunks(int bytes, int gapMs); // a gap after every so many bytes of a reply
    void setAnswerOnlyAttempt(int n);     // silent to the first n-1 command lines; 0 = always
    // A raw reply in place of the normal one for this exact command line
    // (sent after the echo, if echo is on). An empty text makes it silent.
    void setReplyFor(const QByteArray& command, const QByteArray& reply);
    void clearReplyOverrides();
    // Command lines that start with prefix are answered ERROR and change nothing.
    void setErrorFor(const QByteArray& prefix);
    void clearErrors();
    // The next reply to this exact command line gets its byte at index (of
    // the reply, after the echo) replaced, or lost when there is no
    // replacement. Noise on a line hits once: the replies after it are whole.
    void setDamage(const QByteArray& command, qsizetype index, std::optional<char> replacement);
    // An unsolicited line ("RING", "+CREG: 1") sent at that time, framed by CR
    // LF, between two lines of whatever else the modem sends.
    void sendUnsolicitedAt(TimePoint at, const QByteArray& line);

    ModemCommandSet& commands() { return commands_; }
    const ModemCommandSet& commands() const { return commands_; }

    // What came.
    const std::vector<ReceivedLine>& received() const { return received_; }
    const QByteArray& receivedBytes() const { return receivedBytes_; }
    void clearReceived();

    // Vanishing, as a USB adapter pulled out. The model only says when:
    // vanishPending() turns true and its driver takes the device away.
    void vanishAtLine(int n);         // when the n-th command line from now has arrived
    void vanishAfterBytes(qint64 n);  // once n more bytes have been handed over
    void hangUpAfterBytes(int bytes); // of the answer to the next command line; -1 = never
    bool vanishPending() const { return vanishPending_; }
    void requestVanish() { vanishPending_ = true; }
    // Forgets everything on its way and every pending knob of vanishing, as
    // after the device went away; the line starts afresh at the next byte.
    void resetLine();

    // The program wrote these bytes at `now`; each arrives a character time
    // after the one before (at once in instant mode).
    void takeFromProgram(QByteArrayView bytes, TimePoint now);
    // Does, in the order of the line's time, everything that is due by now,
    // handing the program the bytes due. Stops when vanishing is pending.
    void advance(TimePoint now, ProgramSide& program);
    // The program side takes bytes again after it refused some.
    void programSideReady() { writeBlocked_ = false; }
    bool programSideBlocked() const { return writeBlocked_; }
    // When something next happens, at the latest `latest`.
    TimePoint nextDue(TimePoint latest) const;
    // Bytes the model has put on the wire and not yet handed over.
    bool sending() const { return !outbound_.empty() || !jobs_.empty(); }
    // How many bytes have been handed to the program so far.
    qint64 handedCount() const { return handed_; }

private:
    struct Inbound {
        char c;
        TimePoint arrival;
    };
    // Something the modem sends once its time has come: a reply, part of one,
    // an echo held back while the modem was busy, or an unsolicited line.
    struct Job {
        TimePoint ready;
        QByteArray bytes;
        qsizetype echoBytes = 0; // how many of the bytes are echo (instant mode)
        quint64 line = 0;
        int chunkBytes = 0;
        int chunkGapMs = 0;
        bool instant = false;
        bool unsolicited = false;
        bool lastOfAnswer = true; // the answer to its line is complete with it
        bool echo = false;        // a held-back echo character
        bool lastOfEcho = false;  // the echo of its line is complete with it
    };
    struct Outbound {
        char c;
        TimePoint due;             // when it is handed to the program
        quint64 line = 0;          // the line whose answer it belongs to; 0 for none
        bool reply = false;        // after the echo
        bool lastOfAnswer = false; // the answer to its line is complete with it
        bool lastOfEcho = false;   // the echo of its line is complete with it
        bool endsResult = false;   // the CR of its answer's final result code line
    };
    struct LineInProgress {
        bool open = false;
        quint64 seq = 0;
        QByteArray text;
        TimePoint firstByteAt;
        bool instant = false;
        bool silentTo = false;
        bool echo = true;
    };
    struct Damage {
        qsizetype index;
        std::optional<char> replacement;
    };

    void arrive(char c, TimePoint at);
    void startLine(bool empty, TimePoint at);
    void bindHangUp(quint64 seq);
    QByteArray replyTo(const QByteArray& text);
    void echoCharacter(char c, TimePoint at, bool lastOfEcho, bool lastOfAnswer);
    void schedule(const Job& job);
    void scheduleReply(const QByteArray& text, const QByteArray& reply, TimePoint at);
    void transmit(char c, TimePoint ready, quint64 seq, bool reply, bool last, bool lastOfEcho,
                  bool endsResult = false);
    void fire(const Job& job);
    void deliver(TimePoint until, TimePoint now, ProgramSide& program);
    void handOver(const Outbound& byte, bool delivered);
    ReceivedLine* lineOf(quint64 seq);
    int processingMsFor(const QByteArray& text) const;
    int lateResultMsFor(const QByteArray& text) const;

    // Knobs.
    bool instant_ = false;
    int usbLatencyMs_ = 0;
    int processingMs_ = 20;
    std::map<QByteArray, int> processingFor_;
    int lateResultMs_ = 0;
    std::map<QByteArray, int> lateResultFor_;
    bool echo_ = true;
    bool echoLineFeed_ = false;
    bool silent_ = false;
    bool lowerCase_ = false;
    int replyDelayMs_ = 0;
    int chunkBytes_ = 0;
    int chunkGapMs_ = 0;
    int answerOnlyAttempt_ = 0;
    int commandLinesSeen_ = 0;
    std::map<QByteArray, QByteArray> replyOverrides_;
    std::vector<QByteArray> errorPrefixes_;
    std::map<QByteArray, Damage> damage_;

    ModemCommandSet commands_;
    std::vector<ReceivedLine> received_;
    std::vector<quint64> receivedSeqs_; // the sequence number of each received line
    QByteArray receivedBytes_;

    int hangUpArmed_ = -1;
    int vanishAtLineCount_ = 0;
    qint64 vanishCountdown_ = -1;
    qint64 hangUpCountdown_ = -1;
    quint64 hangUpLine_ = 0;
    bool vanishPending_ = false;

    std::deque<Inbound> inbound_;
    std::deque<Job> jobs_; // in the order of their times
    std::deque<Outbound> outbound_;
    LineInProgress line_;
    quint64 nextSeq_ = 1;
    TimePoint lastArrival_{};
    TimePoint lastFinish_{};  // when the modem's transmitter is free
    TimePoint commandFree_{}; // when the modem can take up the next command line
    TimePoint usbEpoch_;      // the adapter's timer runs freely from here
    bool writeBlocked_ = false;
    TimePoint writeStallSince_{};
    qint64 handed_ = 0;
};
