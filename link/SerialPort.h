#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>
#include <optional>

class QSerialPort;

// Open failures that the connection check tells apart.
inline constexpr int PortNotValidError = 8002; // no such device
inline constexpr int PortInUseError = 8012;    // held by another program

struct PortError {
    int number = 0;            // PortNotValidError, PortInUseError, or 0 for any other failure
    QString device;            // the device that the port number resolved to (may be empty)
    QString reason;            // what the system said, for the user
    bool accessDenied = false; // the system refused access (user rights, not the port)
    bool lost = false;         // the port failed while it was open
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

    // Chooses the "Com N" that the next open uses; only while closed.
    void setPortNumber(qint16 number);
    qint16 portNumber() const;
    // The system's ports in "Com" order as listSerialPorts() took them when
    // the port selector was filled (PortNames.h). Until it is given, every
    // open lists the ports itself.
    void setPortListing(const QStringList& listed);
    // The device the last open resolved the port number to.
    QString device() const;
    // From now on every open uses this device, whatever the port number and
    // the ports folder say: the device found by the connection check is the
    // one the user connected to, and no operation may write to another.
    void pinDevice(const QString& device);
    // Back to resolving the port number at each open (after a disconnect).
    void unpinDevice();
    bool devicePinned() const { return pinned_; }

    bool isOpen() const;
    // Opens the chosen port; an error when it cannot be had.
    std::optional<PortError> open();
    // Closes the port if it is open.
    void close();

    // Characters received and not yet read. Polls the port first, so it is
    // right even while no event loop runs.
    int charactersWaiting();
    // Throws away everything received and not yet read.
    void discardInput();
    // Queues the text for sending. False when the port has been lost.
    bool write(const QString& text);
    // Every character received and not yet read, possibly none.
    QString readAll();
    // 0: a read returns everything waiting (the only length in use).
    void setReadLength(int length);
    // Waits up to ms milliseconds for new data to arrive; returns at once
    // when data is already waiting.
    void waitForData(int ms);

    // Set when the port failed while open (an adapter pulled out, the other
    // end of a pseudo-terminal gone); cleared by the next open.
    std::optional<PortError> failure() const;

private:
    std::unique_ptr<QSerialPort> port_;
    qint16 number_ = 0;
    int readLength_ = 0;
    std::optional<QStringList> listing_;
    QString device_;
    bool pinned_ = false;
    std::optional<PortError> failure_;

    void noteError(int error);
};
