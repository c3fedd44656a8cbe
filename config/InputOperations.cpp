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
    return {
        record, 1500, CompletionRule::Draining, true, {QStringLiteral("AT"), QStringLiteral("OK")}};
}

} // namespace

void SendInputs(SerialPort& port, ConfigView& view) {
    view.setStatusText(QStringLiteral("Modem Connected, sending..."));
    // The whole configuration is taken before anything is sent.
    const QStringList records = inputRecords(panels(view));

    if (auto error = preparePort(port)) {
        abandonOnPortError(port, view, *error);
        return;
    }
    for (int n = 1; n <= InputCount; ++n) {
        const QString settingsStep = QStringLiteral("Modem Connected, sending Input %1").arg(n);
        const QString messageStep = QStringLiteral("Modem Connected, sending Message %1").arg(n);
        view.setStatusText(settingsStep + QStringLiteral("..."));
        const qsizetype first = qsizetype(n - 1) * 3;
        if (!runJudgedStep(port, view, inputRecordExchange(records[first]), settingsStep) ||
            !runJudgedStep(port, view, inputRecordExchange(records[first + 1]), messageStep) ||
            !runJudgedStep(port, view, inputRecordExchange(records[first + 2]), messageStep))
            return;
    }
    // The port stays open.
    view.setStatusText(QStringLiteral("Modem Connected"));
}

void GetInputs(SerialPort& port, ConfigView& view) {
    const std::optional<QString> reply = readQueryReply(port, view, QStringLiteral("AT+EGINP?"));
    if (!reply)
        return;
    const InputsReading readings = parseInputsReply(*reply);
    for (int n = 1; n <= InputCount; ++n)
        view.setInputConfig(n, applyInputReading(view.inputConfig(n), readings[n - 1]));
}

void LoadDefaultMessages(ConfigView& view) {
    setPanels(view, withDefaultMessages(panels(view)));
}

void clickSendInputs(SerialPort& port, ConfigView& view) {
    view.setToolbarEnabled(false);
    view.setFramesEnabled(false);
    SendInputs(port, view);
    view.setToolbarEnabled(true);
    view.setFramesEnabled(true);
}
