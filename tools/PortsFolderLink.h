#pragma once

#include <QString>

// Gives a device a fixed "Com N" for Tavek: a link comN to it in the ports
// folder, the way Wine's dosdevices name serial ports. The link lives as long
// as this object and is removed with it, unless someone has since pointed it
// elsewhere.
class PortsFolderLink {
public:
    // GenericConfigLocation + "/tavek/ports" (under the test folders in test mode).
    static QString folder();

    // Links device as comN. A number asked for takes over a link already there
    // (only a file that is no link stops it). Number 0 takes the first free
    // number from 1, where a link whose device is gone counts as free.
    explicit PortsFolderLink(const QString& device, int number = 0);
    ~PortsFolderLink();
    PortsFolderLink(const PortsFolderLink&) = delete;
    PortsFolderLink& operator=(const PortsFolderLink&) = delete;

    bool isLinked() const { return m_number > 0; }
    int number() const { return m_number; } // 0 when not linked
    QString linkPath() const { return m_linkPath; }
    QString errorString() const { return m_error; }

private:
    QString m_device;
    QString m_linkPath;
    QString m_error;
    int m_number = 0;
};
