#pragma once

#include <QString>

#include <optional>

// What --port names: a "Com N" as the window numbers its ports (a link comN
// in the ports folder, else the N-th port the system lists), or a device by
// its path.
struct PortChoice {
    int comNumber = 1; // when no device is named
    QString device;    // a path such as /dev/ttyUSB0, or empty

    // "Com 3" or "/dev/ttyUSB0", for messages.
    QString text() const;

    bool operator==(const PortChoice&) const = default;
};

inline constexpr int HighestComNumber = 255; // as the window's port selector

// "com3", "COM3", "Com 3" (1 to 255), or a path (anything with a "/" in it);
// nothing for anything else.
std::optional<PortChoice> parsePortArgument(const QString& argument);
