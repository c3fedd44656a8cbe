#pragma once

#include "OperationSteps.h"

#include <QString>

class SerialPort;
class ConfigView;

// What a reader brought into the window.
struct ReadResult {
    OperationEnd end = OperationEnd::Completed;
    // The modem's reply ended with "OK". When it did not (it was cut, came
    // late, ended in ERROR, or the port failed), only what arrived whole was
    // applied and the rest of the window kept what it showed.
    bool complete = false;
};

// Writes the nine input records built from the panels. Unconfirmed steps are
// the records 1 to 9: input n's settings at 3n-2, its Single message at
// 3n-1 and its Double message at 3n.
OperationResult SendInputs(SerialPort& port, ConfigView& view);
// Reads the modem's input configuration into the panels.
ReadResult GetInputs(SerialPort& port, ConfigView& view);
// Puts the default configuration and alarm texts into the panels; sends nothing.
void LoadDefaultMessages(ConfigView& view);
// Writes the 20 phone-book positions from the grid. Unconfirmed steps are
// the positions.
OperationResult SetNumbers(SerialPort& port, ConfigView& view);
// Empties the grid's 20 number cells; sends nothing.
void DeleteNumbers(ConfigView& view);
// Reads the modem's phone book into the grid.
ReadResult GetNumbers(SerialPort& port, ConfigView& view);

// The "Set" buttons: toolbar and both frames disabled around the upload.
OperationResult clickSendInputs(SerialPort& port, ConfigView& view);
OperationResult clickSetNumbers(SerialPort& port, ConfigView& view);
