#include "SerialPort.h"

#include "ModemTraffic.h"

#include <QCoreApplication>
#include <QScopedValueRollback>

SerialPort::SerialPort(std::unique_ptr<PortBackend> backend) : backend_(std::move(backend)) {
    backend_->setLostHandler([this] {
        if (!polling_)
            noteLost();
    });
}

SerialPort::~SerialPort() {
    close();
}

bool SerialPort::isOpen() const {
    return backend_->isOpen();
}

std::optional<PortError> SerialPort::open(const QString& device) {
    if (backend_->isOpen())
        return std::nullopt;
    device_ = device;
    lostReported_ = false;
    if (device.isEmpty())
        return PortError{PortNotValidError,
                         {},
                         QCoreApplication::translate("SerialPort", "No device was named")};
    if (auto error = backend_->open(device))
        return error;
    if (traffic_)
        traffic_->portOpened(device_);
    return std::nullopt;
}

void SerialPort::close() {
    if (!backend_->isOpen())
        return;
    noteLost();
    backend_->close();
    if (traffic_)
        traffic_->portClosed(device_);
}

int SerialPort::charactersWaiting() {
    const QScopedValueRollback polling(polling_, true);
    const int waiting = int(backend_->bytesWaiting());
    // The loss is told after the bytes that came before it.
    if (waiting == 0)
        noteLost();
    return waiting;
}

QString SerialPort::discardInput() {
    if (!backend_->isOpen())
        return {};
    const QString late = readAll();
    if (traffic_ && !late.isEmpty())
        traffic_->discarded(int(late.size()));
    backend_->clearInput();
    return late;
}

bool SerialPort::write(const QString& text) {
    if (!backend_->isOpen() || backend_->failure())
        return false;
    // The line carries one Latin-1 byte a character. Text is checked where it
    // enters the program; one that still holds another character is never
    // sent with "?" in its place.
    for (const QChar c : text) {
        if (c.unicode() > 0xFF) {
            qCritical("a command line with a character the line cannot carry was not sent");
            return false;
        }
    }
    if (traffic_)
        traffic_->sent(text);
    const QScopedValueRollback polling(polling_, true);
    const bool written = backend_->write(text.toLatin1());
    noteLost();
    return written && !backend_->failure();
}

QString SerialPort::readAll() {
    const QScopedValueRollback polling(polling_, true);
    const QString text = QString::fromLatin1(backend_->readAll());
    if (traffic_ && !text.isEmpty())
        traffic_->received(text);
    noteLost();
    return text;
}

void SerialPort::waitForData(int ms) {
    const QScopedValueRollback polling(polling_, true);
    backend_->waitForData(ms);
    if (backend_->bytesWaiting() == 0)
        noteLost();
}

std::optional<PortError> SerialPort::failure() const {
    return backend_->failure();
}

// Once per open: the first sign that the device is gone is reported; the
// ones that follow it are the same loss.
void SerialPort::noteLost() {
    if (lostReported_ || !backend_->isOpen() || !backend_->failure())
        return;
    lostReported_ = true;
    if (traffic_)
        traffic_->portLost(device_);
    if (onLost_)
        onLost_();
}
