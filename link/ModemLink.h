#pragma once

#include "OperationSteps.h"

#include <QDateTime>
#include <QString>

class SerialPort;
class ModemView;

// The modem link's operations. They work on the one link state (LinkState.h)
// and reach the window only through the ModemView.

// Checks with "AT" (two attempts) that a modem answers on CommPortNumber.
// On success the device it found is fixed for every later operation, until
// the window disconnects.
void ConnectModem(SerialPort& port, ModemView& view);
// Sends RelayCommand and judges the reply; the port is closed afterwards.
// Unconfirmed: step 1.
OperationResult SendRelayString(SerialPort& port, ModemView& view);
// Sends the five factory-default commands; the port is closed afterwards.
// Unconfirmed: the numbers of the commands, 1 to 5.
OperationResult SendDefaultString(SerialPort& port, ModemView& view);

// The five factory-default command texts, in their order.
QStringList factoryDefaultCommands();

// What the "Modem error" box says about commands the modem did not confirm.
QString unconfirmedDefaultsText(const QList<int>& commands);
QString unconfirmedRelayText(const QString& command);

// The port selector's handler: entry p (from 0) stands for "Com p+1".
void selectPortEntry(int position);

// The clock panel's text: short date followed by long time, in the
// system's format.
QString clockText(const QDateTime& now);
