#pragma once

#include "ModemConfiguration.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// A configuration file (".tavek") holds one modem's whole configuration, so
// that an installer can save one modem and write it into the next fifty. It
// is JSON meant to be read and edited by hand; docs/configuration-file.md
// describes every key.

// The name in the file's "format" key, and the version this program writes
// and reads.
inline const QString ConfigurationFormatName = QStringLiteral("tavek-configuration");
inline constexpr int ConfigurationFileVersion = 1;

// The file's text: indented JSON in a fixed key order, UTF-8, ending in a
// newline. A message box that shows the placeholder is written as null, any
// other text as a string; the colour of the text is not kept.
QByteArray configurationFileText(const ModemConfiguration& configuration);

// Either a whole configuration and no problems, or no configuration and every
// problem found, each as "place: what is wrong" (the place is a path such as
// inputs[2].delayMs, or a line and column where the JSON itself is broken).
struct ConfigurationFileReading {
    std::optional<ModemConfiguration> configuration;
    QStringList problems;
};

// Checks the whole text before it yields anything. Whatever it accepts the
// window can show and the modem can take: delays 0 to 10, messages of at
// most 160 characters that the line carries (ModemText.h), phone numbers
// (PhoneNumberRule.h) at positions 1 to 20. A key given twice in one object
// is refused. Keys it does not know are ignored.
ConfigurationFileReading readConfigurationFile(const QByteArray& bytes);

// One message for the user that lists all the problems; empty without problems.
QString problemsText(const QStringList& problems);

// Writes the file through saveWhole (SafeSave.h): an existing file is
// replaced whole or not at all, and only a file is ever replaced. A
// configuration whose file would not open again (a number read from a modem
// with a blank inside, say) is not written. On failure, returns false
// with the reason in *error (when given).
bool saveConfigurationFile(const QString& path, const ModemConfiguration& configuration,
                           QString* error);

// Reads and checks the file at path; a file that cannot be read, or a path
// that names no file (a pipe, a device, a folder), is one problem. Nothing
// but a file is opened.
ConfigurationFileReading loadConfigurationFile(const QString& path);
// The same from a device already open (standard input), called name in the
// problems. At most 1 MB is read.
ConfigurationFileReading loadConfigurationFile(QIODevice& device, const QString& name);
