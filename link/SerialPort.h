#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

class QSerialPort;
class ModemTraffic;

// Open failures that the connection check tells apart.
inline constexpr int PortNotValidError = 8002; // no such device
inline constexpr int PortInUseError = 8012;    // held by another program

struct PortError {
    int number = 0;            // PortNotValidError, PortInUseError, or 0 for any other failure
    QString device;            // the device that was looked for or opened (may be empty)
    QString reason;            // what the system said, for the user
    bool accessDenied = false; // the system refused access (user rights, not the port)
    bool lost = false;         // the port failed while it was open
    int comNumber = 0;         // the "Com N" the device was looked for by; 0 when none
};

// The modem's serial port: 9600 bit/s, 8N1, Latin-1 text one byte per
// character. Exactly the operations the modem operations need; it only ever
// polls, it never waits for a notification. Closes itself when destroyed.
class SerialPort {
public:
    SerialPort();
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // The device of the last open.
    QString device() const { return device_; }
    // Who is told of opens, closes, writes, reads and a lost device (may be none).
    void setTraffic(ModemTraffic* traffic) { traffic_ = traffic; }

    bool isOpen() const;
    // Opens the device; an error when it cannot be had.
    std::optional<PortError> open(const QString& device);
    // Closes the port if it is open.
    void close();

    // Characters received and not yet read. Polls the port first, so it is
    // right even while no event loop runs.
    int charactersWaiting();
    // Throws away everything received and not yet read (what is thrown away
    // is still reported to the traffic watcher as received).
    void discardInput();
    // Queues the text for sending. False when the port has been lost.
    bool write(const QString& text);
    // Every character received and not yet read, possibly none.
    QString readAll();
    // Waits up to ms milliseconds for new data to arrive; returns at once
    // when data is already waiting.
    void waitForData(int ms);

    // Set when the port failed while open (an adapter pulled out, the other
    // end of a pseudo-terminal gone); cleared by the next open.
    std::optional<PortError> failure() const { return failure_; }

private:
    std::unique_ptr<QSerialPort> port_;
    QString device_;
    std::optional<PortError> failure_;
    ModemTraffic* traffic_ = nullptr;

    void noteError(int error);
};
