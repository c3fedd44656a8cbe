#include "ModemLink.h"

#include "AtExchange.h"
#include "LinkState.h"
#include "ModemView.h"
#include "OperationSteps.h"
#include "PortErrors.h"
#include "SerialPort.h"

#include <QLocale>

namespace {

const QString connectedText = QStringLiteral("Modem Connected");
const QString disconnectedText = QStringLiteral("Modem Disconnected");

// The connection check ends on a port error: the user learns why, the port
// is released, and the window stays disconnected.
void endCheckOnPortError(SerialPort& port, ModemView& view, const PortError& error) {
    view.showModemError(portErrorMessage(error));
    port.close();
    linkState().ModemConnected = false;
    view.setStatusText(disconnectedText);
}

// A lone carriage return ends whatever the modem took for a half line; then
// everything it sent is thrown away.
std::optional<PortError> clearModemLine(SerialPort& port) {
    if (!port.isOpen()) {
        if (auto error = port.open())
            return error;
    }
    if (!port.write(QStringLiteral("\r")))
        return portFailureOf(port);
    while (port.charactersWaiting() != 0)
        port.readAll();
    if (port.failure())
        return portFailureOf(port);
    return std::nullopt;
}

const QStringList answerMarkers{QStringLiteral("AT"), QStringLiteral("OK")};

} // namespace

void ConnectModem(SerialPort& port, ModemView& view) {
    LinkState& link = linkState();
    port.close();
    port.setPortNumber(link.CommPortNumber);
    view.setStatusText(QStringLiteral("Modem Connecting..."));
    link.ModemConnected = false;
    int attempts = 0;
    link.ReplyBuffer.clear();
    // A new check looks for the device again.
    port.unpinDevice();
    if (const auto error = port.open()) {
        endCheckOnPortError(port, view, *error);
        return;
    }
    port.discardInput();

    // No events are pumped: the window does not react during the check.
    const ExchangeSpec check{QStringLiteral("AT"),
                             1500,
                             CompletionRule::Length,
                             false,
                             {QStringLiteral("at"), QStringLiteral("OK"), QStringLiteral("AT")}};
    for (;;) {
        if (++attempts == 3)
            break;
        // Two collections of the same kind, the second reading at least once more.
        if (!writeCommandLine(port, check.command) ||
            collectReply(port, view, check) != CollectionEnd::Ended ||
            collectReply(port, view, check) != CollectionEnd::Ended) {
            endCheckOnPortError(port, view, portFailureOf(port));
            return;
        }
        if (replyAnswered(link.ReplyBuffer, check.markers)) {
            link.ReplyBuffer.clear();
            port.pinDevice(port.device());
            view.setFramesEnabled(true);
            link.ModemConnected = true;
            view.setStatusText(connectedText);
            return; // the port stays open
        }
        if (const auto error = clearModemLine(port)) {
            endCheckOnPortError(port, view, *error);
            return;
        }
    }

    port.close();
    view.showModemError(QStringLiteral("Modem not connected"));
    link.ModemConnected = false;
    view.setStatusText(disconnectedText);
}

OperationResult SendRelayString(SerialPort& port, ModemView& view) {
    LinkState& link = linkState();
    view.setStatusText(QStringLiteral("Modem Connected, sending relay string..."));
    OperationSteps steps(port, view);
    if (!steps.start())
        return steps.result();
    const ExchangeSpec relay{link.RelayCommand(), 1500, CompletionRule::FinalResult, true,
                             answerMarkers};
    if (!steps.step(1, relay, QStringLiteral("Modem Connected, sending relay string")))
        return steps.result();
    return steps.finish(true);
}

QStringList factoryDefaultCommands() {
    return {QStringLiteral("AT&F"), QStringLiteral("AT&Q1&C1&D0"), QStringLiteral("ATS0=1"),
            QStringLiteral("AT+IPR=9600"), QStringLiteral("AT&W")};
}

OperationResult SendDefaultString(SerialPort& port, ModemView& view) {
    LinkState& link = linkState();
    view.setStatusText(QStringLiteral("Modem Connected, sending default string..."));
    const QStringList commands = factoryDefaultCommands();
    std::copy(commands.begin(), commands.end(), link.commandSlots.begin());
    OperationSteps steps(port, view);
    if (!steps.start())
        return steps.result();
    for (int n = 1; n <= 5; ++n) {
        const QString step =
            QStringLiteral("Modem Connected, sending default string no. %1").arg(n);
        view.setStatusText(step + QStringLiteral("..."));
        const ExchangeSpec command{link.commandSlots[n - 1], 2000, CompletionRule::FinalResult,
                                   true, answerMarkers};
        if (!steps.step(n, command, step))
            return steps.result();
    }
    return steps.finish(true);
}

QString unconfirmedDefaultsText(const QList<int>& commands) {
    const QStringList texts = factoryDefaultCommands();
    QStringList what;
    for (int n : commands)
        what << QStringLiteral("%1 (%2)").arg(n).arg(texts.value(n - 1));
    return QStringLiteral("The modem did not confirm factory-default command%1 %2.")
        .arg(commands.size() == 1 ? "" : "s", spokenList(what));
}

QString unconfirmedRelayText(const QString& command) {
    return QStringLiteral("The modem did not confirm the relay command %1.").arg(command);
}

void selectPortEntry(int position) {
    linkState().CommPortNumber = qint16(position + 1);
}

QString clockText(const QDateTime& now) {
    const QLocale locale;
    // The long time format may name the time zone ('t'); the clock shows the
    // time of day only.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    QString withoutZone;
    bool quoted = false;
    for (const QChar c : timeFormat) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            withoutZone += c;
    }
    return locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(now.time(), withoutZone.trimmed());
}
