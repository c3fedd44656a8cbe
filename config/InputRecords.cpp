#include "InputRecords.h"

#include "ModemText.h"

namespace {

const QString WriteCommand = QStringLiteral("AT+EGINP=");

QChar restLetter(RestState rest) {
    return rest == RestState::NormallyOpen ? u'O' : u'C';
}

QChar oppositeLetter(RestState rest) {
    return rest == RestState::NormallyOpen ? u'C' : u'O';
}

QString messageRecord(int input, QChar state, const QString& text) {
    // The text goes out as the box holds it: no escaping, no trimming, no
    // character replaced. The box, the file and the command line let in only
    // what the line carries; anything else here is a fault of the program.
    Q_ASSERT_X(isCarriedText(text), "messageRecord", "a text the line does not carry");
    return WriteCommand + QString::number(input) + QStringLiteral(",\"") + state +
           QStringLiteral("\",\"") + text + u'"';
}

} // namespace

QString settingsRecord(int input, const InputConfig& config) {
    // Only an "Active" selection counts: "Disactive" and a pair with neither
    // option selected both send "0".
    const QChar status = config.status == InputStatus::Active ? u'1' : u'0';
    const QChar bit = config.bit == BitMode::Single ? u'S' : u'D';
    return WriteCommand + QString::number(input) + u',' + status + u',' +
           QString::number(config.delayIndex) + QStringLiteral(",\"") +
           restLetter(config.restState) + QStringLiteral("\",\"") + bit + u'"';
}

QStringList messageRecords(int input, const InputConfig& config) {
    // The Single box alone decides: a Double box still showing the
    // placeholder text sends that text.
    const bool empty = config.singleMessage.isPlaceholder();
    return {messageRecord(input, oppositeLetter(config.restState),
                          empty ? QString() : config.singleMessage.text),
            messageRecord(input, restLetter(config.restState),
                          empty ? QString() : config.doubleMessage.text)};
}

QStringList inputRecords(const InputsConfig& inputs) {
    QStringList records;
    for (int n = 1; n <= InputCount; ++n) {
        const InputConfig& config = inputs[n - 1];
        records << settingsRecord(n, config) << messageRecords(n, config);
    }
    return records;
}
