#include "PhoneBookReply.h"

#include "InputConfig.h"
#include "ReplyLines.h"

namespace {

std::optional<PhoneBookEntry> readEntry(const QString& line) {
    const qsizetype comma = line.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    const qsizetype openingQuote = line.indexOf(u'"', comma + 1);
    if (openingQuote < 0)
        return std::nullopt;
    const qsizetype closingQuote = line.indexOf(u'"', openingQuote + 1);
    if (closingQuote < 0)
        return std::nullopt;
    const auto position = leadingNumber(QStringView(line).left(comma));
    if (!position || *position < 1 || *position > PhoneBookSize)
        return std::nullopt;
    return PhoneBookEntry{int(*position),
                          line.mid(openingQuote + 1, closingQuote - openingQuote - 1)};
}

} // namespace

std::vector<PhoneBookEntry> parsePhoneBookReply(const QString& reply) {
    std::vector<PhoneBookEntry> entries;
    for (const QString& line : informationLines(reply, u"AT+EGPHN?", u"+EGPHN: ")) {
        if (auto entry = readEntry(line))
            entries.push_back(*entry);
    }
    return entries;
}
