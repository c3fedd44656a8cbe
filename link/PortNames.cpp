#include "PortNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {

// One run of digits or of other characters.
QStringView nextRun(QStringView text, qsizetype from) {
    const bool digits = text[from].isDigit();
    qsizetype end = from;
    while (end < text.size() && text[end].isDigit() == digits)
        ++end;
    return text.mid(from, end - from);
}

// Compares two digit runs by value, whatever their leading zeros.
int compareNumbers(QStringView a, QStringView b) {
    auto stripZeros = [](QStringView s) {
        while (s.size() > 1 && s.front() == u'0')
            s = s.mid(1);
        return s;
    };
    a = stripZeros(a);
    b = stripZeros(b);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

bool naturalLess(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const QStringView runA = nextRun(a, i);
        const QStringView runB = nextRun(b, j);
        const bool numbers = runA.front().isDigit() && runB.front().isDigit();
        const int order = numbers ? compareNumbers(runA, runB) : runA.compare(runB);
        if (order != 0)
            return order < 0;
        i += runA.size();
        j += runB.size();
    }
    if ((i < a.size()) != (j < b.size()))
        return j < b.size(); // the shorter one first
    return a < b;            // equal by value ("ttyS01" and "ttyS1"): keep a fixed order
}

QStringList orderListedPorts(QList<ListedPort> ports) {
    std::sort(ports.begin(), ports.end(), [](const ListedPort& a, const ListedPort& b) {
        if (a.usb != b.usb)
            return a.usb;
        return naturalLess(a.systemLocation, b.systemLocation);
    });
    QStringList locations;
    for (const ListedPort& port : ports)
        locations << port.systemLocation;
    return locations;
}

QStringList listSerialPorts() {
    QList<ListedPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports.append({info.systemLocation(), info.hasVendorIdentifier()});
    return orderListedPorts(ports);
}

QString portsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tavek/ports");
}

namespace {

QString deviceOfLink(const QFileInfo& link) {
    if (!link.isSymLink())
        return {};
    // A device known by a stable alias (/dev/serial/by-id/...) is opened by
    // its real name, so that its lock file is the one other programs use.
    const QString resolved = link.canonicalFilePath();
    return resolved.isEmpty() ? link.symLinkTarget() : resolved;
}

} // namespace

QString linkedDevice(int n) {
    return deviceOfLink(QFileInfo(QDir(portsFolder()).filePath(QStringLiteral("com%1").arg(n))));
}

QMap<int, QString> linkedDevices() {
    QMap<int, QString> links;
    const QDir folder(portsFolder());
    for (const QFileInfo& entry : folder.entryInfoList(
             {QStringLiteral("com*")}, QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        const int n = entry.fileName().mid(3).toInt(&isNumber);
        if (!isNumber || entry.fileName() != QStringLiteral("com%1").arg(n))
            continue;
        const QString device = deviceOfLink(entry);
        if (!device.isEmpty())
            links.insert(n, device);
    }
    return links;
}

QString deviceForComPort(int n, const QStringList& listed) {
    if (n < 1)
        return {};
#ifdef Q_OS_WIN
    Q_UNUSED(listed);
    return QStringLiteral("COM%1").arg(n);
#else
    const QString linked = linkedDevice(n);
    if (!linked.isEmpty())
        return linked;
    return n <= listed.size() ? listed.at(n - 1) : QString();
#endif
}

QString deviceForComPort(int n, const QStringList& listed, const QMap<int, QString>& links) {
    if (n < 1)
        return {};
#ifdef Q_OS_WIN
    Q_UNUSED(listed);
    Q_UNUSED(links);
    return QStringLiteral("COM%1").arg(n);
#else
    if (const auto linked = links.find(n); linked != links.end())
        return *linked;
    return n <= listed.size() ? listed.at(n - 1) : QString();
#endif
}

QString deviceForComPort(int n) {
#ifdef Q_OS_WIN
    return deviceForComPort(n, {});
#else
    // Listing the system's ports is only needed where no link names n.
    const QString linked = linkedDevice(n);
    return linked.isEmpty() ? deviceForComPort(n, listSerialPorts()) : linked;
#endif
}
