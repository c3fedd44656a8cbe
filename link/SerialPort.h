#pragma once

#include "PortBackend.h"
#include "PortError.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

class ModemTraffic;

// The modem's serial port: 9600 bit/s, 8N1, Latin-1 text one byte per
// character. Exactly the operations the modem operations need, each told to
// whoever watches the traffic; it only ever polls. Closes itself when
// destroyed. The device underneath is the system's serial port unless
// another backend is given (the line simulation's).
class SerialPort {
public:
    explicit SerialPort(std::unique_ptr<PortBackend> backend = makeSystemPortBackend());
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // The device of the last open.
    QString device() const { return device_; }
    // Who is told of opens, closes, writes, reads and a lost device (may be none).
    void setTraffic(ModemTraffic* traffic) { traffic_ = traffic; }
    // Called once when the open device is found gone, also between
    // operations (the system's port learns of it in the event loop).
    void setLostHandler(std::function<void()> handler) { onLost_ = std::move(handler); }

    bool isOpen() const;
    // Opens the device; an error when it cannot be had.
    std::optional<PortError> open(const QString& device);
    // Closes the port if it is open.
    void close();

    // Characters received and not yet read. Polls the port first, so it is
    // right even while no event loop runs.
    int charactersWaiting();
    // Throws away everything received and not yet read, and returns it
    // (it is still reported to the traffic watcher as received).
    QString discardInput();
    // Queues the text for sending. False when the port has been lost.
    bool write(const QString& text);
    // Every character received and not yet read, possibly none.
    QString readAll();
    // Waits up to ms milliseconds for new data to arrive; returns at once
    // when data is already waiting.
    void waitForData(int ms);

    // Set when the port failed while open (an adapter pulled out, the other
    // end of a pseudo-terminal gone); cleared by the next open.
    std::optional<PortError> failure() const;

private:
    void noteLost();

    std::unique_ptr<PortBackend> backend_;
    QString device_;
    ModemTraffic* traffic_ = nullptr;
    std::function<void()> onLost_;
    bool lostReported_ = false;
    // While the port is polled, a loss the device reports waits until the
    // bytes that came before it have been read and shown.
    bool polling_ = false;
};
