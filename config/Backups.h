#pragma once

#include "ModemConfiguration.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// Every configuration read whole from a modem is kept as a configuration
// file in the backups folder, before anything overwrites what the modem
// held: one Enter on "Set default settings" must not lose a site's phone
// book. Restoring is opening a backup and sending it.

// $XDG_DATA_HOME/tavek/backups (GenericDataLocation).
QString backupsFolder();
// The newest kept; older ones go as new ones come.
inline constexpr int BackupsKept = 200;

struct BackupEntry {
    QString path;
    QString device; // the device it was read from, as its name says
    QDateTime at;   // when, local time
};

// Writes the configuration read from device at the given time, whole or not
// at all, and lets the oldest go beyond BackupsKept. The path written, or
// nothing and the reason in plain words in *error.
std::optional<QString> keepBackup(const ModemConfiguration& configuration, const QString& device,
                                  const QDateTime& at, QString* error);

// The backups kept, newest first.
QList<BackupEntry> listBackups();
