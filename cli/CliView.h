#pragma once

#include "ConfigFile.h"
#include "ConfigView.h"

#include <QStringList>

// The window of tavek-cli: the three input panels and the grid held in
// memory, the status line printed on standard error with --verbose, every
// "Modem error" box printed on standard error. It starts as the window after
// its start: inputs not active, no messages, no numbers.
class CliView : public ConfigView {
public:
    explicit CliView(bool verbose) : verbose_(verbose) {}

    ModemConfiguration configuration() const { return shown_; }
    void setConfiguration(const ModemConfiguration& configuration) { shown_ = configuration; }
    // The texts of the "Modem error" boxes so far.
    const QStringList& errors() const { return errors_; }

    void setStatusText(const QString& text) override;
    void setFramesEnabled(bool) override {}
    void setControlsEnabled(bool) override {}
    void showModemError(const QString& text) override;
    InputConfig inputConfig(int input) const override { return shown_.inputs.at(input - 1); }
    void setInputConfig(int input, const InputConfig& config) override {
        shown_.inputs.at(input - 1) = config;
    }
    QString phoneNumber(int position) const override { return shown_.phoneBook.at(position - 1); }
    void setPhoneNumber(int position, const QString& number) override {
        if (position >= 1 && position <= PhoneBookSize)
            shown_.phoneBook[position - 1] = number;
    }

private:
    bool verbose_;
    ModemConfiguration shown_;
    QStringList errors_;
};
