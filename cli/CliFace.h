#pragma once

#include "SessionFace.h"

#include <optional>

class Console;

// tavek-cli as the face of a session: the status line on standard error with
// --verbose, every "Modem error" on standard error, the questions before a
// command that changes the modem answered by --yes, and no window to keep
// alive. A warning is answered No and said, so that nothing is overwritten
// that was not first kept and nothing typed is dropped without a word.
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
    bool warn(Warning warning, const QString& text) override;
    // The differences are results: the command prints them on standard output.
    void showWriteProblems(const QStringList& unconfirmed, const QStringList&) override;

    // The texts of the "Modem error" boxes so far.
    const QStringList& errors() const { return errors_; }
    // The warning answered No, if any.
    std::optional<Warning> refused() const { return refused_; }

private:
    Console& console_;
    bool verbose_;
    bool yes_;
    QStringList errors_;
    std::optional<Warning> refused_;
};
