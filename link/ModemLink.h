#pragma once

#include <QDateTime>
#include <QString>

class SerialPort;
class ModemView;
struct PortError;

// The modem link's operations. They work on the one link state (LinkState.h)
// and reach the window only through the ModemView.

// Checks with "AT" (two attempts) that a modem answers on CommPortNumber.
void ConnectModem(SerialPort& port, ModemView& view);
// Sends RelayCommand and judges the reply; the port is closed afterwards.
void SendRelayString(SerialPort& port, ModemView& view);
// Sends the five factory-default commands; the port is closed afterwards.
void SendDefaultString(SerialPort& port, ModemView& view);

// The text of the "Modem error" box for a port that cannot be opened or was
// lost: "Serial port not valid", "Modem already in use", or the device with
// the system's reason (and, for a permission problem, how to get access).
QString portErrorMessage(const PortError& error);

// The port selector's handler: entry p (from 0) stands for "Com p+1".
void selectPortEntry(int position);

// The clock panel's text: short date followed by long time, in the
// system's format.
QString clockText(const QDateTime& now);
