#pragma once

#include "InputsReply.h"
#include "ModemConfiguration.h"
#include "OperationRunner.h"
#include "PhoneBookReply.h"

#include <QString>

#include <functional>

class ModemConnection;
class OperationObserver;

// What a read brought: what arrived whole, and whether all of it arrived.
// The caller puts it over what is shown then (applyInputReading,
// applyPhoneBookEntries): what the user typed meanwhile where nothing
// arrived stays.
template <typename Arrived> struct ReadResult {
    OperationEnd end = OperationEnd::Completed;
    // The modem's reply ended with its own "OK" and every line of it was
    // what it claims to be. When not (it was cut, came late, ended in ERROR,
    // a line was damaged, or the port failed), only what arrived whole is
    // there, and the rest keeps what was shown.
    bool complete = false;
    Arrived arrived{};
};
using InputsRead = ReadResult<InputsReading>;
using PhoneBookRead = ReadResult<std::vector<PhoneBookEntry>>;

InputsConfig applyInputsReading(InputsConfig shown, const InputsReading& arrived);
// The positions listed get their numbers; the others keep their text.
PhoneBook applyPhoneBookEntries(PhoneBook shown, const std::vector<PhoneBookEntry>& arrived);

// The input upload as a table: nine records built from the configuration
// before anything is sent, each input's settings, Single message and Double
// message in turn. Unconfirmed steps are the records 1 to 9: input n's
// settings at 3n-2, its Single message at 3n-1, its Double message at 3n.
OperationPlan sendInputsPlan(const InputsConfig& inputs);
OperationResult sendInputs(ModemConnection& connection, OperationObserver& observer,
                           const InputsConfig& inputs);
// Reads the modem's input configuration.
InputsRead getInputs(ModemConnection& connection, OperationObserver& observer);
// The default configuration and alarm texts over what is shown; sends nothing.
InputsConfig loadDefaultMessages(const InputsConfig& shown);

// The phone-book upload as a table: the 20 positions in order, a free one
// as the bare command. Unconfirmed steps are the positions.
OperationPlan setNumbersPlan(const PhoneBook& numbers);
OperationResult setNumbers(ModemConnection& connection, OperationObserver& observer,
                           const PhoneBook& numbers);
// Reads the modem's phone book: the positions it lists.
PhoneBookRead getNumbers(ModemConnection& connection, OperationObserver& observer);
// Empties the phone book shown, position by position with its progress on
// the status line (emptied is told of each); sends nothing to the modem. The
// empty phone book it leaves is what "Set default settings" then sends.
PhoneBook deleteNumbersFromGrid(OperationObserver& observer,
                                const std::function<void(int position)>& emptied = {});
