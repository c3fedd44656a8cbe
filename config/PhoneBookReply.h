#pragma once

#include <QString>

#include <vector>

struct PhoneBookEntry {
    int position = 0; // 1 to 20
    QString number;

    bool operator==(const PhoneBookEntry&) const = default;
};

struct PhoneBookListing {
    std::vector<PhoneBookEntry> entries;
    // Every line of the listing was an entry, no position came twice, and
    // nothing unrecognised came between them. (The modem lists only the
    // positions that hold a number, so a listing can be whole and short.)
    bool whole = false;
};

// Reads the reply to "AT+EGPHN?": one line per listed position,
//   +EGPHN: p,"number",type
// in any order. Each entry takes its position (1 to 20) and number from its
// own line; the number is what stands between the quotes, whatever its
// first character. A line that does not parse so, or repeats a position, is
// no entry, and the listing is not whole.
PhoneBookListing parsePhoneBookReply(const QString& reply);
