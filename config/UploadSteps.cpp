#include "UploadSteps.h"

#include "AtExchange.h"
#include "LinkState.h"
#include "ModemLink.h"
#include "ModemView.h"
#include "SerialPort.h"

namespace {

constexpr int PauseAfterReplyMs = 200;

PortError lostPortError(const SerialPort& port) {
    return port.failure().value_or(
        PortError{0, QString(), QStringLiteral("The connection to the port was lost.")});
}

} // namespace

std::optional<PortError> preparePort(SerialPort& port) {
    if (port.isOpen())
        port.close();
    port.setPortNumber(linkState().CommPortNumber);
    return port.open();
}

bool sendRecordStep(SerialPort& port, ModemView& view, const ExchangeSpec& spec,
                    const QString& stepText) {
    const ExchangeOutcome outcome = runAtExchange(port, view, spec);
    linkState().ReplyBuffer.clear();
    if (outcome == ExchangeOutcome::PortFailed) {
        view.setStatusText(stepText + QStringLiteral("...Failed!"));
        abandonUpload(port, view, lostPortError(port));
        return false;
    }
    view.setStatusText(stepText + (outcome == ExchangeOutcome::Answered
                                       ? QStringLiteral("...OK")
                                       : QStringLiteral("...Failed!")));
    waitPumping(view, PauseAfterReplyMs);
    return true;
}

void abandonUpload(SerialPort& port, ModemView& view, const PortError& error) {
    if (port.isOpen())
        port.close();
    view.showModemError(portErrorMessage(error));
    view.setStatusText(QStringLiteral("Modem Connected"));
}
