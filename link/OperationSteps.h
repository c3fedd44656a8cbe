#pragma once

#include "SerialPort.h"

#include <QList>
#include <QString>

class ModemView;
struct ExchangeSpec;

// How an operation on the modem ended.
enum class OperationEnd {
    Completed,       // every step was sent (each may still have failed)
    PortUnavailable, // the port could not be opened; nothing was sent
    PortLost,        // the device went away midway; nothing more was sent
    Cancelled,       // the window was closed; nothing more was sent
};

struct OperationResult {
    OperationEnd end = OperationEnd::Completed;
    // The steps the modem did not confirm, by their number (from 1).
    QList<int> unconfirmed;

    bool completed() const { return end == OperationEnd::Completed; }
};

// Waits longer than this after each judged reply before the next command.
inline constexpr int PauseAfterReplyMs = 200;

// The steps shared by every operation that writes to the modem: the relay,
// the factory defaults and the two uploads. An operation starts the port,
// runs its judged steps and finishes; when the port cannot be had or is lost,
// the operation stops at once, the port is released and the user learns why.
class OperationSteps {
public:
    OperationSteps(SerialPort& port, ModemView& view) : port_(port), view_(view) {}

    // Opens the port afresh on the device of the connection. False when the
    // operation cannot start; the user has been told why.
    bool start();
    // One judged step: runs the exchange, empties ReplyBuffer, shows stepText
    // followed by "...OK" or "...Failed!" and makes the pause after a reply.
    // False when the operation had to stop.
    bool step(int number, const ExchangeSpec& exchange, const QString& stepText);
    // The normal end: the port is closed when asked, the status line returns
    // to "Modem Connected".
    OperationResult finish(bool closePort);
    // What the operation came to so far (after a step or start returned false).
    const OperationResult& result() const { return result_; }

private:
    void stop(OperationEnd end, const PortError& error);

    SerialPort& port_;
    ModemView& view_;
    OperationResult result_;
};

// Items as a sentence lists them: "3", "3 and 7", "3, 7 and 12".
QString spokenList(const QStringList& items);

// Every operation starts from a freshly opened port on CommPortNumber (on
// the device fixed at connection, once the connection check has found it).
std::optional<PortError> preparePort(SerialPort& port);

// Why an exchange could not go on: the port's own failure, or a port closed
// under the operation.
PortError portFailureOf(const SerialPort& port);
