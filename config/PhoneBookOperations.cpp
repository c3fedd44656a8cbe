// The phone book: upload, deletion in the grid, and read-back.
#include "ConfigOperations.h"

#include "OperationObserver.h"
#include "PhoneBookReply.h"
#include "PhoneRecords.h"

#include <QCoreApplication>

namespace {

// Pumps per position while the grid is emptied, so the progress can be seen.
constexpr int DeletePumpsPerPosition = 1000;

} // namespace

OperationPlan setNumbersPlan(const PhoneBook& numbers) {
    OperationPlan plan;
    for (int p = 1; p <= PhoneBookSize; ++p)
        plan.steps << Step{
            .exchange = {.command = phoneBookCommand(p, numbers[p - 1]),
                         .timeoutMs = 500,
                         .rule = CompletionRule::FinalResult,
                         .pumpEvents = true,
                         .markers = {QStringLiteral("AT"), QStringLiteral("OK")}},
            .text = QCoreApplication::translate("PhoneBookOperations",
                                                "Modem Connected, sending Phone Number pos. %1")
                        .arg(p)};
    return plan;
}

OperationResult setNumbers(ModemConnection& connection, OperationObserver& observer,
                           const PhoneBook& numbers) {
    return runOperation(connection, observer, setNumbersPlan(numbers));
}

PhoneBook deleteNumbersFromGrid(OperationObserver& observer,
                                const std::function<void(int position)>& emptied) {
    // Only what is shown is emptied; setNumbers then empties the modem's positions.
    for (int p = 1; p <= PhoneBookSize; ++p) {
        observer.setStatusText(
            QCoreApplication::translate("PhoneBookOperations",
                                        "Modem Connected, deleting Phone Number pos. %1...OK")
                .arg(p));
        for (int i = 0; i < DeletePumpsPerPosition; ++i)
            observer.pumpEvents();
        if (emptied)
            emptied(p);
    }
    return PhoneBook{};
}

PhoneBookRead getNumbers(ModemConnection& connection, OperationObserver& observer) {
    const QueryReply reply = runQuery(connection, observer, {QStringLiteral("AT+EGPHN?")});
    if (reply.end == OperationEnd::Cancelled)
        return {reply.end, false, {}};
    // Entries that arrived whole count also when the reply was cut.
    PhoneBookListing listing = parsePhoneBookReply(reply.text);
    return {reply.end, reply.complete && listing.whole, std::move(listing.entries)};
}

PhoneBook applyPhoneBookEntries(PhoneBook shown, const std::vector<PhoneBookEntry>& arrived) {
    for (const PhoneBookEntry& entry : arrived)
        shown[entry.position - 1] = entry.number;
    return shown;
}
