#include "ModemLink.h"

#include "AtExchange.h"
#include "LinkState.h"
#include "ModemView.h"
#include "OperationSteps.h"
#include "SerialPort.h"

#include <QLocale>

namespace {

const QString connectedText = QStringLiteral("Modem Connected");
const QString disconnectedText = QStringLiteral("Modem Disconnected");

// The connection check ends on a port error: the user learns why, the port
// is released, and the window stays disconnected.
void endCheckOnPortError(SerialPort& port, ModemView& view, const PortError& error) {
    view.showModemError(portErrorMessage(error));
    if (port.isOpen())
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

} // namespace

void ConnectModem(SerialPort& port, ModemView& view) {
    LinkState& link = linkState();
    if (port.isOpen())
        port.close();
    port.setPortNumber(link.CommPortNumber);
    view.setStatusText(QStringLiteral("Modem Connecting..."));
    link.ModemConnected = false;
    int attempts = 0;
    link.ReplyBuffer.clear();
    if (!port.isOpen()) {
        if (const auto error = port.open()) {
            endCheckOnPortError(port, view, *error);
            return;
        }
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
        if (!writeCommandLine(port, check.command) || !collectReply(port, view, check) ||
            !collectReply(port, view, check)) {
            endCheckOnPortError(port, view, portFailureOf(port));
            return;
        }
        if (replyHasMarker(link.ReplyBuffer, check.markers)) {
            link.ReplyBuffer.clear();
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

    if (port.isOpen())
        port.close();
    view.showModemError(QStringLiteral("Modem not connected"));
    link.ModemConnected = false;
    view.setStatusText(disconnectedText);
}

void SendRelayString(SerialPort& port, ModemView& view) {
    LinkState& link = linkState();
    view.setStatusText(QStringLiteral("Modem Connected, sending relay string..."));
    if (const auto error = preparePort(port)) {
        abandonOnPortError(port, view, *error);
        return;
    }
    const ExchangeSpec relay{link.RelayCommand(),
                             1500,
                             CompletionRule::Draining,
                             true,
                             {QStringLiteral("AT"), QStringLiteral("OK")}};
    if (!runJudgedStep(port, view, relay, QStringLiteral("Modem Connected, sending relay string")))
        return;
    if (port.isOpen())
        port.close();
    view.setStatusText(connectedText);
}

void SendDefaultString(SerialPort& port, ModemView& view) {
    LinkState& link = linkState();
    view.setStatusText(QStringLiteral("Modem Connected, sending default string..."));
    link.commandSlots = {QStringLiteral("AT&F"), QStringLiteral("AT&Q1&C1&D0"),
                         QStringLiteral("ATS0=1"), QStringLiteral("AT+IPR=9600"),
                         QStringLiteral("AT&W")};
    if (const auto error = preparePort(port)) {
        abandonOnPortError(port, view, *error);
        return;
    }
    for (int n = 1; n <= 5; ++n) {
        const QString step =
            QStringLiteral("Modem Connected, sending default string no. %1").arg(n);
        view.setStatusText(step + QStringLiteral("..."));
        const ExchangeSpec command{link.commandSlots[n - 1],
                                   2000,
                                   CompletionRule::Marker,
                                   true,
                                   {QStringLiteral("AT"), QStringLiteral("OK")}};
        if (!runJudgedStep(port, view, command, step))
            return;
    }
    if (port.isOpen())
        port.close();
    view.setStatusText(connectedText);
}

QString portErrorMessage(const PortError& error) {
    if (error.number == PortNotValidError)
        return QStringLiteral("Serial port not valid");
    if (error.number == PortInUseError)
        return QStringLiteral("Modem already in use");
    const QString device =
        error.device.isEmpty() ? QStringLiteral("the serial port") : error.device;
    if (error.lost)
        return QStringLiteral("The connection through %1 was lost: %2").arg(device, error.reason);
    QString text = QStringLiteral("Cannot open %1: %2").arg(device, error.reason);
    if (error.accessDenied)
        text += QStringLiteral("\n\nTo get access, add your user to the group that owns the port "
                               "(usually dialout: sudo usermod -aG dialout $USER), then log out "
                               "and in again.");
    return text;
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
