#pragma once

#include "OperationRunner.h"

#include <QString>
#include <QStringList>

class ModemConnection;
class ModemView;

// The modem link's operations.

// Checks with "AT" (two attempts) that a modem answers on the "Com N" of the
// connection. On success the device it found is the connection's device for
// every later operation, until the window disconnects.
void ConnectModem(ModemConnection& connection, ModemView& view);

// The relay commands of the toolbar's "Set reley on" and "Set reley off".
inline const QString RelayOnCommand = QStringLiteral("AT+WIOW=0,0");
inline const QString RelayOffCommand = QStringLiteral("AT+WIOW=0,1");
// Sends one relay command and judges the reply; the port is closed afterwards.
OperationPlan relayPlan(const QString& command);
OperationResult SendRelayString(ModemConnection& connection, ModemView& view,
                                const QString& command);

// The five factory-default commands, in their order; the port is closed
// afterwards. Unconfirmed steps are the numbers of the commands, 1 to 5.
QStringList factoryDefaultCommands();
OperationPlan factoryDefaultsPlan();
OperationResult SendDefaultString(ModemConnection& connection, ModemView& view);

// What the "Modem error" box says about commands the modem did not confirm.
QString unconfirmedDefaultsText(const QList<int>& commands);
QString unconfirmedRelayText(const QString& command);
