#pragma once

#include "PortError.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// The device under the serial port: bytes in and out, and whether it is
// still there. The program uses the system's serial port (QSerialPort); the
// line simulation puts a modem model on virtual time behind the same seam.
// Everything polls: no event loop is needed for any of it.
class PortBackend {
public:
    virtual ~PortBackend() = default;

    // Opens the device at 9600 bit/s 8N1 without flow control; the reason
    // when it cannot be had.
    virtual std::optional<PortError> open(const QString& device) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Bytes received and not yet read; looks at the device first.
    virtual qint64 bytesWaiting() = 0;
    virtual QByteArray readAll() = 0;
    // Hands the bytes to the device's driver; false when it refuses them.
    virtual bool write(const QByteArray& bytes) = 0;
    // Waits up to ms milliseconds for bytes; returns at once when some wait.
    virtual void waitForData(int ms) = 0;
    // Throws away what was received and not yet read.
    virtual void clearInput() = 0;

    // Set once the open device failed (an adapter pulled out, the other end
    // of a pseudo-terminal gone); cleared by the next open.
    virtual std::optional<PortError> failure() const = 0;
    // Called once when failure() is first set, also while nobody polls (the
    // system's port learns of it in the event loop).
    virtual void setLostHandler(std::function<void()> handler) = 0;
};

// The system's serial port.
std::unique_ptr<PortBackend> makeSystemPortBackend();
