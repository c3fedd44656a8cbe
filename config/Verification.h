#pragma once

#include "InputsReply.h"
#include "ModemConfiguration.h"
#include "PhoneBookReply.h"

#include <QStringList>

#include <vector>

// Whether the modem holds what was sent: what a read-back brought, compared
// field by field with exactly what went on the wire (an input sent with
// empty messages, because its Single box showed the placeholder, is compared
// with empty messages). Every difference is one sentence for the user:
//   "Phone position 7: sent +393331112222, the modem holds nothing."
//   "Input 2, Double message: sent "Pump restored", the modem holds "Pump rest"."
// A read-back that was not whole says so first; the fields it did bring are
// compared all the same.
QStringList inputDifferences(const InputsConfig& sent, const InputsReading& held, bool whole);
QStringList phoneBookDifferences(const PhoneBook& sent, const std::vector<PhoneBookEntry>& held,
                                 bool whole);

// Whether two configurations would put the same on the wire: what a "Set"
// of one would leave in the modem is what the other says.
bool sameOnTheWire(const InputsConfig& a, const InputsConfig& b);
