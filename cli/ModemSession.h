#pragma once

#include "CliView.h"
#include "ModemConnection.h"
#include "PortArgument.h"
#include "StderrTraffic.h"

#include <memory>

// One command's way to the modem: the connection, the view in memory, and
// the watchers of the line. The port is let go when the session ends.
class ModemSession {
public:
    ModemSession(const PortChoice& port, bool verbose);
    ~ModemSession();
    ModemSession(const ModemSession&) = delete;
    ModemSession& operator=(const ModemSession&) = delete;

    // The connection check, as the window's plug runs it; every command
    // starts with it, and the device it finds is the one every later step
    // opens. ExitConfirmed when a modem answered, ExitModemFailed when the
    // port was had but nothing answered, ExitPortFailed when there was no
    // port to have or it failed.
    int connect();

    ModemConnection& connection() { return connection_; }
    CliView& view() { return view_; }

private:
    // Notes whether the port was opened and whether it was lost.
    struct PortWatch final : ModemTraffic {
        bool opened = false;
        bool lost = false;
        void portOpened(const QString&) override { opened = true; }
        void portLost(const QString&) override { lost = true; }
    };

    PortChoice port_;
    // Declared before the connection, which tells them of its last close.
    PortWatch watch_;
    std::unique_ptr<StderrTraffic> stderrTraffic_;
    ModemConnection connection_;
    CliView view_;
};
