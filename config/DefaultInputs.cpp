#include "DefaultInputs.h"

QString defaultAlarmText(int input, bool on) {
    return QStringLiteral("ALLARME ") + u' ' + QString::number(input) +
           (on ? QStringLiteral(" ON") : QStringLiteral(" OFF"));
}

InputsConfig withDefaultMessages(InputsConfig inputs) {
    for (int n = 1; n <= InputCount; ++n) {
        InputConfig& config = inputs[n - 1];
        if (n == 1)
            config.status = InputStatus::Active;
        else if (config.status == InputStatus::Active)
            config.status = InputStatus::Neither;
        config.restState = RestState::NormallyOpen;
        config.bit = BitMode::Single;
        config.delayIndex = 1;
        config.singleMessage.text = defaultAlarmText(n, true);
        config.doubleMessage.text = defaultAlarmText(n, false);
    }
    return inputs;
}
