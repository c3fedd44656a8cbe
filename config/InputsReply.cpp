#include "InputsReply.h"

#include "ModemText.h"
#include "ReplyLines.h"

#include <QRegularExpression>

namespace {

const QRegularExpression
    settingsLine(QString::fromLatin1(R"re(^([1-3]),([0-9]),([0-9]{1,5}),"([OC])","([SD])"$)re"));
// The text runs to the last quote of the line.
const QRegularExpression messageLine(QString::fromLatin1(R"re(^([1-3]),"([OC])","(.*)"$)re"));

QString messageText(const QString& text) {
    // Control characters can neither be shown nor sent back: left out here,
    // what the window shows is what a "Set" sends.
    QString clean = text;
    clean.removeIf(isControlCharacter);
    return clean;
}

// Takes a line into its input's reading; false when it is no listing line,
// names a value the modem cannot hold, or repeats a line already taken.
bool take(const QString& line, InputsReading& inputs) {
    if (const auto settings = settingsLine.match(line); settings.hasMatch()) {
        InputReading& reading = inputs[settings.captured(1).toInt() - 1];
        const int delay = settings.captured(3).toInt();
        if (reading.status || delay > 10)
            return false;
        reading.status =
            settings.captured(2) == u"0" ? InputStatus::Disactive : InputStatus::Active;
        reading.delayIndex = delay;
        reading.restState =
            settings.captured(4) == u"O" ? RestState::NormallyOpen : RestState::NormallyClosed;
        reading.bit = settings.captured(5) == u"S" ? BitMode::Single : BitMode::Double;
        return true;
    }
    if (const auto message = messageLine.match(line); message.hasMatch()) {
        InputReading& reading = inputs[message.captured(1).toInt() - 1];
        std::optional<QString>& slot =
            message.captured(2) == u"C" ? reading.closedMessage : reading.openMessage;
        if (slot)
            return false;
        slot = messageText(message.captured(3));
        return true;
    }
    return false;
}

bool complete(const InputReading& reading) {
    return reading.status && reading.closedMessage && reading.openMessage;
}

} // namespace

InputsListing parseInputsReply(const QString& reply) {
    const ListingLines listing = listingLines(reply, u"AT+EGINP?", u"+EGINP: ");
    InputsListing result;
    bool everyLineTaken = !listing.unrecognised;
    for (const QString& line : listing.lines)
        everyLineTaken = take(line, result.inputs) && everyLineTaken;
    result.whole = everyLineTaken && listing.lines.size() == 3 * InputCount &&
                   std::all_of(result.inputs.begin(), result.inputs.end(), complete);
    return result;
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
