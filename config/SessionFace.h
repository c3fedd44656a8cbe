#pragma once

#include "ModemCommands.h"
#include "OperationObserver.h"

// What a session needs of the face that shows it: the main window, or
// tavek-cli. Besides the progress of the operations, the state of the
// connection, the controls, and the questions asked before the modem is
// changed or something is let go.
class SessionFace : public OperationObserver {
public:
    enum class LinkState {
        Disconnected, // at start and after the plug: the window as it starts
        Checking,     // the connection check runs
        CheckFailed,  // no modem answered, or the port could not be had
        Reading,      // the modem answered; its configuration is being read
        Connected,    // commands may be given
        Lost,         // the device went away: not connected, what is shown stays
    };
    virtual void showLinkState(LinkState state) = 0;
    // The controls that start a command or hold the configuration are off
    // while a command runs that locks them.
    virtual void setControlsEnabled(bool enabled) = 0;
    // Asked before a command that changes what the modem holds; true goes on.
    virtual bool confirm(const Question& question) = 0;
    // A warning asked with No as the answer that goes if nobody says
    // otherwise: sending what was not read whole, sending without a backup,
    // letting unsent changes go. True goes on.
    enum class Warning { IncompleteRead, NoBackup, DoubleMessage, UnsentChanges };
    virtual bool warn(Warning warning, const QString& text) = 0;
    // After a write: the steps the modem did not confirm and what the read-back
    // found other than was sent, in one "Modem error" box unless told otherwise.
    virtual void showWriteProblems(const QStringList& unconfirmed, const QStringList& differences) {
        showModemError((unconfirmed + differences).join(u'\n'));
    }
};
