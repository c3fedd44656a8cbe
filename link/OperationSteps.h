#pragma once

#include "SerialPort.h"

#include <QString>

#include <optional>

class ModemView;
struct ExchangeSpec;

// The steps shared by every operation that writes to the modem: the relay,
// the factory defaults and the two uploads.

// Waits longer than this after each judged reply before the next command.
inline constexpr int PauseAfterReplyMs = 200;

// Every operation starts from a freshly opened port on CommPortNumber.
std::optional<PortError> preparePort(SerialPort& port);

// Why an exchange could not go on: the port's own failure, or a port closed
// under the operation.
PortError portFailureOf(const SerialPort& port);

// Ends an operation that cannot go on: nothing more is sent, the port is
// released and the user learns why. The window stays connected, so the
// status line returns to "Modem Connected" as at a normal end.
void abandonOnPortError(SerialPort& port, ModemView& view, const PortError& error);

// One judged step: runs the exchange, empties ReplyBuffer, shows stepText
// followed by "...OK" or "...Failed!" and makes the pause after a reply.
// False when the port was lost; the operation has then been abandoned.
bool runJudgedStep(SerialPort& port, ModemView& view, const ExchangeSpec& exchange,
                   const QString& stepText);
