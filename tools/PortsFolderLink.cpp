#include "PortsFolderLink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr int highestNumber = 255;

QString linkPathFor(int number) {
    return PortsFolderLink::folder() + QStringLiteral("/com%1").arg(number);
}

// Free: nothing there, or a link to a device that no longer exists (then removed).
bool takeIfFree(const QString& path) {
    const QFileInfo entry(path);
    if (!entry.isSymLink())
        return !entry.exists();
    return !entry.exists() && QFile::remove(path);
}

} // namespace

QString PortsFolderLink::folder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tavek/ports");
}

PortsFolderLink::PortsFolderLink(const QString& device, int number) : m_device(device) {
    if (!QDir().mkpath(folder())) {
        m_error = QStringLiteral("cannot create %1").arg(folder());
        return;
    }
    int chosen = number;
    if (number > 0) {
        // A number asked for by name takes over an existing link, as "ln -sf" would.
        if (QFileInfo(linkPathFor(number)).isSymLink())
            QFile::remove(linkPathFor(number));
        if (!takeIfFree(linkPathFor(number))) {
            m_error = QStringLiteral("%1 is already in use").arg(linkPathFor(number));
            return;
        }
    } else {
        for (chosen = 1; chosen <= highestNumber && !takeIfFree(linkPathFor(chosen)); ++chosen) {
        }
        if (chosen > highestNumber) {
            m_error = QStringLiteral("no free number in %1").arg(folder());
            return;
        }
    }
    if (!QFile::link(device, linkPathFor(chosen))) {
        m_error = QStringLiteral("cannot create the link %1").arg(linkPathFor(chosen));
        return;
    }
    m_number = chosen;
    m_linkPath = linkPathFor(chosen);
}

PortsFolderLink::~PortsFolderLink() {
    if (isLinked() && QFileInfo(m_linkPath).symLinkTarget() == m_device)
        QFile::remove(m_linkPath);
}
