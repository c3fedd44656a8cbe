#pragma once

#include "LinkState.h"
#include "PortNames.h"
#include "VirtualModem.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>

#include <memory>

// A virtual modem reachable as "Com number" through the ports folder, with
// CommPortNumber set to it. Call QStandardPaths::setTestModeEnabled(true)
// first, so the link lands in the test's own folder.
class ModemOnPort {
public:
    explicit ModemOnPort(int number = 1) : number_(number) {
        QDir().mkpath(portsFolder());
        QFile::remove(linkPath());
        QFile::link(modem->devicePath(), linkPath());
        linkState().CommPortNumber = qint16(number);
    }
    ~ModemOnPort() { QFile::remove(linkPath()); }
    ModemOnPort(const ModemOnPort&) = delete;
    ModemOnPort& operator=(const ModemOnPort&) = delete;

    QString linkPath() const {
        return QDir(portsFolder()).filePath(QStringLiteral("com%1").arg(number_));
    }

    // The command lines the modem received, in order.
    QStringList lines() const {
        QStringList texts;
        for (const auto& received : modem->received())
            texts << QString::fromLatin1(received.line);
        return texts;
    }

    std::unique_ptr<VirtualModem> modem = std::make_unique<VirtualModem>();

private:
    int number_;
};
