#pragma once

#include "InputConfig.h"
#include "OperationRunner.h"

#include <QString>

#include <array>

class ModemConnection;
class ConfigView;

// What a reader brought into the window.
struct ReadResult {
    OperationEnd end = OperationEnd::Completed;
    // The modem's reply ended with "OK". When it did not (it was cut, came
    // late, ended in ERROR, or the port failed), only what arrived whole was
    // applied and the rest of the window kept what it showed.
    bool complete = false;
};

// The input upload as a table: nine records built from the panels before
// anything is sent, each input's settings, Single message and Double
// message in turn. Unconfirmed steps are the records 1 to 9: input n's
// settings at 3n-2, its Single message at 3n-1, its Double message at 3n.
// The port stays open at the end.
OperationPlan sendInputsPlan(const InputsConfig& inputs);
OperationResult SendInputs(ModemConnection& connection, ConfigView& view);
// Reads the modem's input configuration into the panels.
ReadResult GetInputs(ModemConnection& connection, ConfigView& view);
// Puts the default configuration and alarm texts into the panels; sends nothing.
void LoadDefaultMessages(ConfigView& view);

using PhoneBook = std::array<QString, PhoneBookSize>; // position p at index p - 1
// The phone-book upload as a table: the 20 positions in order, a free one
// as the bare command. Unconfirmed steps are the positions.
OperationPlan setNumbersPlan(const PhoneBook& numbers);
OperationResult SetNumbers(ModemConnection& connection, ConfigView& view);
// Empties the grid's 20 number cells; sends nothing.
void DeleteNumbers(ConfigView& view);
// Reads the modem's phone book into the grid.
ReadResult GetNumbers(ModemConnection& connection, ConfigView& view);
