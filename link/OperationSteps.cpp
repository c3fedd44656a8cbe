#include "OperationSteps.h"

#include "AtExchange.h"
#include "LinkState.h"
#include "ModemView.h"
#include "PortErrors.h"

namespace {
const QString connectedText = QStringLiteral("Modem Connected");
} // namespace

std::optional<PortError> preparePort(SerialPort& port) {
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

bool OperationSteps::start() {
    if (view_.cancelled()) {
        stop(OperationEnd::Cancelled, {});
        return false;
    }
    if (const auto error = preparePort(port_)) {
        stop(OperationEnd::PortUnavailable, *error);
        return false;
    }
    return true;
}

bool OperationSteps::step(int number, const ExchangeSpec& exchange, const QString& stepText) {
    const ExchangeOutcome outcome = runAtExchange(port_, view_, exchange);
    if (outcome == ExchangeOutcome::Cancelled) {
        stop(OperationEnd::Cancelled, {});
        return false;
    }
    if (outcome == ExchangeOutcome::PortFailed) {
        stop(OperationEnd::PortLost, portFailureOf(port_));
        return false;
    }
    linkState().ReplyBuffer.clear();
    const bool answered = outcome == ExchangeOutcome::Answered;
    if (!answered)
        result_.unconfirmed << number;
    view_.setStatusText(stepText +
                        (answered ? QStringLiteral("...OK") : QStringLiteral("...Failed!")));
    if (!waitPumping(view_, PauseAfterReplyMs)) {
        stop(OperationEnd::Cancelled, {});
        return false;
    }
    return true;
}

OperationResult OperationSteps::finish(bool closePort) {
    if (closePort)
        port_.close();
    view_.setStatusText(connectedText);
    return result_;
}

void OperationSteps::stop(OperationEnd end, const PortError& error) {
    result_.end = end;
    port_.close();
    switch (end) {
    case OperationEnd::PortUnavailable:
        // The window stays connected: the port may be free again next time.
        view_.showModemError(portErrorMessage(error));
        view_.setStatusText(connectedText);
        break;
    case OperationEnd::PortLost:
        // The window goes back to not connected; it says so itself.
        view_.showModemError(portErrorMessage(error));
        break;
    case OperationEnd::Cancelled:
    case OperationEnd::Completed:
        break;
    }
}

QString spokenList(const QStringList& items) {
    if (items.size() <= 1)
        return items.value(0);
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.last();
}
