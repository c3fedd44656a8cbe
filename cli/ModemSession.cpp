#include "ModemSession.h"

#include "ExitCodes.h"
#include "ModemLink.h"
#include "Output.h"

#include <QFileInfo>

ModemSession::ModemSession(const PortChoice& port, bool verbose) : port_(port), view_(verbose) {
    connection_.traffic().add(&watch_);
    if (verbose) {
        stderrTraffic_ = std::make_unique<StderrTraffic>();
        connection_.traffic().add(stderrTraffic_.get());
    }
    if (port.device.isEmpty()) {
        connection_.setCommPortNumber(qint16(port.comNumber));
    } else {
        // As for a link in the ports folder: a stable alias such as
        // /dev/serial/by-id/... is opened by its real name, so that its lock
        // file is the one other programs look for.
        const QString resolved = QFileInfo(port.device).canonicalFilePath();
        connection_.setNamedDevice(resolved.isEmpty() ? port.device : resolved);
    }
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
