#include "OperationRunner.h"

#include "ModemConnection.h"
#include "OperationObserver.h"
#include "PortErrors.h"

#include <QCoreApplication>

namespace {

const char* const connectedText = QT_TRANSLATE_NOOP("OperationRunner", "Modem Connected");

PortError failureOf(const SerialPort& port) {
    if (const auto failure = port.failure())
        return *failure;
    PortError closed; // closed under the operation
    closed.device = port.device();
    closed.lost = true;
    return closed;
}

// Ends an operation that cannot go on; nothing more is sent.
OperationResult stopped(ModemConnection& connection, OperationObserver& view,
                        OperationResult result, OperationEnd end,
                        const std::optional<PortError>& error = {}) {
    result.end = end;
    connection.port().close();
    if (end == OperationEnd::PortUnavailable) {
        // The window stays connected: the port may be free again next time.
        view.showModemError(portErrorMessage(*error, connection.hints()));
        view.setStatusText(QCoreApplication::translate("OperationRunner", connectedText));
    } else if (end == OperationEnd::PortLost) {
        // The window goes back to not connected; it says so itself.
        view.showModemError(portErrorMessage(failureOf(connection.port()), connection.hints()));
    }
    return result;
}

} // namespace

OperationResult runOperation(ModemConnection& connection, OperationObserver& view,
                             const OperationPlan& plan) {
    OperationResult result;
    if (!plan.openingText.isEmpty())
        view.setStatusText(plan.openingText);
    if (view.cancelled())
        return stopped(connection, view, result, OperationEnd::Cancelled);
    // The device the check found is still held open; one that went away
    // ends the operation before anything is sent.
    if (connection.preparePort())
        return stopped(connection, view, result, OperationEnd::PortLost);

    for (qsizetype i = 0; i < plan.steps.size(); ++i) {
        const Step& step = plan.steps[i];
        if (step.announced)
            view.setStatusText(step.text + QStringLiteral("..."));
        const ExchangeOutcome outcome = runAtExchange(connection, view, step.exchange);
        if (outcome == ExchangeOutcome::Cancelled)
            return stopped(connection, view, result, OperationEnd::Cancelled);
        if (outcome == ExchangeOutcome::PortFailed)
            return stopped(connection, view, result, OperationEnd::PortLost);
        connection.replyBuffer.clear();
        const bool answered = outcome == ExchangeOutcome::Answered;
        if (!answered)
            result.unconfirmed << int(i + 1);
        result.steps << StepResult{step.exchange.command, answered};
        view.setStatusText(
            step.text + (answered ? QCoreApplication::translate("OperationRunner", "...OK")
                                  : QCoreApplication::translate("OperationRunner", "...Failed!")));
        if (!waitPumping(connection, view, PauseAfterReplyMs))
            return stopped(connection, view, result, OperationEnd::Cancelled);
    }
    view.setStatusText(QCoreApplication::translate("OperationRunner", connectedText));
    return result;
}

QueryReply runQuery(ModemConnection& connection, OperationObserver& view, const QueryPlan& plan) {
    const auto stop = [&](OperationEnd end) {
        QString arrived;
        if (end == OperationEnd::PortLost) {
            // What arrived before the end still counts: the readers apply the
            // entries that came whole.
            arrived = currentOwnReply(connection).information(connection.replyBuffer).toString();
            view.showModemError(portErrorMessage(failureOf(connection.port()), connection.hints()));
        }
        connection.port().close();
        return QueryReply{end, arrived, false};
    };
    // A close the user asked for meanwhile is taken before anything is sent.
    view.pumpEvents();
    if (view.cancelled())
        return stop(OperationEnd::Cancelled);
    if (connection.preparePort() || !writeCommandLine(connection, plan.query))
        return stop(OperationEnd::PortLost);

    // The modem needs a moment before it starts listing; nothing is read now.
    if (!waitPumping(connection, view, plan.firstWaitMs))
        return stop(OperationEnd::Cancelled);

    connection.sendTime = connection.clock().nowNs();
    switch (collectReply(connection, view,
                         {.command = plan.query,
                          .timeoutMs = plan.timeoutMs,
                          .rule = CompletionRule::FinalResult,
                          .pumpEvents = true,
                          .markers = {}})) {
    case CollectionEnd::PortFailed:
        return stop(OperationEnd::PortLost);
    case CollectionEnd::Cancelled:
        return stop(OperationEnd::Cancelled);
    case CollectionEnd::Ended:
        break;
    }
    // The listing is what came between the query's echo and its own result
    // code; only its own "OK" makes it whole.
    const OwnReply own = currentOwnReply(connection);
    settleResultCodes(connection);
    return {OperationEnd::Completed, own.information(connection.replyBuffer).toString(),
            own.result == FinalResult::Ok};
}

QString spokenList(const QStringList& items) {
    if (items.size() <= 1)
        return items.value(0);
    return items.mid(0, items.size() - 1)
               .join(QCoreApplication::translate("OperationRunner", ", ")) +
           QCoreApplication::translate("OperationRunner", " and ") + items.last();
}
