// The phone book: upload, deletion in the grid, and read-back.
#include "ConfigOperations.h"

#include "ConfigView.h"
#include "PhoneBookReply.h"
#include "PhoneRecords.h"

namespace {

// Pumps per position while the grid is emptied, so the progress can be seen.
constexpr int DeletePumpsPerPosition = 1000;

} // namespace

OperationPlan setNumbersPlan(const PhoneBook& numbers) {
    OperationPlan plan;
    for (int p = 1; p <= PhoneBookSize; ++p)
        plan.steps << Step{{phoneBookCommand(p, numbers[p - 1]),
                            500,
                            CompletionRule::FinalResult,
                            true,
                            {QStringLiteral("AT"), QStringLiteral("OK")}},
                           QStringLiteral("Modem Connected, sending Phone Number pos. %1").arg(p)};
    return plan;
}

OperationResult SetNumbers(ModemConnection& connection, ConfigView& view) {
    // The grid cannot change while the upload runs: its frame is disabled.
    PhoneBook numbers;
    for (int p = 1; p <= PhoneBookSize; ++p)
        numbers[p - 1] = view.phoneNumber(p);
    return runOperation(connection, view, setNumbersPlan(numbers));
}

void DeleteNumbers(ConfigView& view) {
    // Only the grid is emptied; SetNumbers then empties the modem's positions.
    for (int p = 1; p <= PhoneBookSize; ++p) {
        view.setStatusText(
            QStringLiteral("Modem Connected, deleting Phone Number pos. %1...OK").arg(p));
        for (int i = 0; i < DeletePumpsPerPosition; ++i)
            view.pumpEvents();
        view.setPhoneNumber(p, QString());
    }
}

ReadResult GetNumbers(ModemConnection& connection, ConfigView& view) {
    const QueryReply reply = runQuery(connection, view, {QStringLiteral("AT+EGPHN?")});
    if (reply.end == OperationEnd::Cancelled)
        return {reply.end, false};
    // Rows the reply does not list keep their text; entries that arrived
    // whole are written also when the reply was cut.
    const PhoneBookListing listing = parsePhoneBookReply(reply.text);
    for (const PhoneBookEntry& entry : listing.entries)
        view.setPhoneNumber(entry.position, entry.number);
    return {reply.end, reply.complete && listing.whole};
}
