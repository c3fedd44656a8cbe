// The alarm inputs: upload, read-back and the default configuration.
#include "ConfigOperations.h"

#include "AtExchange.h"
#include "ConfigView.h"
#include "DefaultInputs.h"
#include "InputRecords.h"
#include "InputsReply.h"
#include "OperationSteps.h"
#include "QueryReply.h"
#include "SerialPort.h"

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

OperationResult SendInputs(SerialPort& port, ConfigView& view) {
    view.setStatusText(QStringLiteral("Modem Connected, sending..."));
    // The whole configuration is taken before anything is sent.
    const QStringList records = inputRecords(panels(view));

    OperationSteps steps(port, view);
    if (!steps.start())
        return steps.result();
    for (int n = 1; n <= InputCount; ++n) {
        const QString settingsStep = QStringLiteral("Modem Connected, sending Input %1").arg(n);
        const QString messageStep = QStringLiteral("Modem Connected, sending Message %1").arg(n);
        view.setStatusText(settingsStep + QStringLiteral("..."));
        const int first = (n - 1) * 3;
        if (!steps.step(first + 1, inputRecordExchange(records[first]), settingsStep) ||
            !steps.step(first + 2, inputRecordExchange(records[first + 1]), messageStep) ||
            !steps.step(first + 3, inputRecordExchange(records[first + 2]), messageStep))
            return steps.result();
    }
    // The port stays open.
    return steps.finish(false);
}

ReadResult GetInputs(SerialPort& port, ConfigView& view) {
    const QueryReply reply = readQueryReply(port, view, QStringLiteral("AT+EGINP?"));
    if (reply.end == OperationEnd::Cancelled)
        return {reply.end, false};
    // What arrived whole is applied, also from a reply that was cut.
    const InputsReading readings = parseInputsReply(reply.text);
    for (int n = 1; n <= InputCount; ++n)
        view.setInputConfig(n, applyInputReading(view.inputConfig(n), readings[n - 1]));
    return {reply.end, reply.complete};
}

void LoadDefaultMessages(ConfigView& view) {
    setPanels(view, withDefaultMessages(panels(view)));
}

OperationResult clickSendInputs(SerialPort& port, ConfigView& view) {
    view.setToolbarEnabled(false);
    view.setFramesEnabled(false);
    const OperationResult result = SendInputs(port, view);
    view.setToolbarEnabled(true);
    view.setFramesEnabled(true);
    return result;
}
