#pragma once

#include "OperationRunner.h"

#include <QLatin1StringView>
#include <QStringList>

#include <optional>
#include <span>

class ConfigurationModel;
class ModemConnection;
class OperationObserver;

// A question asked before a command that changes what the modem holds.
struct Question {
    QStringList lines; // one box, its lines joined by CR LF
    bool yesIsDefault = true;
};

// What a command is run with: the connection, who hears of its progress,
// and the configuration shown, which it may change.
struct CommandContext {
    ModemConnection& connection;
    OperationObserver& observer;
    ConfigurationModel& shown;
};

// How a command ended, and one sentence for each of its operations whose
// steps the modem did not all confirm.
struct CommandOutcome {
    OperationEnd end = OperationEnd::Completed;
    QStringList unconfirmed;
    QList<StepResult> steps; // every step sent and judged, in order
};

// A modem command, once for every face: the toolbar builds a button from it
// (objectName and icon ":/icons/<id>.svg"), tavek-cli offers it as a verb.
struct ModemCommand {
    QLatin1StringView id;       // object name, icon name, command-line verb
    const char* caption;        // the button's tool tip, the verb's help
    const char* toolTip;        // more words for the tool tip, if any
    bool locksControls;         // the toolbar and both frames are off while it runs
    bool replacesConfiguration; // it sends a whole configuration of its own
    std::optional<Question> question;
    CommandOutcome (*run)(CommandContext& context);
    const char* doneText; // what tavek-cli says when the modem confirmed every step
};

// Every modem command, in the toolbar's order.
std::span<const ModemCommand> modemCommands();
const ModemCommand* findModemCommand(QStringView id);

// The translation context of the captions, questions and texts of the table.
inline constexpr const char* ModemCommandsContext = "ModemCommands";
