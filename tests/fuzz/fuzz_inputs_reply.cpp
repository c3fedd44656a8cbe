// Whatever a modem, or something that is no modem, sends back to the input
// query: the reader and the result-code test end normally, and the panels
// get no delay outside 0 to 10 and no control character in a message.
#include "AtExchange.h"
#include "FuzzCheck.h"
#include "InputsReply.h"
#include "ModemText.h"

#include <cstdint>

namespace {

void check(bool holds, const char* what) {
    if (!holds)
        fuzzFail("fuzz_inputs_reply", what);
}

bool hasControlCharacter(const QString& text) {
    for (QChar c : text)
        if (isControlCharacter(c))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The port hands the program one Latin-1 character per byte.
    const QString reply = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    const InputsListing listing = parseInputsReply(reply);
    for (const InputReading& reading : listing.inputs) {
        if (listing.whole)
            check(reading.status && reading.delayIndex && reading.restState && reading.bit &&
                      reading.closedMessage && reading.openMessage,
                  "a listing taken as whole with a field missing");
        const InputConfig panel = applyInputReading(InputConfig{}, reading);
        check(panel.delayIndex >= 0 && panel.delayIndex <= 10, "a delay outside 0 to 10");
        check(!hasControlCharacter(panel.singleMessage.text) &&
                  !hasControlCharacter(panel.doubleMessage.text),
              "a control character in a message read");
    }
    (void)finalResultCode(reply);
    // Whoever's the reply is, its own part lies inside it.
    for (const bool echoes : {true, false}) {
        const OwnReply own = ownReply(reply, u"AT+EGINP?", echoes, int(size % 3));
        check(own.start >= 0 && own.start <= reply.size() && own.end <= reply.size() &&
                  (!own.result || (own.resultAt >= own.start && own.end > own.resultAt)),
              "an own reply outside what came");
        (void)own.information(reply);
    }
    return 0;
}
