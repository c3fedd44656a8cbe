#include "QueryReply.h"

#include "AtExchange.h"
#include "LinkState.h"
#include "ModemView.h"
#include "PortErrors.h"
#include "SerialPort.h"

namespace {

constexpr int InitialWaitMs = 400;
constexpr int CollectionTimeoutMs = 600;

// What arrived before the end still counts: the readers apply the entries
// that came whole.
QueryReply stopped(SerialPort& port, ModemView& view, OperationEnd end) {
    port.close();
    if (end == OperationEnd::PortLost)
        view.showModemError(portErrorMessage(portFailureOf(port)));
    return {end, end == OperationEnd::PortLost ? linkState().ReplyBuffer : QString(), false};
}

} // namespace

QueryReply readQueryReply(SerialPort& port, ModemView& view, const QString& query) {
    LinkState& link = linkState();
    link.RelayCommand() = query;
    if (view.cancelled())
        return stopped(port, view, OperationEnd::Cancelled);

    port.setReadLength(0);
    // A reader has no status text and no box of its own for a port that is
    // busy: its caller learns that nothing was read.
    if (preparePort(port))
        return stopped(port, view, OperationEnd::PortUnavailable);
    if (!writeCommandLine(port, query))
        return stopped(port, view, OperationEnd::PortLost);

    // The modem needs a moment before it starts listing; nothing is read now.
    if (!waitPumping(view, InitialWaitMs))
        return stopped(port, view, OperationEnd::Cancelled);

    link.SendTime.start();
    const ExchangeSpec collection{
        query, CollectionTimeoutMs, CompletionRule::FinalResult, true, {}};
    switch (collectReply(port, view, collection)) {
    case CollectionEnd::PortFailed:
        return stopped(port, view, OperationEnd::PortLost);
    case CollectionEnd::Cancelled:
        return stopped(port, view, OperationEnd::Cancelled);
    case CollectionEnd::Ended:
        break;
    }
    port.close();
    return {OperationEnd::Completed, link.ReplyBuffer,
            finalResultCode(link.ReplyBuffer) == FinalResult::Ok};
}
