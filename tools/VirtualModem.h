#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <chrono>
#include <memory>
#include <vector>

// A KVZ modem on a pseudo-terminal, for tests and for trying Tavek without
// hardware. It answers in the framing of a V.250 modem in verbose mode: the
// echo is the command line as received (ending in its CR); information text
// and result codes are framed by CR LF. It runs on its own thread, so the
// program under test can poll the port without an event loop.
//
// Every setter is thread-safe and takes effect with the next command line.
// The answer to a line is its echo followed by the reply; the delay, the
// chunks and the hang-up act on the whole answer. A lone CR is echoed but is
// no command line: the attempt count passes over it. Lines that the modem
// keeps silent to (setSilent, setAnswerOnlyAttempt) are recorded, not executed.
// A hang-up after some bytes waits until the program has read them, as bytes
// already delivered stay delivered when a real modem is pulled out.
class VirtualModem {
public:
    using Clock = std::chrono::steady_clock;

    // One alarm input as the modem stores it.
    struct Input {
        int status = 0;      // 1 active, 0 not
        int delay = 0;       // 0..10 (hundreds of milliseconds)
        char rest = 'O';     // 'O' or 'C'
        char bit = 'S';      // 'S' or 'D'
        QByteArray messageC; // text sent when the contact is closed
        QByteArray messageO; // text sent when the contact is open
    };

    struct ReceivedLine {
        QByteArray line; // without its CR
        Clock::time_point at;
    };

    VirtualModem();
    ~VirtualModem();
    VirtualModem(const VirtualModem&) = delete;
    VirtualModem& operator=(const VirtualModem&) = delete;

    // The device of the program's side, e.g. /dev/pts/7. Empty after a hang-up.
    QString devicePath() const;

    void setEcho(bool on);                // default on
    void setSilent(bool on);              // nothing at all is sent back
    void setLowerCase(bool on);           // "ok", "+egphn: ", echo unchanged
    void setReplyDelayMs(int ms);         // before the first byte of a reply
    void setChunks(int bytes, int gapMs); // replies cut into pieces with gaps; 0 = whole
    void setAnswerOnlyAttempt(int n);     // silent to the first n-1 command lines; 0 = always
    // The answer to the next command line: close the pty after so many bytes; -1 = never.
    void hangUpAfterBytes(int bytes);
    // A raw reply in place of the normal one for this exact command line
    // (sent after the echo, if echo is on). An empty text makes it silent.
    void setReplyFor(const QByteArray& command, const QByteArray& reply);
    void clearReplyOverrides();

    std::array<Input, 3> inputs() const;
    void setInputs(const std::array<Input, 3>& inputs);
    // Position 1..20 at index 0..19; empty means free.
    std::array<QByteArray, 20> phoneBook() const;
    void setPhoneBook(const std::array<QByteArray, 20>& numbers);

    std::vector<ReceivedLine> received() const;
    void clearReceived();
    // Blocks until received() holds at least count lines, or the time is up.
    bool waitForLines(int count, int timeoutMs) const;

    // Whether the program has the device open. What the modem sends while it
    // is closed is lost, and what the program left unread goes with its close.
    // With two opens at once, closing one may read as closed until the modem
    // next replies.
    bool isPortOpen() const;
    // Blocks until the program has the device open (or closed), or the time is up.
    bool waitForPortOpen(bool open, int timeoutMs) const;

    // Closes the pseudo-terminal now, as a modem pulled out would.
    void hangUp();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
