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
    // The modem lists the message of the closed contact first, then the one
    // of the open contact.
    std::optional<QString> closedMessage;
    std::optional<QString> openMessage;

    bool operator==(const InputReading&) const = default;
};

using InputsReading = std::array<InputReading, InputCount>;

// Reads the reply to "AT+EGINP?": for each input, in order, a settings line
//   n,s,ddddd,"r","b"      (17 characters; status at 3, delay at 5-9,
//                           rest state at 12, bit at 16)
// and two message lines  n,"X","text"  whose text runs from the eighth
// character to the last quote of the line, so that quotes and "OK" inside a
// message come back whole.
InputsReading parseInputsReply(const QString& reply);

// The panel after a reading: fields the reply gave replace the panel's, and
// each message read goes into the box bound to its contact state (the Single
// box holds the message of the state opposite the rest state), in black.
InputConfig applyInputReading(InputConfig panel, const InputReading& reading);
