// The modem commands of the toolbar and of tavek-cli, one row each.
#include "ModemCommands.h"

#include "ConfigOperations.h"
#include "ConfigurationModel.h"
#include "ModemLink.h"
#include "OperationTexts.h"

#include <QCoreApplication>

namespace {

CommandOutcome outcomeOf(const OperationResult& result, const QString& unconfirmedText) {
    CommandOutcome outcome{result.end, {}, result.steps};
    if (!result.unconfirmed.isEmpty())
        outcome.unconfirmed << unconfirmedText;
    return outcome;
}

CommandOutcome resetModem(CommandContext& c) {
    const OperationResult result = sendDefaultString(c.connection, c.observer);
    return outcomeOf(result, unconfirmedDefaultsText(result.unconfirmed));
}

CommandOutcome switchRelay(CommandContext& c, const QString& command) {
    return outcomeOf(sendRelayString(c.connection, c.observer, command),
                     unconfirmedRelayText(command));
}

// "Set default settings": the phone book emptied, shown and in the modem,
// then the default inputs and messages shown and sent.
CommandOutcome setDefaultSettings(CommandContext& c) {
    c.shown.setPhoneBook(deleteNumbersFromGrid(
        c.observer, [&c](int position) { c.shown.setNumber(position, QString()); }));
    const OperationResult numbers = setNumbers(c.connection, c.observer, c.shown.phoneBook());
    CommandOutcome outcome = outcomeOf(numbers, unconfirmedPositionsText(numbers.unconfirmed));
    // Nothing further goes to a modem whose phone book could not be emptied.
    if (!numbers.completed())
        return outcome;
    c.shown.setInputs(loadDefaultMessages(c.shown.inputs()));
    const OperationResult inputs = sendInputs(c.connection, c.observer, c.shown.inputs());
    const CommandOutcome sent = outcomeOf(inputs, unconfirmedInputRecordsText(inputs.unconfirmed));
    outcome.end = sent.end;
    outcome.unconfirmed << sent.unconfirmed;
    outcome.steps << sent.steps;
    return outcome;
}

const ModemCommand table[] = {
    {.id = QLatin1StringView("factory-defaults"),
     .caption = QT_TRANSLATE_NOOP("ModemCommands", "Reset Modem"),
     .toolTip = nullptr,
     .locksControls = true,
     .replacesConfiguration = false,
     .question = Question{{QT_TRANSLATE_NOOP("ModemCommands", "ATTENTION:"),
                           QT_TRANSLATE_NOOP("ModemCommands",
                                             "This action will reset all communication setting!"),
                           QT_TRANSLATE_NOOP("ModemCommands", "Do you want to continue?")},
                          true},
     .run = resetModem,
     .doneText =
         QT_TRANSLATE_NOOP("ModemCommands", "The factory communication settings are restored.")},
    {.id = QLatin1StringView("clear"),
     .caption = QT_TRANSLATE_NOOP("ModemCommands", "Set default settings"),
     .toolTip = nullptr,
     .locksControls = true,
     .replacesConfiguration = true,
     .question = Question{{QT_TRANSLATE_NOOP("ModemCommands", "ATTENTION:"),
                           QT_TRANSLATE_NOOP("ModemCommands", "This action will delete all data!"),
                           QT_TRANSLATE_NOOP("ModemCommands", "Do you want to continue?")},
                          true},
     .run = setDefaultSettings,
     .doneText = QT_TRANSLATE_NOOP(
         "ModemCommands", "The phone book is empty; the default inputs and messages are set.")},
    // The relay commands disable nothing while they run.
    {.id = QLatin1StringView("relay-on"),
     .caption = QT_TRANSLATE_NOOP("ModemCommands", "Set reley on"),
     .toolTip = nullptr,
     .locksControls = false,
     .replacesConfiguration = false,
     .question = std::nullopt,
     .run = [](CommandContext& c) { return switchRelay(c, RelayOnCommand); },
     .doneText = QT_TRANSLATE_NOOP("ModemCommands", "Relay on.")},
    {.id = QLatin1StringView("relay-off"),
     .caption = QT_TRANSLATE_NOOP("ModemCommands", "Set reley off"),
     .toolTip = nullptr,
     .locksControls = false,
     .replacesConfiguration = false,
     .question = std::nullopt,
     .run = [](CommandContext& c) { return switchRelay(c, RelayOffCommand); },
     .doneText = QT_TRANSLATE_NOOP("ModemCommands", "Relay off.")},
};

} // namespace

std::span<const ModemCommand> modemCommands() {
    return table;
}

const ModemCommand* findModemCommand(QStringView id) {
    for (const ModemCommand& command : table) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}
