#pragma once

#include "InputConfig.h"

#include <QString>

#include <array>
#include <optional>

// What the reply to "AT+EGINP?" says about one input. A field the reply does
// not give in a usable form is empty, and the panel keeps what it had.
struct InputReading {
    std::optional<InputStatus> status;
    std::optional<int> delayIndex;
    std::optional<RestState> restState;
    std::optional<BitMode> bit;
    // The message bound to the closed contact ("C") and to the open one ("O").
    std::optional<QString> closedMessage;
    std::optional<QString> openMessage;

    bool operator==(const InputReading&) const = default;
};

using InputsReading = std::array<InputReading, InputCount>;

struct InputsListing {
    InputsReading inputs;
    // Every one of the nine lines came, each once and as what it claims to
    // be, and nothing unrecognised came between them.
    bool whole = false;
};

// Reads the reply to "AT+EGINP?". For each input the modem lists a settings
// line and two message lines (after the prefix "+EGINP: "):
//   n,s,ddddd,"r","b"     input n, status digit, delay 0 to 10 (up to five
//                         digits), rest state "O" or "C", bit "S" or "D"
//   n,"C","text"          the message of the closed contact
//   n,"O","text"          the message of the open contact
// Each line is read for what it claims to be: its input number and its
// letter place it. A message runs to the last quote of its line, so quotes
// and "OK" inside a message come back whole. A line that does not parse as
// one of these, or that repeats one, is not taken: it shifts no other
// field, and the listing is not whole.
InputsListing parseInputsReply(const QString& reply);

// The panel after a reading: fields the reply gave replace the panel's, and
// each message read goes into the box bound to its contact state (the Single
// box holds the message of the state opposite the rest state), in black.
InputConfig applyInputReading(InputConfig panel, const InputReading& reading);
