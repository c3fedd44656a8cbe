#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Every serial port a user may mean: those the system lists, and those the
// ports folder links as "Com N" (a pseudo-terminal such as the virtual
// modem, an rfcomm port, a network serial server), with what is known of
// each. The ports dialog and "tavek-cli ports" show it.
struct CatalogPort {
    QString device;       // e.g. /dev/ttyUSB0, or what a link points at
    QString description;  // as the system tells it; empty for a linked-only device
    QString manufacturer; //
    QString serialNumber; //
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString byIdPath;        // the stable /dev/serial/by-id/... name, where there is one
    QList<int> comNumbers;   // the "Com N" that reach it now, by link or by list position
    QStringList linkPaths;   // links in the ports folder that name it
    bool listed = false;     // the system lists it
    bool present = false;    // the device exists
    bool accessible = false; // this user may open it for reading and writing
    QString group;           // the group that owns the device (dialout, usually)
};

// The ports of the system, in "Com" order (PortNames.h), then the devices
// that only links name; each device once.
QList<CatalogPort> portCatalog();

// The same for a given snapshot: listed devices in "Com" order with what the
// system says of them (as QSerialPortInfo gives it), and the ports folder.
struct ListedPortInfo {
    QString device;
    QString description, manufacturer, serialNumber;
    std::optional<quint16> vendorId, productId;
};
QList<CatalogPort> portCatalog(const QList<ListedPortInfo>& listed);

// What a user who may not open a device should do about it.
QString accessAdvice(const CatalogPort& port);
