#pragma once

#include "OperationRunner.h"

#include <QString>
#include <QStringList>

class ModemConnection;
class OperationObserver;

// The modem link's operations.

// Checks with "AT" (two attempts) that a modem answers on the "Com N" of the
// connection. On success (true) the device it found is the connection's
// device, held open for every later operation until the disconnect.
bool connectModem(ModemConnection& connection, OperationObserver& observer);

// The relay commands of the toolbar's "Set reley on" and "Set reley off".
inline const QString RelayOnCommand = QStringLiteral("AT+WIOW=0,0");
inline const QString RelayOffCommand = QStringLiteral("AT+WIOW=0,1");
// Sends one relay command and judges the reply; the port is closed afterwards.
OperationPlan relayPlan(const QString& command);
OperationResult sendRelayString(ModemConnection& connection, OperationObserver& observer,
                                const QString& command);

// The five factory-default commands, in their order; the port is closed
// afterwards. Unconfirmed steps are the numbers of the commands, 1 to 5.
QStringList factoryDefaultCommands();
OperationPlan factoryDefaultsPlan();
OperationResult sendDefaultString(ModemConnection& connection, OperationObserver& observer);

// What the "Modem error" box says about commands the modem did not confirm.
QString unconfirmedDefaultsText(const QList<int>& commands);
QString unconfirmedRelayText(const QString& command);
