// The phone book: upload, deletion in the grid, and read-back.
#include "ConfigOperations.h"

#include "AtExchange.h"
#include "ConfigView.h"
#include "InputConfig.h"
#include "LinkState.h"
#include "OperationSteps.h"
#include "PhoneBookReply.h"
#include "PhoneRecords.h"
#include "QueryReply.h"
#include "SerialPort.h"

namespace {

// Pumps per position while the grid is emptied, so the progress can be seen.
constexpr int DeletePumpsPerPosition = 1000;

} // namespace

OperationResult SetNumbers(SerialPort& port, ConfigView& view) {
    OperationSteps steps(port, view);
    if (!steps.start())
        return steps.result();
    for (int p = 1; p <= PhoneBookSize; ++p) {
        // The cell is read just before its position is sent.
        const ExchangeSpec exchange{phoneBookCommand(p, view.phoneNumber(p)),
                                    500,
                                    CompletionRule::FinalResult,
                                    true,
                                    {QStringLiteral("AT"), QStringLiteral("OK")}};
        if (!steps.step(p, exchange,
                        QStringLiteral("Modem Connected, sending Phone Number pos. %1").arg(p)))
            return steps.result();
    }
    return steps.finish(true);
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

ReadResult GetNumbers(SerialPort& port, ConfigView& view) {
    const QueryReply reply = readQueryReply(port, view, QStringLiteral("AT+EGPHN?"));
    if (reply.end == OperationEnd::Cancelled)
        return {reply.end, false};
    // Rows the reply does not list keep their text; entries that arrived
    // whole are written also when the reply was cut.
    for (const PhoneBookEntry& entry : parsePhoneBookReply(reply.text))
        view.setPhoneNumber(entry.position, entry.number);
    return {reply.end, reply.complete};
}

OperationResult clickSetNumbers(SerialPort& port, ConfigView& view) {
    view.setToolbarEnabled(false);
    view.setFramesEnabled(false);
    const OperationResult result = SetNumbers(port, view);
    view.setToolbarEnabled(true);
    view.setFramesEnabled(true);
    return result;
}
