#pragma once

#include "ModemLine.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

// A KVZ modem on a pseudo-terminal, for tests and for trying Tavek without
// hardware. It runs on its own thread, so the program under test can poll
// the port without an event loop. What it answers, and when, is the modem
// model of ModemLine.h, on the real clock: by default a modem on a real
// serial line at 9600 bit/s. A pty hands over the program's bytes at once,
// so the model paces them itself. When the modem thread runs late it hands
// over at once all that is due; the time stamps stay the times the line
// would have given, never earlier than what really happened.
//
// Every setter is thread-safe. Echo, silence and the attempt count take
// effect with the next line, the rest with the next command line or byte.
// Lines that the modem keeps silent to (setSilent, setAnswerOnlyAttempt) are
// recorded, not executed.
//
// The modem can vanish like a USB adapter pulled out: its "Com N" link goes
// first, then the pty, so the program's port fails and the path cannot be
// opened again. Bytes already handed over stay delivered: the modem waits
// (bounded) until the program has read them. comeBack() plugs it in again on
// a new pty, with the same link and the configuration it had.
class VirtualModem {
public:
    using Clock = ModemLine::Clock;
    using Input = ModemStoreInput;
    using ReceivedLine = ModemLine::ReceivedLine;

    static constexpr Clock::duration characterTime = ModemLine::characterTime;

    VirtualModem();
    ~VirtualModem();
    VirtualModem(const VirtualModem&) = delete;
    VirtualModem& operator=(const VirtualModem&) = delete;

    // The device of the program's side, e.g. /dev/pts/7. Empty once vanished.
    QString devicePath() const;

    // The line (see ModemLine.h for each knob).
    void setInstant(bool on);
    void setUsbLatencyMs(int ms);
    void setProcessingMs(int ms);
    void setProcessingMsFor(const QByteArray& command, int ms);
    void setLateResultMs(int ms);
    void setLateResultMsFor(const QByteArray& command, int ms);

    // The answers.
    void setEcho(bool on);
    void setEchoLineFeed(bool on);
    void setSilent(bool on);
    void setLowerCase(bool on);
    void setReplyDelayMs(int ms);
    void setChunks(int bytes, int gapMs);
    void setAnswerOnlyAttempt(int n);
    void setReplyFor(const QByteArray& command, const QByteArray& reply);
    void clearReplyOverrides();
    void setErrorFor(const QByteArray& prefix);
    void clearErrors();
    // Unsolicited lines in the middle of the listings (ModemCommandSet).
    void setStrayLinesInListings(const QList<std::pair<int, QByteArray>>& lines);
    // A modem that does not keep its writes as sent (ModemCommandSet).
    void setStoreFault(ModemCommandSet::StoreFault fault);

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
