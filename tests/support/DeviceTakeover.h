#pragma once

#include "VirtualModem.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <memory>
#include <vector>

// Another modem given the device number (/dev/pts/N) of one that vanished,
// as the system gives a new adapter the name an old one had. Linux gives a
// new pseudo-terminal the lowest free number: once nothing holds the old
// one, the next made takes it, unless a lower number is free too. Those are
// kept, so that they stay taken, and another is made; a higher number means
// the old one is still held or was taken by someone else. That is how
// numbers are handed out, not how fast, so a few tries are no retry.
class DeviceTakeover {
public:
    // The modem at path, or nullptr; then taken() says what was given instead.
    VirtualModem* takeNumberOf(const QString& path) {
        const int wanted = numberOf(path);
        for (int tries = 0; tries < 8; ++tries) {
            modems_.push_back(std::make_unique<VirtualModem>());
            const QString given = modems_.back()->devicePath();
            if (given == path)
                return modems_.back().get();
            if (given.isEmpty() || numberOf(given) > wanted)
                break;
        }
        return nullptr;
    }
    QString taken() const {
        QStringList paths;
        for (const auto& modem : modems_)
            paths << modem->devicePath();
        return paths.join(QStringLiteral(", "));
    }

private:
    static int numberOf(const QString& path) { return QFileInfo(path).fileName().toInt(); }
    std::vector<std::unique_ptr<VirtualModem>> modems_;
};

// Whether the process holds the device open: one of its file descriptors
// names it (with " (deleted)" once the device's node is gone).
inline bool holdsOpen(qint64 pid, const QString& path) {
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo& descriptor : descriptors.entryInfoList(QDir::System | QDir::Files)) {
        const QString target = descriptor.symLinkTarget();
        if (target == path || target == path + QStringLiteral(" (deleted)"))
            return true;
    }
    return false;
}
