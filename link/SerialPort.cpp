#include "SerialPort.h"

#include "ModemTraffic.h"
#include "PortErrors.h"

#include <QFileInfo>
#include <QSerialPort>

namespace {

// The modem's line: 9600 bit/s, 8N1, no flow control; a receive buffer of
// 1024 characters. QSerialPort has no setting for the transmit buffer: it
// grows as needed, and the system's own buffer takes our short lines at once.
void applyLineSettings(QSerialPort& port) {
    port.setBaudRate(QSerialPort::Baud9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    port.setReadBufferSize(1024);
}

} // namespace

SerialPort::SerialPort() : port_(std::make_unique<QSerialPort>()) {
    applyLineSettings(*port_);
    QObject::connect(port_.get(), &QSerialPort::errorOccurred, port_.get(),
                     [this](QSerialPort::SerialPortError error) { noteError(error); });
}

SerialPort::~SerialPort() {
    close();
}

bool SerialPort::isOpen() const {
    return port_->isOpen();
}

std::optional<PortError> SerialPort::open(const QString& device) {
    if (port_->isOpen())
        return std::nullopt;
    failure_.reset();
    device_ = device;
    if (device_.isEmpty())
        return PortError{PortNotValidError, {}, QStringLiteral("No device was named")};
    port_->setPortName(device_);
    if (!port_->open(QIODevice::ReadWrite)) {
        PortError error = classifyOpenFailure(port_->error(), port_->errorString(), device_);
        // A device that vanished while being opened leaves odd reasons behind
        // ("Inappropriate ioctl for device"); that it is gone is what counts.
        if (!QFileInfo::exists(device_))
            error.number = PortNotValidError;
        return error;
    }
    // A modem wants DTR and RTS; a pseudo-terminal has neither and says
    // UnsupportedOperationError, which noteError() lets pass.
    port_->setDataTerminalReady(true);
    port_->setRequestToSend(true);
    if (traffic_)
        traffic_->portOpened(device_);
    return std::nullopt;
}

void SerialPort::close() {
    if (!port_->isOpen())
        return;
    port_->close();
    if (traffic_)
        traffic_->portClosed(device_);
}

int SerialPort::charactersWaiting() {
    if (!port_->isOpen())
        return 0;
    // Without an event loop QSerialPort only learns of new bytes here.
    port_->waitForReadyRead(0);
    return int(port_->bytesAvailable());
}

void SerialPort::discardInput() {
    if (!port_->isOpen())
        return;
    if (traffic_) {
        const QString late = readAll();
        if (!late.isEmpty())
            traffic_->discarded(int(late.size()));
    }
    port_->clear(QSerialPort::Input);
}

bool SerialPort::write(const QString& text) {
    if (!port_->isOpen() || failure_)
        return false;
    const QByteArray bytes = text.toLatin1();
    if (traffic_)
        traffic_->sent(text);
    if (port_->write(bytes) != bytes.size())
        return false;
    // Hands the bytes to the system now, without waiting for them to leave:
    // no event loop may run to do it for us.
    port_->flush();
    return !failure_;
}

QString SerialPort::readAll() {
    if (!port_->isOpen())
        return {};
    port_->waitForReadyRead(0);
    const QString text = QString::fromLatin1(port_->readAll());
    if (traffic_ && !text.isEmpty())
        traffic_->received(text);
    return text;
}

void SerialPort::waitForData(int ms) {
    if (!port_->isOpen() || failure_ || port_->bytesAvailable() > 0)
        return;
    port_->waitForReadyRead(ms);
}

void SerialPort::noteError(int error) {
    // Open failures are answered by open() itself; only a port that was
    // working can be lost. The first error tells the cause, the rest follow.
    const auto serialError = static_cast<QSerialPort::SerialPortError>(error);
    if (!port_->isOpen() || failure_ || !isPortLost(serialError))
        return;
    PortError lost;
    lost.device = device_;
    lost.reason = port_->errorString();
    lost.lost = true;
    failure_ = lost;
    if (traffic_)
        traffic_->portLost(device_);
}
