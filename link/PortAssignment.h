#pragma once

#include "PortCatalog.h"

#include <QList>
#include <QString>

#include <optional>

// Giving a port a fixed "Com N": the link comN in the ports folder
// (PortNames.h). Every change is whole or nothing; a failure comes back as
// a text for the user, and then nothing in the folder has changed.

inline constexpr int LastComNumber = 255;

// Where the link comN is.
QString comLinkPath(int number);

// The numbers of the links in the ports folder that name the port.
QList<int> linkedNumbers(const CatalogPort& port);

// What a link to the port points at: its stable /dev/serial/by-id name where
// it has one, so that the number survives replugging; else its device.
QString linkTarget(const CatalogPort& port);

// The number to offer for the port: the "Com N" it has now (by link first),
// else the lowest number that reaches no port.
int suggestedComNumber(const CatalogPort& port, const QList<CatalogPort>& catalog);

// Makes comN point at the port. A link comN that already names the port is
// replaced (by one to its stable name, say); a link comN to another device,
// plugged in or not, is never taken over: the user removes it first.
std::optional<QString> assignComNumber(const CatalogPort& port, int number);

// Removes the links of these numbers: all of them, or none when one cannot go.
std::optional<QString> removeComLinks(const QList<int>& numbers);
