#pragma once

// The configuration the benchmarks write: a full modem, twenty numbers and
// messages of 45 to 50 characters, so that every step carries as much as a
// site's would at most. The same configuration as the window means it and as
// the virtual modem stores it.
#include "ConfigFile.h"
#include "ModemConfiguration.h"
#include "VirtualModem.h"

#include <QFile>
#include <QTemporaryDir>

#include <array>

inline QByteArray fullNumber(int position) {
    return "+3933512345" + QByteArray::number(position).rightJustified(2, '0');
}

inline QByteArray fullMessage(int input) {
    return "ALLARME " + QByteArray::number(input) + ": " + QByteArray(37, 'x');
}

inline ModemConfiguration fullConfiguration() {
    ModemConfiguration configuration;
    for (int p = 1; p <= PhoneBookSize; ++p)
        configuration.phoneBook[p - 1] = QString::fromLatin1(fullNumber(p));
    for (int n = 1; n <= InputCount; ++n) {
        const QByteArray text = fullMessage(n);
        configuration.inputs[n - 1] = {InputStatus::Active,
                                       RestState::NormallyOpen,
                                       BitMode::Single,
                                       n,
                                       MessageText{QString::fromLatin1(text + "ON"), false},
                                       MessageText{QString::fromLatin1(text + "OF"), false}};
    }
    return configuration;
}

// The modem holding fullConfiguration(): at rest open, the Single box's
// message is the one sent when the contact closes.
inline void fillModem(VirtualModem& modem) {
    std::array<QByteArray, 20> book;
    for (int p = 1; p <= PhoneBookSize; ++p)
        book[p - 1] = fullNumber(p);
    modem.setPhoneBook(book);
    std::array<VirtualModem::Input, 3> inputs;
    for (int n = 1; n <= InputCount; ++n)
        inputs[n - 1] = {1, n, 'O', 'S', fullMessage(n) + "ON", fullMessage(n) + "OF"};
    modem.setInputs(inputs);
}

// The bench's own home (its ports and backups folders, and tavek-cli's when
// it is started from here), with the full configuration as a file in it.
inline QString homeWithFullConfiguration(const QTemporaryDir& home) {
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
    const QString file = home.filePath(QStringLiteral("full.tavek"));
    QString error;
    if (!saveConfigurationFile(file, fullConfiguration(), &error))
        qFatal("cannot write %s: %s", qPrintable(file), qPrintable(error));
    return file;
}
