#include "ModemConnection.h"

#include "PortNames.h"

ModemConnection::ModemConnection(LinkClock* clock)
    : ownClock_(clock ? nullptr : std::make_unique<SystemClock>()),
      clock_(clock ? clock : ownClock_.get()) {
    port_.setTraffic(&traffic_);
}

QString ModemConnection::deviceForCommPort() const {
    if (!namedDevice_.isEmpty())
        return namedDevice_;
    return listing_ ? deviceForComPort(commPortNumber_, *listing_)
                    : deviceForComPort(commPortNumber_);
}

void ModemConnection::disconnect() {
    port_.close();
    connectedDevice_.clear();
    ModemConnected = false;
}

std::optional<PortError> ModemConnection::reopen() {
    port_.close();
    if (connectedDevice_.isEmpty())
        return PortError{PortNotValidError, {}, QStringLiteral("No modem is connected")};
    return port_.open(connectedDevice_);
}
