#pragma once

#include <QString>

// Open failures that the connection check tells apart.
inline constexpr int PortNotValidError = 8002; // no such device
inline constexpr int PortInUseError = 8012;    // held by another program

// Why a port could not be had, or why it stopped working.
struct PortError {
    int number = 0;            // PortNotValidError, PortInUseError, or 0 for any other failure
    QString device;            // the device that was looked for or opened (may be empty)
    QString reason;            // what the system said, for the user
    bool accessDenied = false; // the system refused access (user rights, not the port)
    bool lost = false;         // the port failed while it was open
    int comNumber = 0;         // the "Com N" the device was looked for by; 0 when none
};
