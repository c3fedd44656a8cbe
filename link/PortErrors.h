#pragma once

#include "LinkEnvironment.h"
#include "SerialPort.h"

#include <QSerialPort>
#include <QString>

// How the system's reasons for a port that cannot be opened, or that fails
// while open, reach the user. Pure functions of what QSerialPort reported.

// An open failure: a missing device is PortNotValidError; a port whose lock
// file another program holds, or that the system reports busy (EBUSY), is
// PortInUseError; anything else (permission denied, an I/O error) is 0 with
// the system's reason. QSerialPort reports busy, locked and permission denied
// all as PermissionError, so these are told apart by its error text.
PortError classifyOpenFailure(QSerialPort::SerialPortError error, const QString& errorText,
                              const QString& device);

// Whether an error reported while the port is open means that the port is
// gone (an adapter pulled out, the other end of a pseudo-terminal closed).
// NoError and TimeoutError come with normal operation, and DTR/RTS are not
// supported by every device: none of them is a failure.
bool isPortLost(QSerialPort::SerialPortError error);

// The text of the "Modem error" box for a port that cannot be opened or was
// lost: "Serial port not valid", "Modem already in use", the lost device, or
// the device with the system's reason (and, for a permission problem, how to
// get access). "Serial port not valid" goes on to say which device "Com N"
// was looked for and how to give an adapter a number.
QString portErrorMessage(const PortError& error, const PortHints& hints = {});

// The text of the "Modem error" box for a modem that did not answer the
// connection check: "Modem not connected", the device tried and what to check.
QString noAnswerMessage(const QString& device, int comNumber, const PortHints& hints = {});
