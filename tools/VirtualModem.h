#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

// A KVZ modem on a pseudo-terminal, for tests and for trying Tavek without
// hardware. It answers in the framing of a V.250 modem in verbose mode:
// information text and result codes framed by CR LF. It runs on its own
// thread, so the program under test can poll the port without an event loop.
//
// By default it behaves like a modem on a real serial line at 9600 bit/s 8N1
// (10 bits, 1.0417 ms a character, both ways at once). A pty hands over the
// program's bytes at once, so the modem paces them itself: each character
// "arrives" one character time after the one before, and the modem acts on it
// only then. It echoes each character as it arrives, the CR included; when a
// command line's CR has arrived it processes (20 ms unless set), then sends the
// reply. Every byte it sends takes one character time on the wire and is then
// handed to the program, byte by byte, or in bursts at the ticks of a USB
// adapter's latency timer (setUsbLatencyMs). When the modem thread runs late
// it hands over at once all that is due; the time stamps stay the times the
// line would have given, never earlier than what really happened.
//
// setInstant(true) makes it the modem of pure tests: no pacing and no
// processing time; the answer to a line, echo and reply, goes in one write
// after the reply delay (cut by setChunks).
//
// Every setter is thread-safe. Echo, silence and the attempt count take
// effect with the next line, the rest with the next command line or byte. A
// lone CR is echoed but is no command line: the attempt count passes over it.
// An LF is ignored (neither echoed nor part of a line) but kept in
// receivedBytes(). Lines that the modem keeps silent to (setSilent,
// setAnswerOnlyAttempt) are recorded, not executed.
//
// The modem can vanish like a USB adapter pulled out: its "Com N" link goes
// first, then the pty, so the program's port fails and the path cannot be
// opened again. Bytes already handed over stay delivered: the modem waits
// (bounded) until the program has read them. comeBack() plugs it in again on
// a new pty, with the same link and the configuration it had.
class VirtualModem {
public:
    using Clock = std::chrono::steady_clock;

    // One character at 9600 bit/s: a start bit, 8 data bits, a stop bit.
    static constexpr Clock::duration characterTime = std::chrono::nanoseconds(1'041'667);

    // One alarm input as the modem stores it.
    struct Input {
        int status = 0;      // 1 active, 0 not
        int delay = 0;       // 0..10 (hundreds of milliseconds)
        char rest = 'O';     // 'O' or 'C'
        char bit = 'S';      // 'S' or 'D'
        QByteArray messageC; // text sent when the contact is closed
        QByteArray messageO; // text sent when the contact is open
    };

    // A line as it came over the wire; the times are those of the line.
    struct ReceivedLine {
        QByteArray line;               // without its CR and without LFs
        Clock::time_point at;          // arrival of its CR
        Clock::time_point firstByteAt; // arrival of its first character (at, for a lone CR)
        // When the last byte of the answer was handed to the program; none when
        // the line got no answer beyond its echo, or the answer was cut off.
        std::optional<Clock::time_point> answeredAt;
        // When the CR that ends the answer's result code line was handed over:
        // a program that waits for the result code knows the answer then.
        std::optional<Clock::time_point> resultAt;
        QByteArray answer; // what was handed over after the echo
    };

    VirtualModem();
    ~VirtualModem();
    VirtualModem(const VirtualModem&) = delete;
    VirtualModem& operator=(const VirtualModem&) = delete;

    // The device of the program's side, e.g. /dev/pts/7. Empty once vanished.
    QString devicePath() const;

    // The line.
    void setInstant(bool on);     // all at once, as described above; default off
    void setUsbLatencyMs(int ms); // 0 = byte by byte (default); 1..255 = adapter bursts
    void setProcessingMs(int ms); // between a command line's CR and its reply; default 20
    // For this exact command line, in place of setProcessingMs; negative removes it.
    void setProcessingMsFor(const QByteArray& command, int ms);

    // The answers.
    void setEcho(bool on);                // default on
    void setSilent(bool on);              // nothing at all is sent back
    void setLowerCase(bool on);           // "ok", "error", "+egphn: ", echo unchanged
    void setReplyDelayMs(int ms);         // more before a reply (instant: before the answer)
    void setChunks(int bytes, int gapMs); // a gap after every so many bytes of a reply
                                          // (instant: of the answer); 0 = whole
    void setAnswerOnlyAttempt(int n);     // silent to the first n-1 command lines; 0 = always
    // A raw reply in place of the normal one for this exact command line
    // (sent after the echo, if echo is on). An empty text makes it silent.
    void setReplyFor(const QByteArray& command, const QByteArray& reply);
    void clearReplyOverrides();
    // Command lines that start with prefix are answered ERROR and change nothing.
    void setErrorFor(const QByteArray& prefix);
    void clearErrors();

    std::array<Input, 3> inputs() const;
    void setInputs(const std::array<Input, 3>& inputs);
    // Position 1..20 at index 0..19; empty means free.
    std::array<QByteArray, 20> phoneBook() const;
    void setPhoneBook(const std::array<QByteArray, 20>& numbers);

    std::vector<ReceivedLine> received() const;
    QByteArray receivedBytes() const; // every byte that arrived, LFs included
    void clearReceived();             // both of the above
    // Blocks until received() holds at least count lines, or the time is up.
    bool waitForLines(int count, int timeoutMs) const;

    // Whether the program has the device open. What the modem sends while it
    // is closed is lost, and what the program left unread goes with its close.
    // With two opens at once, closing one may read as closed until the modem
    // next replies.
    bool isPortOpen() const;
    // Blocks until the program has the device open (or closed), or the time is up.
    bool waitForPortOpen(bool open, int timeoutMs) const;

    // Links the device as "Com N" in the ports folder (0 = the first free
    // number) and keeps that link: removed when the modem vanishes or ends,
    // made again by comeBack(). The number taken, or 0 (see linkError()).
    int linkAs(int number = 0);
    QString linkPath() const; // empty while there is no link
    QString linkError() const;

    // Vanishing. hangUp() is at once; the others wait for their moment.
    void hangUp();
    // When the n-th command line from now has arrived, unanswered.
    void vanishAtLine(int n);
    // Once n more bytes have been handed to the program.
    void vanishAfterBytes(int n);
    // The answer to the next command line: vanish after so many of its bytes,
    // or when it is complete; -1 = never.
    void hangUpAfterBytes(int bytes);
    // Plugged in again, on a new device. False when no pty could be had.
    bool comeBack();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
