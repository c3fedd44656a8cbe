#include "ModemLink.h"

#include "AtExchange.h"
#include "ModemConnection.h"
#include "OperationObserver.h"
#include "PortErrors.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

const char* const disconnectedText = QT_TRANSLATE_NOOP("ModemLink", "Modem Disconnected");
const QStringList answerMarkers{QStringLiteral("AT"), QStringLiteral("OK")};

// The connection check ends on a port error: the user learns why, the port
// is released, and the window stays disconnected.
void endCheckOnPortError(ModemConnection& connection, OperationObserver& view,
                         const PortError& error) {
    view.showModemError(portErrorMessage(error, connection.hints()));
    connection.port().close();
    connection.modemConnected = false;
    view.setStatusText(QCoreApplication::translate("ModemLink", disconnectedText));
}

// The window was closed: the port is let go and nothing more is said.
bool endCheckOnClose(ModemConnection& connection) {
    connection.port().close();
    connection.modemConnected = false;
    return false;
}

std::optional<PortError> failureOf(const SerialPort& port) {
    if (const auto failure = port.failure())
        return failure;
    PortError closed;
    closed.device = port.device();
    closed.lost = true;
    return closed;
}

// A lone carriage return ends whatever the modem took for a half line; then
// everything it sent is thrown away.
std::optional<PortError> clearModemLine(SerialPort& port) {
    if (!port.write(QStringLiteral("\r")))
        return failureOf(port);
    while (port.charactersWaiting() != 0)
        port.readAll();
    if (port.failure())
        return port.failure();
    return std::nullopt;
}

bool holdsMarker(const QString& reply, const QStringList& markers) {
    return std::any_of(markers.begin(), markers.end(),
                       [&](const QString& marker) { return reply.contains(marker); });
}

bool holdsEcho(const QString& reply, const QString& command) {
    return reply.contains(command + u'\r');
}

// The check has its answer; the rest of its reply, up to its own result
// code, is read before the port is used for anything else, so that a result
// code still on its way is not taken for the next command's. Here the
// connection learns whether the modem echoes. False when the port failed.
bool readCheckReplyToItsEnd(ModemConnection& connection, OperationObserver& view,
                            const ExchangeSpec& check, int owed) {
    connection.setModemEchoes(holdsEcho(connection.replyBuffer, check.command));
    connection.setOwedResultCodes(owed);
    ExchangeSpec rest = check;
    rest.rule = CompletionRule::FinalResult;
    if (!currentOwnReply(connection).result &&
        collectReply(connection, view, rest) != CollectionEnd::Ended)
        return false;
    // An echo that came only now still tells.
    if (!connection.modemEchoes() && holdsEcho(connection.replyBuffer, check.command))
        connection.setModemEchoes(true);
    settleResultCodes(connection);
    return true;
}

} // namespace

bool connectModem(ModemConnection& connection, OperationObserver& view) {
    SerialPort& port = connection.port();
    port.close();
    view.setStatusText(QCoreApplication::translate("ModemLink", "Modem Connecting..."));
    connection.modemConnected = false;
    connection.replyBuffer.clear();
    // A new check looks for its device afresh.
    connection.disconnect();
    const QString device = connection.deviceForCommPort();
    if (device.isEmpty()) {
        PortError none{PortNotValidError,
                       {},
                       QCoreApplication::translate("ModemLink", "No serial port is Com %1")
                           .arg(connection.commPortNumber())};
        none.comNumber = connection.commPortNumber();
        endCheckOnPortError(connection, view, none);
        return false;
    }
    if (auto error = port.open(device)) {
        error->comNumber = connection.commPortNumber();
        endCheckOnPortError(connection, view, *error);
        return false;
    }
    port.discardInput();

    // No events are pumped: the window does not react during the check.
    const ExchangeSpec check{
        .command = QStringLiteral("AT"),
        .timeoutMs = 1500,
        .rule = CompletionRule::Length,
        .pumpEvents = false,
        .markers = {QStringLiteral("at"), QStringLiteral("OK"), QStringLiteral("AT")}};
    int owed = 0;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        // Two collections of the same kind, the second reading at least once more.
        if (view.cancelled())
            return endCheckOnClose(connection);
        CollectionEnd end = CollectionEnd::PortFailed;
        if (writeCommandLine(connection, check.command) &&
            (end = collectReply(connection, view, check)) == CollectionEnd::Ended)
            end = collectReply(connection, view, check);
        if (end == CollectionEnd::Cancelled)
            return endCheckOnClose(connection);
        if (end != CollectionEnd::Ended) {
            endCheckOnPortError(connection, view, *failureOf(port));
            return false;
        }
        // The check goes by its markers alone, whatever else the reply holds.
        if (holdsMarker(connection.replyBuffer, check.markers)) {
            if (!readCheckReplyToItsEnd(connection, view, check, owed)) {
                if (view.cancelled())
                    return endCheckOnClose(connection);
                endCheckOnPortError(connection, view, *failureOf(port));
                return false;
            }
            connection.replyBuffer.clear();
            connection.attach(device); // the port is open on it already
            connection.modemConnected = true;
            view.setStatusText(QCoreApplication::translate("ModemLink", "Modem Connected"));
            return true; // the port stays open
        }
        // Without echo, a first "AT" that got no result code may still get one.
        connection.setModemEchoes(holdsEcho(connection.replyBuffer, check.command));
        connection.setOwedResultCodes(owed);
        settleResultCodes(connection);
        owed = connection.owedResultCodes();
        if (const auto error = clearModemLine(port)) {
            endCheckOnPortError(connection, view, *error);
            return false;
        }
    }

    port.close();
    view.showModemError(noAnswerMessage(device, connection.commPortNumber(), connection.hints()));
    connection.modemConnected = false;
    view.setStatusText(QCoreApplication::translate("ModemLink", disconnectedText));
    return false;
}

OperationPlan relayPlan(const QString& command) {
    return {.openingText = QCoreApplication::translate("ModemLink",
                                                       "Modem Connected, sending relay string..."),
            .steps = {{.exchange = {.command = command,
                                    .timeoutMs = 1500,
                                    .rule = CompletionRule::FinalResult,
                                    .pumpEvents = true,
                                    .markers = answerMarkers},
                       .text = QCoreApplication::translate(
                           "ModemLink", "Modem Connected, sending relay string")}}};
}

OperationResult sendRelayString(ModemConnection& connection, OperationObserver& view,
                                const QString& command) {
    return runOperation(connection, view, relayPlan(command));
}

QStringList factoryDefaultCommands() {
    return {QStringLiteral("AT&F"), QStringLiteral("AT&Q1&C1&D0"), QStringLiteral("ATS0=1"),
            QStringLiteral("AT+IPR=9600"), QStringLiteral("AT&W")};
}

OperationPlan factoryDefaultsPlan() {
    OperationPlan plan{.openingText = QCoreApplication::translate(
                           "ModemLink", "Modem Connected, sending default string..."),
                       .steps = {}};
    const QStringList commands = factoryDefaultCommands();
    for (qsizetype i = 0; i < commands.size(); ++i)
        plan.steps << Step{
            .exchange = {.command = commands[i],
                         .timeoutMs = 2000,
                         .rule = CompletionRule::FinalResult,
                         .pumpEvents = true,
                         .markers = answerMarkers},
            .text = QCoreApplication::translate("ModemLink",
                                                "Modem Connected, sending default string no. %1")
                        .arg(i + 1),
            .announced = true};
    return plan;
}

OperationResult sendDefaultString(ModemConnection& connection, OperationObserver& view) {
    return runOperation(connection, view, factoryDefaultsPlan());
}

QString unconfirmedDefaultsText(const QList<int>& commands) {
    const QStringList texts = factoryDefaultCommands();
    QStringList what;
    for (int n : commands)
        what << QStringLiteral("%1 (%2)").arg(n).arg(texts.value(n - 1));
    // One sentence for one command and one for several, as languages differ in more than an "s".
    return (commands.size() == 1
                ? QCoreApplication::translate(
                      "ModemLink", "The modem did not confirm factory-default command %1.")
                : QCoreApplication::translate(
                      "ModemLink", "The modem did not confirm factory-default commands %1."))
        .arg(spokenList(what));
}

QString unconfirmedRelayText(const QString& command) {
    return QCoreApplication::translate("ModemLink",
                                       "The modem did not confirm the relay command %1.")
        .arg(command);
}
