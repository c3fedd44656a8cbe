#include "PhoneBookReply.h"

#include "InputConfig.h"
#include "ReplyLines.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QRegularExpression
    entryLine(QString::fromLatin1(R"re(^([0-9]{1,2}),"([^"]*)",([0-9]{1,3})$)re"));

} // namespace

PhoneBookListing parsePhoneBookReply(const QString& reply) {
    const ListingLines listing = listingLines(reply, u"AT+EGPHN?", u"+EGPHN: ");
    PhoneBookListing result;
    result.whole = !listing.unrecognised;
    for (const QString& line : listing.lines) {
        const auto entry = entryLine.match(line);
        const int position = entry.hasMatch() ? entry.captured(1).toInt() : 0;
        const bool repeated =
            std::any_of(result.entries.begin(), result.entries.end(),
                        [&](const PhoneBookEntry& taken) { return taken.position == position; });
        if (position < 1 || position > PhoneBookSize || repeated) {
            result.whole = false;
            continue;
        }
        result.entries.push_back({position, entry.captured(2)});
    }
    return result;
}
