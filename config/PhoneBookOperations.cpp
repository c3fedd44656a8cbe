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

void SetNumbers(SerialPort& port, ConfigView& view) {
    if (auto error = preparePort(port)) {
        abandonOnPortError(port, view, *error);
        return;
    }
    for (int p = 1; p <= PhoneBookSize; ++p) {
        // The cell is read just before its position is sent.
        const ExchangeSpec exchange{phoneBookCommand(p, view.phoneNumber(p)),
                                    500,
                                    CompletionRule::Length,
                                    true,
                                    {QStringLiteral("AT"), QStringLiteral("OK")}};
        if (!runJudgedStep(port, view, exchange,
                           QStringLiteral("Modem Connected, sending Phone Number pos. %1").arg(p)))
            return;
    }
    if (port.isOpen())
        port.close();
    view.setStatusText(QStringLiteral("Modem Connected"));
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

void GetNumbers(SerialPort& port, ConfigView& view) {
    const std::optional<QString> reply = readQueryReply(port, view, QStringLiteral("AT+EGPHN?"));
    if (!reply)
        return;
    // Rows the reply does not list keep their text.
    for (const PhoneBookEntry& entry : parsePhoneBookReply(*reply))
        view.setPhoneNumber(entry.position, entry.number);
}

void clickSetNumbers(SerialPort& port, ConfigView& view) {
    view.setToolbarEnabled(false);
    view.setFramesEnabled(false);
    SetNumbers(port, view);
    view.setToolbarEnabled(true);
    view.setFramesEnabled(true);
}
