#include "PortListing.h"

#include "Console.h"
#include "PortCatalog.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

namespace {

QString hex4(quint16 id) {
    return QStringLiteral("%1").arg(id, 4, 16, QChar(u'0'));
}

} // namespace

void printPortCatalog(Console& console, bool json) {
    const QList<CatalogPort> ports = portCatalog();
    if (json) {
        QJsonArray list;
        for (const CatalogPort& port : ports) {
            QJsonArray numbers;
            for (int n : port.comNumbers)
                numbers.append(n);
            QJsonObject entry{{QStringLiteral("comNumbers"), numbers},
                              {QStringLiteral("device"), port.device},
                              {QStringLiteral("description"), port.description},
                              {QStringLiteral("manufacturer"), port.manufacturer},
                              {QStringLiteral("serialNumber"), port.serialNumber},
                              {QStringLiteral("byIdPath"), port.byIdPath},
                              {QStringLiteral("links"), QJsonArray::fromStringList(port.linkPaths)},
                              {QStringLiteral("present"), port.present},
                              {QStringLiteral("accessible"), port.accessible}};
            if (port.vendorId && port.productId) {
                entry.insert(QStringLiteral("vendorId"), hex4(*port.vendorId));
                entry.insert(QStringLiteral("productId"), hex4(*port.productId));
            }
            list.append(entry);
        }
        console.json({{QStringLiteral("command"), QStringLiteral("ports")},
                      {QStringLiteral("ports"), list}});
        return;
    }
    if (ports.isEmpty()) {
        console.line(QCoreApplication::translate("TavekCli", "No serial ports."));
        return;
    }
    for (const CatalogPort& port : ports) {
        QStringList numbers;
        for (int n : port.comNumbers)
            numbers << QCoreApplication::translate("TavekCli", "Com %1").arg(n);
        console.line(
            QStringLiteral("%1  %2").arg(numbers.join(QStringLiteral(", ")), -8).arg(port.device));
        QStringList known;
        for (const QString& text : {port.description, port.manufacturer})
            if (!text.isEmpty())
                known << text;
        if (!port.serialNumber.isEmpty())
            known << QCoreApplication::translate("TavekCli", "serial number ") + port.serialNumber;
        if (port.vendorId && port.productId)
            known << QCoreApplication::translate("TavekCli", "USB %1:%2")
                         .arg(hex4(*port.vendorId), hex4(*port.productId));
        const QString indent(10, u' ');
        if (!known.isEmpty())
            console.line(indent + known.join(QStringLiteral(", ")));
        if (!port.byIdPath.isEmpty())
            console.line(indent + QCoreApplication::translate("TavekCli", "stable name ") +
                         port.byIdPath);
        for (const QString& link : port.linkPaths)
            console.line(indent + QCoreApplication::translate("TavekCli", "linked as ") + link);
        if (!port.present)
            console.line(indent +
                         QCoreApplication::translate("TavekCli", "missing: no device is there"));
        else if (!port.accessible)
            console.line(indent + QCoreApplication::translate("TavekCli", "no access: ") +
                         accessAdvice(port));
    }
}
