#include "ModemConnection.h"

#include "PortNames.h"

ModemConnection::ModemConnection(LinkClock* clock, std::unique_ptr<PortBackend> backend)
    : ownClock_(clock ? nullptr : std::make_unique<SystemClock>()),
      clock_(clock ? clock : ownClock_.get()), port_(std::move(backend)) {
    port_.setTraffic(&traffic_);
}

QString ModemConnection::deviceForCommPort() const {
    if (!namedDevice_.isEmpty())
        return namedDevice_;
    return listing_ ? deviceForComPort(commPortNumber_, *listing_)
                    : deviceForComPort(commPortNumber_);
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
    ModemConnected = false;
    owedResultCodes_ = 0;
}

std::optional<PortError> ModemConnection::preparePort() {
    if (connectedDevice_.isEmpty())
        return PortError{PortNotValidError, {}, QStringLiteral("No modem is connected")};
    if (port_.isOpen() && !port_.failure() && port_.device() == connectedDevice_)
        return std::nullopt;
    if (auto failure = port_.failure())
        return failure;
    PortError lost; // closed under the connection
    lost.device = connectedDevice_;
    lost.lost = true;
    return lost;
}
