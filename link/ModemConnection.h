#pragma once

#include "LinkClock.h"
#include "LinkEnvironment.h"
#include "ModemTraffic.h"
#include "SerialPort.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The one connection to the modem, owned by the main window: the serial
// port, the device the connection check found, and the state of the
// exchange that is running. Every modem operation works on it.
//
// While connected the port stays open on the device the check found: no
// other device can take its place under the same path (a pseudo-terminal
// number given to another program, a USB adapter swapped on the same
// /dev/ttyUSB0), since the system keeps a device that is held open. A device
// that goes away ends the connection.
class ModemConnection {
public:
    // The system's clock and serial port unless others are given (a given
    // clock must outlive the connection).
    explicit ModemConnection(LinkClock* clock = nullptr,
                             std::unique_ptr<PortBackend> backend = makeSystemPortBackend());
    explicit ModemConnection(const LinkEnvironment& environment)
        : ModemConnection(environment.clock, environment.newPort()) {
        listPorts_ = environment.listPorts;
    }

    SerialPort& port() { return port_; }
    const SerialPort& port() const { return port_; }
    LinkClock& clock() { return *clock_; }
    // Everyone who watches the traffic on the line (none at first).
    ModemTrafficFanOut& traffic() { return traffic_; }

    // The serial ports the system lists now, in "Com" order.
    QStringList listSystemPorts() const;
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

    // The device found by the last successful connection check, held open
    // until the disconnect: nothing is ever written to another device.
    QString connectedDevice() const { return connectedDevice_; }
    // Takes the device as the connection's, holding it open (the check does
    // this on success, with the port it has open). Fails when it cannot be opened.
    std::optional<PortError> attach(const QString& device);
    // Forgets the device and lets the port go, as on a disconnect; the next
    // check looks afresh.
    void disconnect();

    // The port, ready for the next command: still open on the connected
    // device and not failed. The error says why not (a lost device).
    std::optional<PortError> preparePort();

    // What the connection check learned of the modem: whether it echoes the
    // command lines it is sent (V.250's E1, the factory default). A command's
    // own result code comes after its echo; without echo, after every result
    // code that earlier commands still owe.
    bool modemEchoes() const { return modemEchoes_; }
    void setModemEchoes(bool echoes) { modemEchoes_ = echoes; }
    // Commands whose collection ended before their final result code came:
    // the next codes to arrive are theirs (counted only without echo).
    int owedResultCodes() const { return owedResultCodes_; }
    void setOwedResultCodes(int owed) { owedResultCodes_ = qMax(0, owed); }

    // Characters received since the current command was written, unchanged.
    QString replyBuffer;
    // The command last written, whose own reply replyBuffer is collecting,
    // and how many late result codes in it have been reported.
    QString currentCommand;
    qsizetype lateCodesReported = 0;
    // When the current command was written, on clock().
    qint64 sendTime = 0;
    // Outcome of the last connection check.
    bool modemConnected = false;

    qint64 sinceSendNs() const { return clock_->nowNs() - sendTime; }

private:
    std::unique_ptr<SystemClock> ownClock_;
    bool modemEchoes_ = true;
    int owedResultCodes_ = 0;
    LinkClock* clock_;
    ModemTrafficFanOut traffic_;
    SerialPort port_;
    qint16 commPortNumber_ = 0;
    std::optional<QStringList> listing_;
    std::function<QStringList()> listPorts_;
    QString namedDevice_;
    QString connectedDevice_;
};
