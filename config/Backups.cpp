#include "Backups.h"

#include "ConfigFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {

// "2026-12-07_01-23-45.123_ttyUSB0.tavek": the time first, to the
// millisecond, so that names sort as times do; then the device, its "/dev/"
// left out and "/" as "-".
const QString TimeFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss.zzz");
const QRegularExpression
    BackupName(QStringLiteral(R"(^(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.\d{3})_(.+)\.tavek$)"));

QString deviceInName(QString device) {
    if (device.startsWith(QLatin1String("/dev/")))
        device = device.mid(5);
    device.replace(u'/', u'-');
    device.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")));
    return device.isEmpty() ? QStringLiteral("modem") : device;
}

QString deviceFromName(const QString& name) {
    return name.startsWith(QLatin1String("COM"))
               ? name
               : QStringLiteral("/dev/") + QString(name).replace(u'-', u'/');
}

} // namespace

QString backupsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tavek/backups");
}

std::optional<QString> keepBackup(const ModemConfiguration& configuration, const QString& device,
                                  const QDateTime& at, QString* error) {
    const QDir folder(backupsFolder());
    if (!folder.mkpath(QStringLiteral("."))) {
        if (error)
            *error = QCoreApplication::translate("Backups", "The folder %1 cannot be made.")
                         .arg(QDir::toNativeSeparators(folder.path()));
        return std::nullopt;
    }
    const QString name = deviceInName(device);
    // Two reads within one millisecond keep both.
    QDateTime when = at;
    QString path;
    do {
        path = folder.filePath(QStringLiteral("%1_%2.tavek").arg(when.toString(TimeFormat), name));
        when = when.addMSecs(1);
    } while (QFileInfo::exists(path));
    if (!saveConfigurationFile(path, configuration, error))
        return std::nullopt;
    const QList<BackupEntry> kept = listBackups();
    for (qsizetype i = BackupsKept; i < kept.size(); ++i)
        QFile::remove(kept[i].path);
    return path;
}

QList<BackupEntry> listBackups() {
    QList<BackupEntry> backups;
    const QDir folder(backupsFolder());
    for (const QString& file : folder.entryList({QStringLiteral("*.tavek")}, QDir::Files)) {
        const QRegularExpressionMatch match = BackupName.match(file);
        if (!match.hasMatch())
            continue; // a file of the user's: never touched
        backups << BackupEntry{folder.filePath(file), deviceFromName(match.captured(2)),
                               QDateTime::fromString(match.captured(1), TimeFormat)};
    }
    std::sort(backups.begin(), backups.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return QFileInfo(a.path).fileName() > QFileInfo(b.path).fileName();
    });
    return backups;
}
