#pragma once

#include "LinkClock.h"
#include "PortBackend.h"

#include <QStringList>

#include <functional>
#include <memory>

// Where a user who meets a port problem is sent to find the device behind
// each Com number and to give an adapter a number: the window's toolbar,
// or tavek-cli's own commands. Empty: the window's.
struct PortHints {
    QString findPorts;
    QString assignNumber;
};

// What a connection to the modem runs on: the system's clock and serial
// port, unless a test gives others (the line simulation's virtual clock and
// simulated port). A given clock must outlive every connection made with it.
struct LinkEnvironment {
    LinkClock* clock = nullptr;
    std::function<std::unique_ptr<PortBackend>()> makePort;
    // The serial ports the system lists, in "Com" order (PortNames.h).
    std::function<QStringList()> listPorts;
    PortHints hints = {};

    std::unique_ptr<PortBackend> newPort() const {
        return makePort ? makePort() : makeSystemPortBackend();
    }
};
