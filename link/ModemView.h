#pragma once

#include <QCoreApplication>
#include <QString>

// What the modem operations need of the window: the status line, the
// controls, the "Modem error" box and a way to keep the window alive while
// they wait for the modem. The main window implements it; tests implement
// it to record what an operation did.
class ModemView {
public:
    virtual ~ModemView() = default;

    // Replaces the text of the status line.
    virtual void setStatusText(const QString& text) = 0;
    // Enables or disables the " Modem Settings " and " Phone Numbers " frames.
    virtual void setFramesEnabled(bool enabled) = 0;
    // Enables or disables everything that starts a modem command or holds
    // the configuration: the toolbar and both frames.
    virtual void setControlsEnabled(bool enabled) = 0;
    // Shows a modal box titled "Modem error" with the information icon and an
    // OK button, and returns when the user has closed it.
    virtual void showModemError(const QString& text) = 0;
    // Processes pending window events once; called in every pass of the waits
    // that keep the window responsive.
    virtual void pumpEvents() { QCoreApplication::processEvents(); }
    // True once the user has closed the window: a running operation then
    // stops before its next command and sends nothing more.
    virtual bool cancelled() const { return false; }
};
