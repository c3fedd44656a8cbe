#include "QueryReply.h"

#include "AtExchange.h"
#include "LinkState.h"
#include "OperationSteps.h"
#include "SerialPort.h"

namespace {

constexpr int InitialWaitMs = 400;
constexpr int CollectionTimeoutMs = 600;

class ClosedAtEnd {
public:
    explicit ClosedAtEnd(SerialPort& port) : port_(port) {}
    ~ClosedAtEnd() {
        if (port_.isOpen())
            port_.close();
    }
    ClosedAtEnd(const ClosedAtEnd&) = delete;
    ClosedAtEnd& operator=(const ClosedAtEnd&) = delete;

private:
    SerialPort& port_;
};

} // namespace

std::optional<QString> readQueryReply(SerialPort& port, ModemView& view, const QString& query) {
    LinkState& link = linkState();
    link.RelayCommand() = query;

    ClosedAtEnd closed(port);
    port.setReadLength(0);
    // Input still waiting from an earlier command is not discarded.
    if (preparePort(port))
        return std::nullopt;
    if (!writeCommandLine(port, query))
        return std::nullopt;

    // The modem needs a moment before it starts listing; nothing is read now.
    waitPumping(view, InitialWaitMs);

    link.SendTime.start();
    const ExchangeSpec collection{query, CollectionTimeoutMs, CompletionRule::Draining, true, {}};
    if (!collectReply(port, view, collection))
        return std::nullopt;
    return link.ReplyBuffer;
}
