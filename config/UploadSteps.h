#pragma once

#include <QString>

#include <optional>

class SerialPort;
class ModemView;
struct ExchangeSpec;
struct PortError;

// The steps the two uploads share.

// Closes the port if it is open, selects CommPortNumber and opens it.
std::optional<PortError> preparePort(SerialPort& port);

// Sends one record with the AT exchange, shows stepText followed by "...OK"
// or "...Failed!" and makes the pause after a reply. False when the port was
// lost: then the port is closed and the "Modem error" box has been shown.
bool sendRecordStep(SerialPort& port, ModemView& view, const ExchangeSpec& spec,
                    const QString& stepText);

// Ends an upload that cannot go on: port closed, "Modem error" box, and the
// status line back at "Modem Connected".
void abandonUpload(SerialPort& port, ModemView& view, const PortError& error);
