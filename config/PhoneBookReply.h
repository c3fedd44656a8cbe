#pragma once

#include <QString>

#include <vector>

struct PhoneBookEntry {
    int position = 0; // 1 to 20
    QString number;

    bool operator==(const PhoneBookEntry&) const = default;
};

// Reads the reply to "AT+EGPHN?": one line per listed position,
//   +EGPHN: p,"number",type
// in any order. Each entry takes its position and number from its own line;
// the number is what stands between the quotes, whatever its first character
// or its type. Only lines with the prefix in capitals are entries. A line
// without its closing quote, or whose line feed never came, is no entry, and
// neither is a position outside 1 to 20 (row 0 of the grid is its heading).
std::vector<PhoneBookEntry> parsePhoneBookReply(const QString& reply);
