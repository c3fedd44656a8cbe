#include "PortAssignment.h"

#include "PortNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <stdio.h>
#include <unistd.h>

namespace {

const char* const nothingChanged = QT_TRANSLATE_NOOP("PortAssignment", " Nothing was changed.");

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// Whether the existing link names this port: by its device, or by the path
// the port is known by (its own or its stable name).
bool namesPort(const QFileInfo& link, const CatalogPort& port) {
    const QString target = link.symLinkTarget();
    return link.canonicalFilePath() == port.device || target == port.device ||
           (!port.byIdPath.isEmpty() && target == port.byIdPath);
}

// A link made under a name of Tavek's own in the ports folder, then renamed
// over comN: the rename replaces whatever link was there in one step, so
// comN is never missing. symlink() never replaces an existing name, so the
// temporary name is one nobody else holds (a name that exists means another
// is drawn), and nothing but that link of Tavek's is ever removed.
std::optional<QString> placeLink(const QString& target, const QString& path) {
    const QString folder = portsFolder();
    const auto cannotWrite = [&folder](const QString& reason) {
        return QCoreApplication::translate("PortAssignment",
                                           "The ports folder %1 cannot be written: %2.")
                   .arg(folder, reason) +
               QCoreApplication::translate("PortAssignment", nothingChanged);
    };
    constexpr int Draws = 100;
    QByteArray temporary;
    for (int draw = 0; draw < Draws && temporary.isEmpty(); ++draw) {
        const QByteArray name = encoded(QDir(folder).filePath(
            QStringLiteral(".tavek-link-%1")
                .arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'))));
        if (::symlink(encoded(target).constData(), name.constData()) == 0)
            temporary = name;
        else if (errno != EEXIST)
            return cannotWrite(systemReason());
    }
    if (temporary.isEmpty())
        return cannotWrite(QString::fromLocal8Bit(std::strerror(EEXIST)));
    if (::rename(temporary.constData(), encoded(path).constData()) != 0) {
        const QString reason = systemReason();
        ::unlink(temporary.constData());
        return cannotWrite(reason);
    }
    return std::nullopt;
}

} // namespace

QString comLinkPath(int number) {
    return QDir(portsFolder()).filePath(QStringLiteral("com%1").arg(number));
}

QList<int> linkedNumbers(const CatalogPort& port) {
    QList<int> numbers;
    for (const QString& path : port.linkPaths) {
        const QString name = QFileInfo(path).fileName();
        bool isNumber = false;
        const int number = name.mid(3).toInt(&isNumber);
        if (name.startsWith(QStringLiteral("com")) && isNumber)
            numbers << number;
    }
    return numbers;
}

QString linkTarget(const CatalogPort& port) {
    return port.byIdPath.isEmpty() ? port.device : port.byIdPath;
}

int suggestedComNumber(const CatalogPort& port, const QList<CatalogPort>& catalog) {
    const QList<int> linked = linkedNumbers(port);
    if (!linked.isEmpty())
        return linked.first();
    if (!port.comNumbers.isEmpty())
        return port.comNumbers.first();
    for (int n = 1; n <= LastComNumber; ++n) {
        const bool used = std::any_of(catalog.begin(), catalog.end(), [n](const CatalogPort& p) {
            return p.comNumbers.contains(n) || linkedNumbers(p).contains(n);
        });
        if (!used && !QFileInfo(comLinkPath(n)).isSymLink())
            return n;
    }
    return 1;
}

std::optional<QString> assignComNumber(const CatalogPort& port, int number) {
    if (number < 1 || number > LastComNumber)
        return QCoreApplication::translate("PortAssignment", "Com numbers go from 1 to %1.")
                   .arg(LastComNumber) +
               QCoreApplication::translate("PortAssignment", nothingChanged);
    if (port.device.isEmpty())
        return QCoreApplication::translate("PortAssignment", "No port is chosen.") +
               QCoreApplication::translate("PortAssignment", nothingChanged);
    const QString path = comLinkPath(number);
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        if (!namesPort(existing, port))
            return QCoreApplication::translate(
                       "PortAssignment",
                       "Com %1 is already taken by %2. Remove that link first, or "
                       "choose another number.")
                       .arg(number)
                       .arg(existing.symLinkTarget()) +
                   QCoreApplication::translate("PortAssignment", nothingChanged);
    } else if (existing.exists()) {
        return QCoreApplication::translate(
                   "PortAssignment", "Com %1 cannot be assigned: %2 is there and is not a link.")
                   .arg(number)
                   .arg(path) +
               QCoreApplication::translate("PortAssignment", nothingChanged);
    }
    if (!QDir().mkpath(portsFolder()))
        return QCoreApplication::translate("PortAssignment", "The ports folder %1 cannot be made.")
                   .arg(portsFolder()) +
               QCoreApplication::translate("PortAssignment", nothingChanged);
    return placeLink(linkTarget(port), path);
}

std::optional<QString> removeComLinks(const QList<int>& numbers) {
    struct Removed {
        QString path, target;
    };
    QList<Removed> removed;
    for (int number : numbers) {
        const QString path = comLinkPath(number);
        const QFileInfo link(path);
        if (!link.isSymLink())
            continue; // gone already: nothing to undo
        const QString target = link.symLinkTarget();
        if (::unlink(encoded(path).constData()) != 0) {
            const QString reason = systemReason();
            // Puts back what went before this one, so the folder is as it was.
            for (const Removed& back : removed)
                ::symlink(encoded(back.target).constData(), encoded(back.path).constData());
            return QCoreApplication::translate(
                       "PortAssignment", "com%1 cannot be removed from the ports folder %2: %3.")
                       .arg(number)
                       .arg(portsFolder(), reason) +
                   QCoreApplication::translate("PortAssignment", nothingChanged);
        }
        removed << Removed{path, target};
    }
    return std::nullopt;
}
