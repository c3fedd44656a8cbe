#pragma once

#include <QCoreApplication>
#include <QString>

// What an operation on the modem reports to whoever started it (the
// window, tavek-cli, a test): its progress on the status line, a failure the
// user must hear of, and the chance to keep a window alive while it waits.
class OperationObserver {
public:
    virtual ~OperationObserver() = default;

    // Replaces the text of the status line.
    virtual void setStatusText(const QString& text) = 0;
    // A failure the user must hear of now ("Modem error"); returns when it
    // has been heard (the window's box closed).
    virtual void showModemError(const QString& text) = 0;
    // Processes pending events once; called in every pass of the waits that
    // keep a window responsive.
    virtual void pumpEvents() { QCoreApplication::processEvents(); }
    // True once the user has closed the window: a running operation stops
    // before its next command and sends nothing more.
    virtual bool cancelled() const { return false; }
};
