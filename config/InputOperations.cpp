// The alarm inputs: upload, read-back and the default configuration.
#include "ConfigOperations.h"

#include "ConfigView.h"
#include "DefaultInputs.h"
#include "InputRecords.h"
#include "InputsReply.h"

namespace {

InputsConfig panels(const ConfigView& view) {
    InputsConfig inputs;
    for (int n = 1; n <= InputCount; ++n)
        inputs[n - 1] = view.inputConfig(n);
    return inputs;
}

void setPanels(ConfigView& view, const InputsConfig& inputs) {
    for (int n = 1; n <= InputCount; ++n)
        view.setInputConfig(n, inputs[n - 1]);
}

ExchangeSpec inputRecordExchange(const QString& record) {
    return {record,
            1500,
            CompletionRule::FinalResult,
            true,
            {QStringLiteral("AT"), QStringLiteral("OK")}};
}

} // namespace

OperationPlan sendInputsPlan(const InputsConfig& inputs) {
    const QStringList records = inputRecords(inputs);
    OperationPlan plan{QStringLiteral("Modem Connected, sending..."), {}};
    for (int n = 1; n <= InputCount; ++n) {
        const QString settingsStep = QStringLiteral("Modem Connected, sending Input %1").arg(n);
        const QString messageStep = QStringLiteral("Modem Connected, sending Message %1").arg(n);
        const qsizetype first = qsizetype(n - 1) * 3;
        plan.steps << Step{inputRecordExchange(records[first]), settingsStep, true}
                   << Step{inputRecordExchange(records[first + 1]), messageStep}
                   << Step{inputRecordExchange(records[first + 2]), messageStep};
    }
    return plan;
}

OperationResult SendInputs(ModemConnection& connection, ConfigView& view) {
    // The opening status comes first, then the whole configuration is taken.
    view.setStatusText(QStringLiteral("Modem Connected, sending..."));
    OperationPlan plan = sendInputsPlan(panels(view));
    plan.openingText.clear();
    return runOperation(connection, view, plan);
}

ReadResult GetInputs(ModemConnection& connection, ConfigView& view) {
    const QueryReply reply = runQuery(connection, view, {QStringLiteral("AT+EGINP?")});
    if (reply.end == OperationEnd::Cancelled)
        return {reply.end, false};
    // What arrived whole is applied, also from a reply that was cut.
    const InputsListing listing = parseInputsReply(reply.text);
    for (int n = 1; n <= InputCount; ++n)
        view.setInputConfig(n, applyInputReading(view.inputConfig(n), listing.inputs[n - 1]));
    return {reply.end, reply.complete && listing.whole};
}

void LoadDefaultMessages(ConfigView& view) {
    setPanels(view, withDefaultMessages(panels(view)));
}
