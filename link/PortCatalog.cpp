#include "PortCatalog.h"

#include "PortNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <unistd.h>

namespace {

constexpr int HighestComNumber = 255;

// The stable names udev gives USB serial adapters, by what they point at.
QString byIdPathOf(const QString& device) {
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& entry :
         byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (entry.isSymLink() && entry.canonicalFilePath() == device)
            return entry.absoluteFilePath();
    }
    return {};
}

bool mayOpen(const QString& device) {
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
}

CatalogPort& entryFor(QList<CatalogPort>& catalog, const QString& device) {
    for (CatalogPort& port : catalog)
        if (port.device == device)
            return port;
    CatalogPort port;
    port.device = device;
    catalog << port;
    return catalog.last();
}

} // namespace

QList<CatalogPort> portCatalog(const QList<ListedPortInfo>& listed) {
    QList<CatalogPort> catalog;
    QStringList order;
    for (const ListedPortInfo& info : listed) {
        CatalogPort& port = entryFor(catalog, info.device);
        port.description = info.description;
        port.manufacturer = info.manufacturer;
        port.serialNumber = info.serialNumber;
        port.vendorId = info.vendorId;
        port.productId = info.productId;
        port.listed = true;
        order << info.device;
    }
    for (int n = 1; n <= HighestComNumber; ++n) {
        const QString device = deviceForComPort(n, order);
        if (device.isEmpty())
            continue;
        CatalogPort& port = entryFor(catalog, device);
        port.comNumbers << n;
        if (!linkedDevice(n).isEmpty())
            port.linkPaths << QDir(portsFolder()).filePath(QStringLiteral("com%1").arg(n));
    }
    for (CatalogPort& port : catalog) {
        const QFileInfo file(port.device);
        port.present = file.exists();
        port.accessible = port.present && mayOpen(port.device);
        port.group = port.present ? file.group() : QString();
        port.byIdPath = byIdPathOf(port.device);
    }
    return catalog;
}

QList<CatalogPort> portCatalog() {
    QList<ListedPort> ports;
    QHash<QString, ListedPortInfo> infos;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.append({info.systemLocation(), info.hasVendorIdentifier()});
        ListedPortInfo listed{info.systemLocation(), info.description(), info.manufacturer(),
                              info.serialNumber(),   std::nullopt,       std::nullopt};
        if (info.hasVendorIdentifier())
            listed.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            listed.productId = info.productIdentifier();
        infos.insert(info.systemLocation(), listed);
    }
    QList<ListedPortInfo> inOrder;
    for (const QString& device : orderListedPorts(ports))
        inOrder << infos.value(device);
    return portCatalog(inOrder);
}

QString accessAdvice(const CatalogPort& port) {
    if (!port.present || port.accessible)
        return {};
    const QString group = port.group.isEmpty() ? QStringLiteral("dialout") : port.group;
    return QCoreApplication::translate(
               "PortCatalog", "Add yourself to the group %1 (sudo adduser $USER %1), then log out "
                              "and in again.")
        .arg(group);
}
