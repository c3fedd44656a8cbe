#include "PortBackend.h"

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

class SystemPortBackend final : public PortBackend {
public:
    SystemPortBackend() {
        applyLineSettings(port_);
        QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                         [this](QSerialPort::SerialPortError error) { noteError(error); });
    }
    ~SystemPortBackend() override { close(); }

    std::optional<PortError> open(const QString& device) override {
        if (port_.isOpen())
            return std::nullopt;
        failure_.reset();
        device_ = device;
        port_.setPortName(device);
        if (!port_.open(QIODevice::ReadWrite)) {
            PortError error = classifyOpenFailure(port_.error(), port_.errorString(), device);
            // A device that vanished while being opened leaves odd reasons behind
            // ("Inappropriate ioctl for device"); that it is gone is what counts.
            if (!QFileInfo::exists(device))
                error.number = PortNotValidError;
            return error;
        }
        // A modem wants DTR and RTS; a pseudo-terminal has neither and says
        // UnsupportedOperationError, which noteError() lets pass.
        port_.setDataTerminalReady(true);
        port_.setRequestToSend(true);
        return std::nullopt;
    }

    void close() override {
        if (port_.isOpen())
            port_.close();
    }
    bool isOpen() const override { return port_.isOpen(); }

    qint64 bytesWaiting() override {
        if (!port_.isOpen())
            return 0;
        // Without an event loop QSerialPort only learns of new bytes here.
        port_.waitForReadyRead(0);
        return port_.bytesAvailable();
    }

    QByteArray readAll() override {
        if (!port_.isOpen())
            return {};
        port_.waitForReadyRead(0);
        return port_.readAll();
    }

    bool write(const QByteArray& bytes) override {
        if (!port_.isOpen() || failure_)
            return false;
        if (port_.write(bytes) != bytes.size())
            return false;
        // Hands the bytes to the system now, without waiting for them to
        // leave: no event loop may run to do it for us.
        port_.flush();
        return !failure_;
    }

    void waitForData(int ms) override {
        if (!port_.isOpen() || failure_ || port_.bytesAvailable() > 0)
            return;
        port_.waitForReadyRead(ms);
    }

    void clearInput() override {
        if (port_.isOpen())
            port_.clear(QSerialPort::Input);
    }

    std::optional<PortError> failure() const override { return failure_; }
    void setLostHandler(std::function<void()> handler) override { lost_ = std::move(handler); }

private:
    void noteError(QSerialPort::SerialPortError error) {
        // Open failures are answered by open() itself; only a port that was
        // working can be lost. The first error tells the cause, the rest follow.
        if (!port_.isOpen() || failure_ || !isPortLost(error))
            return;
        PortError lost;
        lost.device = device_;
        lost.reason = port_.errorString();
        lost.lost = true;
        failure_ = lost;
        if (lost_)
            lost_();
    }

    QSerialPort port_;
    QString device_;
    std::optional<PortError> failure_;
    std::function<void()> lost_;
};

} // namespace

std::unique_ptr<PortBackend> makeSystemPortBackend() {
    return std::make_unique<SystemPortBackend>();
}
