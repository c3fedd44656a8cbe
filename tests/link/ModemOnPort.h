#pragma once

#include "LinkState.h"
#include "PortNames.h"
#include "VirtualModem.h"

#include <QDir>
#include <QFile>
#include <QStringList>

// A virtual modem linked as "Com 1" in the ports folder, with CommPortNumber
// set to it. Enable QStandardPaths' test mode first.
struct ModemOnPort {
    VirtualModem modem;
    const QString link = QDir(portsFolder()).filePath("com1");

    ModemOnPort() {
        QDir().mkpath(portsFolder());
        QFile::remove(link);
        QFile::link(modem.devicePath(), link);
        linkState().CommPortNumber = 1;
    }
    ~ModemOnPort() { QFile::remove(link); }

    // The command lines the modem received, in order.
    QStringList lines() const {
        QStringList texts;
        for (const auto& received : modem.received())
            texts << QString::fromLatin1(received.line);
        return texts;
    }
};
