// The alarm inputs: upload, read-back and the default configuration.
#include "ConfigOperations.h"

#include "DefaultInputs.h"
#include "InputRecords.h"
#include "InputsReply.h"
#include "OperationObserver.h"

#include <QCoreApplication>

namespace {

ExchangeSpec inputRecordExchange(const QString& record) {
    return {.command = record,
            .timeoutMs = 1500,
            .rule = CompletionRule::FinalResult,
            .pumpEvents = true,
            .markers = {QStringLiteral("AT"), QStringLiteral("OK")}};
}

} // namespace

OperationPlan sendInputsPlan(const InputsConfig& inputs) {
    const QStringList records = inputRecords(inputs);
    OperationPlan plan{.openingText = QCoreApplication::translate("InputOperations",
                                                                  "Modem Connected, sending..."),
                       .steps = {}};
    for (int n = 1; n <= InputCount; ++n) {
        const QString settingsStep =
            QCoreApplication::translate("InputOperations", "Modem Connected, sending Input %1")
                .arg(n);
        const QString messageStep =
            QCoreApplication::translate("InputOperations", "Modem Connected, sending Message %1")
                .arg(n);
        const qsizetype first = qsizetype(n - 1) * 3;
        plan.steps << Step{.exchange = inputRecordExchange(records[first]),
                           .text = settingsStep,
                           .announced = true}
                   << Step{.exchange = inputRecordExchange(records[first + 1]), .text = messageStep}
                   << Step{.exchange = inputRecordExchange(records[first + 2]),
                           .text = messageStep};
    }
    return plan;
}

OperationResult sendInputs(ModemConnection& connection, OperationObserver& observer,
                           const InputsConfig& inputs) {
    return runOperation(connection, observer, sendInputsPlan(inputs));
}

InputsRead getInputs(ModemConnection& connection, OperationObserver& observer) {
    const QueryReply reply = runQuery(connection, observer, {QStringLiteral("AT+EGINP?")});
    if (reply.end == OperationEnd::Cancelled)
        return {reply.end, false, {}};
    // What arrived whole counts, also from a reply that was cut.
    const InputsListing listing = parseInputsReply(reply.text);
    return {reply.end, reply.complete && listing.whole, listing.inputs};
}

InputsConfig applyInputsReading(InputsConfig shown, const InputsReading& arrived) {
    for (int n = 1; n <= InputCount; ++n)
        shown[n - 1] = applyInputReading(shown[n - 1], arrived[n - 1]);
    return shown;
}

InputsConfig loadDefaultMessages(const InputsConfig& shown) {
    return withDefaultMessages(shown);
}
