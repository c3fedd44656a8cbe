#include "ModemSession.h"

#include "ExitCodes.h"
#include "ModemLink.h"
#include "Output.h"

ModemSession::ModemSession(const PortChoice& port, bool verbose) : port_(port), view_(verbose) {
    connection_.traffic().add(&watch_);
    if (verbose) {
        stderrTraffic_ = std::make_unique<StderrTraffic>();
        connection_.traffic().add(stderrTraffic_.get());
    }
    if (port.device.isEmpty())
        connection_.setCommPortNumber(qint16(port.comNumber));
    else
        connection_.setNamedDevice(port.device);
}

ModemSession::~ModemSession() {
    connection_.disconnect();
}

int ModemSession::connect() {
    const QString device = connection_.deviceForCommPort();
    ConnectModem(connection_, view_);
    if (connection_.ModemConnected)
        return ExitConfirmed;
    QString where = port_.text();
    if (device.isEmpty())
        where += QStringLiteral(" (no such port)");
    else if (device != where)
        where += QStringLiteral(" (%1)").arg(device);
    // The check says "Modem not connected" when the port was had and no
    // modem answered on it; every other end is the port's.
    if (watch_.opened && !watch_.lost) {
        printErrorLine(QStringLiteral("tavek-cli: no modem answered on %1.").arg(where));
        return ExitModemFailed;
    }
    printErrorLine(QStringLiteral("tavek-cli: the port %1 could not be used.").arg(where));
    return ExitPortFailed;
}
