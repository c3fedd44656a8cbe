#include "OperationSteps.h"

#include "AtExchange.h"
#include "LinkState.h"
#include "ModemLink.h"
#include "ModemView.h"

std::optional<PortError> preparePort(SerialPort& port) {
    if (port.isOpen())
        port.close();
    port.setPortNumber(linkState().CommPortNumber);
    return port.open();
}

PortError portFailureOf(const SerialPort& port) {
    if (const auto failure = port.failure())
        return *failure;
    PortError closed;
    closed.device = port.device();
    closed.reason = QStringLiteral("The port was closed while in use");
    closed.lost = true;
    return closed;
}

void abandonOnPortError(SerialPort& port, ModemView& view, const PortError& error) {
    if (port.isOpen())
        port.close();
    view.showModemError(portErrorMessage(error));
    view.setStatusText(QStringLiteral("Modem Connected"));
}

bool runJudgedStep(SerialPort& port, ModemView& view, const ExchangeSpec& exchange,
                   const QString& stepText) {
    const ExchangeOutcome outcome = runAtExchange(port, view, exchange);
    if (outcome == ExchangeOutcome::PortFailed) {
        abandonOnPortError(port, view, portFailureOf(port));
        return false;
    }
    linkState().ReplyBuffer.clear();
    view.setStatusText(stepText + (outcome == ExchangeOutcome::Answered
                                       ? QStringLiteral("...OK")
                                       : QStringLiteral("...Failed!")));
    waitPumping(view, PauseAfterReplyMs);
    return true;
}
