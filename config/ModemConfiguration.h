#pragma once

#include "InputConfig.h"

#include <QString>

#include <array>

// The 20 positions of the phone book: position p at index p - 1; an empty
// text is a free position.
using PhoneBook = std::array<QString, PhoneBookSize>;

// One modem's whole configuration, as the window means it: its three alarm
// inputs and its phone book. The window shows and edits one; the operations
// send one and read one back; a configuration file holds one. What makes
// one valid is said once: a message holds text the line carries
// (ModemText.h), a number follows the number rule (PhoneNumberRule.h), and
// ConfigurationCheck.h says what of one a file or a "Set" cannot take.
struct ModemConfiguration {
    InputsConfig inputs;
    PhoneBook phoneBook;

    bool operator==(const ModemConfiguration&) const = default;
};
