#pragma once

#include "LinkClock.h"
#include "ModemTraffic.h"
#include "SerialPort.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The one connection to the modem, owned by the main window: the serial
// port, the device the connection check found, and the state of the
// exchange that is running. Every modem operation works on it.
class ModemConnection {
public:
    // The system's clock unless one is given (it must outlive the connection).
    explicit ModemConnection(LinkClock* clock = nullptr);

    SerialPort& port() { return port_; }
    const SerialPort& port() const { return port_; }
    LinkClock& clock() { return *clock_; }
    // Everyone who watches the traffic on the line (none at first).
    ModemTrafficFanOut& traffic() { return traffic_; }

    // "Com N" as the port selector has it: the number the next connection
    // check looks for (1 is the first port).
    qint16 commPortNumber() const { return commPortNumber_; }
    void setCommPortNumber(qint16 number) { commPortNumber_ = number; }
    // The system's ports in "Com" order, as taken when the port selector
    // was filled, so the numbers the user sees are the numbers opened.
    // Until it is given, the ports are listed at each check.
    void setPortListing(const QStringList& listed) { listing_ = listed; }
    // A device named by its path instead of by "Com N" (tavek-cli --port
    // /dev/ttyUSB0): while it is set, the connection check looks for it.
    void setNamedDevice(const QString& device) { namedDevice_ = device; }
    // The device "Com N" (or the named device) stands for now; empty when it names none.
    QString deviceForCommPort() const;

    // The device found by the last successful connection check. Every
    // operation opens this one until the disconnect, whatever happens to the
    // ports folder meanwhile: nothing is ever written to another device.
    QString connectedDevice() const { return connectedDevice_; }
    void setConnectedDevice(const QString& device) { connectedDevice_ = device; }
    // Forgets the device, as on a disconnect; the next check looks afresh.
    void disconnect();

    // Opens the port on the device of the connection, closing it first.
    std::optional<PortError> reopen();

    // Characters received since the current command was written, unchanged.
    QString ReplyBuffer;
    // When the current command was written, on clock().
    qint64 SendTime = 0;
    // Outcome of the last connection check.
    bool ModemConnected = false;

    qint64 sinceSendNs() const { return clock_->nowNs() - SendTime; }

    // True while a command of the window runs on the connection (CommandRun).
    bool busy() const { return busy_; }
    void setBusy(bool busy) { busy_ = busy; }

private:
    std::unique_ptr<SystemClock> ownClock_;
    LinkClock* clock_;
    ModemTrafficFanOut traffic_;
    SerialPort port_;
    qint16 commPortNumber_ = 0;
    std::optional<QStringList> listing_;
    QString namedDevice_;
    QString connectedDevice_;
    bool busy_ = false;
};
