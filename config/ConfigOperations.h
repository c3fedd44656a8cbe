#pragma once

class SerialPort;
class ConfigView;

// Writes the nine input records built from the panels.
void SendInputs(SerialPort& port, ConfigView& view);
// Reads the modem's input configuration into the panels.
void GetInputs(SerialPort& port, ConfigView& view);
// Puts the default configuration and alarm texts into the panels; sends nothing.
void LoadDefaultMessages(ConfigView& view);
// Writes the 20 phone-book positions from the grid.
void SetNumbers(SerialPort& port, ConfigView& view);
// Empties the grid's 20 number cells; sends nothing.
void DeleteNumbers(ConfigView& view);
// Reads the modem's phone book into the grid.
void GetNumbers(SerialPort& port, ConfigView& view);

// The "Set" buttons: toolbar and both frames disabled around the upload.
void clickSendInputs(SerialPort& port, ConfigView& view);
void clickSetNumbers(SerialPort& port, ConfigView& view);
