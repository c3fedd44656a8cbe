#include "ModemConnection.h"

#include "PortNames.h"

#include <QCoreApplication>

ModemConnection::ModemConnection(LinkClock* clock, std::unique_ptr<PortBackend> backend)
    : ownClock_(clock ? nullptr : std::make_unique<SystemClock>()),
      clock_(clock ? clock : ownClock_.get()), port_(std::move(backend)) {
    port_.setTraffic(&traffic_);
}

QStringList ModemConnection::listSystemPorts() const {
    return listPorts_ ? listPorts_() : listSerialPorts();
}

QString ModemConnection::deviceForCommPort() const {
    if (!namedDevice_.isEmpty())
        return namedDevice_;
    if (listing_)
        return deviceForComPort(commPortNumber_, *listing_);
    // Listing the system's ports is only needed where no link names the number.
    const QString linked = linkedDevice(commPortNumber_);
    return linked.isEmpty() ? deviceForComPort(commPortNumber_, listSystemPorts()) : linked;
}

std::optional<PortError> ModemConnection::attach(const QString& device) {
    if (port_.isOpen() && port_.device() != device)
        port_.close();
    if (auto error = port_.open(device))
        return error;
    connectedDevice_ = device;
    return std::nullopt;
}

void ModemConnection::disconnect() {
    port_.close();
    connectedDevice_.clear();
    modemConnected = false;
    owedResultCodes_ = 0;
}

std::optional<PortError> ModemConnection::preparePort() {
    if (connectedDevice_.isEmpty())
        return PortError{PortNotValidError,
                         {},
                         QCoreApplication::translate("ModemConnection", "No modem is connected")};
    if (port_.isOpen() && !port_.failure() && port_.device() == connectedDevice_)
        return std::nullopt;
    if (auto failure = port_.failure())
        return failure;
    PortError lost; // closed under the connection
    lost.device = connectedDevice_;
    lost.lost = true;
    return lost;
}
