#pragma once

#include "SessionFace.h"

class Console;

// tavek-cli as the face of a session: the status line on standard error with
// --verbose, every "Modem error" box on standard error, the questions
// answered by --yes, and no window to keep alive.
class CliFace final : public SessionFace {
public:
    CliFace(Console& console, bool verbose, bool yes)
        : console_(console), verbose_(verbose), yes_(yes) {}

    void setStatusText(const QString& text) override;
    void showModemError(const QString& text) override;
    void pumpEvents() override {}
    void showLinkState(LinkState) override {}
    void setControlsEnabled(bool) override {}
    bool confirm(const Question&) override { return yes_; }
    // What was not read whole is not sent from the command line.
    bool sendAnyway(const QString&) override { return false; }

    // The texts of the "Modem error" boxes so far.
    const QStringList& errors() const { return errors_; }

private:
    Console& console_;
    bool verbose_;
    bool yes_;
    QStringList errors_;
};
