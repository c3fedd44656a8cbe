// Whatever a modem, or something that is no modem, sends back to the phone
// book query: the reader ends normally and addresses only rows 1 to 20.
#include "FuzzCheck.h"
#include "InputConfig.h"
#include "PhoneBookReply.h"

#include <QList>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The port hands the program one Latin-1 character per byte.
    const QString reply = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    const PhoneBookListing listing = parsePhoneBookReply(reply);
    QList<int> positions;
    for (const PhoneBookEntry& entry : listing.entries) {
        if (entry.position < 1 || entry.position > PhoneBookSize)
            fuzzFail("fuzz_phone_book_reply", "a phone-book entry outside positions 1 to 20");
        if (positions.contains(entry.position))
            fuzzFail("fuzz_phone_book_reply", "a position read twice");
        positions << entry.position;
    }
    return 0;
}
