#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Which device "Com N" stands for.
//
// On Unix "Com N" is the device that the link `comN` in the ports folder
// (portsFolder()) points to, where that link exists; this follows Wine's
// dosdevices, so a user can give any device a fixed number. Where no link
// names N, "Com N" is the N-th port that the system lists, USB adapters
// first. On Windows "Com N" is simply COMN.
//
// The list of the system's ports is taken once, when the port selector is
// filled: listSerialPorts() gives that snapshot, and the window hands the
// same snapshot to deviceForComPort() for the selector's tooltips and to
// ModemConnection::setPortListing() for the opens, so a USB adapter plugged in
// later does not shift the numbers behind the user's back. Links are looked
// up at every call, so a link made later counts at once.

// A port as the system lists it.
struct ListedPort {
    QString systemLocation; // e.g. /dev/ttyUSB0
    bool usb = false;       // the port has a USB vendor identifier
};

// "ttyS2" before "ttyS10": digit runs compare by value, the rest as text.
bool naturalLess(const QString& a, const QString& b);

// The system locations in "Com" order: USB adapters first, then the rest,
// each group in natural order of system location.
QStringList orderListedPorts(QList<ListedPort> ports);

// The system's serial ports now, in "Com" order.
QStringList listSerialPorts();

// GenericConfigLocation + "/tavek/ports".
QString portsFolder();

// The device the link comN of the ports folder names (fully resolved where
// the target exists), or empty when there is no such link.
QString linkedDevice(int n);

// The devices the links of the ports folder name, by their number, from one
// look at the folder.
QMap<int, QString> linkedDevices();

// The device "Com n" resolves to, with listed taken by listSerialPorts();
// empty when n names no port.
QString deviceForComPort(int n, const QStringList& listed);
// The same with the links taken by linkedDevices().
QString deviceForComPort(int n, const QStringList& listed, const QMap<int, QString>& links);
// The same with the system's ports listed now.
QString deviceForComPort(int n);
