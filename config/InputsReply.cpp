#include "InputsReply.h"

#include "ModemText.h"
#include "ReplyLines.h"

namespace {

// Positions in the settings line, counted from 0.
constexpr int StatusAt = 2;
constexpr int DelayAt = 4;
constexpr int DelayWidth = 5;
constexpr int RestAt = 11;
constexpr int BitAt = 15;
// A message line's head: input digit, comma, quoted state letter, comma, quote.
constexpr int MessageHeadLength = 7;

std::optional<QChar> charAt(const QString& line, int at) {
    if (at >= line.size())
        return std::nullopt;
    return line[at];
}

void readSettings(const QString& line, InputReading& reading) {
    if (auto status = charAt(line, StatusAt); status && *status >= u'0' && *status <= u'9')
        reading.status = *status == u'0' ? InputStatus::Disactive : InputStatus::Active;
    if (line.size() > DelayAt) {
        const auto delay = leadingNumber(QStringView(line).mid(DelayAt, DelayWidth));
        if (delay && *delay >= 0 && *delay <= 10)
            reading.delayIndex = int(*delay);
    }
    if (auto rest = charAt(line, RestAt))
        reading.restState = *rest == u'O' ? RestState::NormallyOpen : RestState::NormallyClosed;
    if (auto bit = charAt(line, BitAt))
        reading.bit = *bit == u'S' ? BitMode::Single : BitMode::Double;
}

std::optional<QString> readMessage(const QString& line) {
    const qsizetype closingQuote = line.lastIndexOf(u'"');
    if (closingQuote < MessageHeadLength)
        return std::nullopt;
    // Control characters can neither be shown nor sent back: left out here,
    // what the window shows is what a "Set" sends.
    QString text = line.mid(MessageHeadLength, closingQuote - MessageHeadLength);
    text.removeIf(isControlCharacter);
    return text;
}

} // namespace

InputsReading parseInputsReply(const QString& reply) {
    const QStringList lines = informationLines(reply, u"AT+EGINP?", u"+EGINP: ");
    InputsReading readings;
    for (int n = 0; n < InputCount; ++n) {
        const qsizetype first = qsizetype(n) * 3;
        InputReading& reading = readings[n];
        if (first < lines.size())
            readSettings(lines[first], reading);
        if (first + 1 < lines.size())
            reading.closedMessage = readMessage(lines[first + 1]);
        if (first + 2 < lines.size())
            reading.openMessage = readMessage(lines[first + 2]);
    }
    return readings;
}

InputConfig applyInputReading(InputConfig panel, const InputReading& reading) {
    panel.status = reading.status.value_or(panel.status);
    panel.delayIndex = reading.delayIndex.value_or(panel.delayIndex);
    panel.restState = reading.restState.value_or(panel.restState);
    panel.bit = reading.bit.value_or(panel.bit);

    const bool open = panel.restState == RestState::NormallyOpen;
    const std::optional<QString>& forSingle = open ? reading.closedMessage : reading.openMessage;
    const std::optional<QString>& forDouble = open ? reading.openMessage : reading.closedMessage;
    if (forSingle)
        panel.singleMessage = MessageText{*forSingle, false};
    if (forDouble)
        panel.doubleMessage = MessageText{*forDouble, false};
    return panel;
}
