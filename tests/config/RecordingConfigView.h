#pragma once

#include "ConfigView.h"

#include <QStringList>

#include <array>

// Stands in for the main window: holds the panels and the grid, and records
// what the operations showed and enabled.
class RecordingConfigView : public ConfigView {
public:
    InputsConfig inputs{};
    std::array<QString, PhoneBookSize + 1> grid{}; // row p for position p; row 0 is the heading
    QStringList statusTexts;
    QStringList errorBoxes;
    QList<bool> framesEnabled;
    QList<bool> toolbarEnabled;
    // Whether the toolbar and both frames were usable when each status text came.
    QList<bool> controlsOnAtStatus;
    int rowsWrittenOutsideBook = 0;
    int pumps = 0;

    QString status() const { return statusTexts.isEmpty() ? QString() : statusTexts.last(); }

    bool controlsOn() const {
        return (framesEnabled.isEmpty() || framesEnabled.last()) &&
               (toolbarEnabled.isEmpty() || toolbarEnabled.last());
    }

    void setStatusText(const QString& text) override {
        statusTexts << text;
        controlsOnAtStatus << controlsOn();
    }
    void setFramesEnabled(bool enabled) override { framesEnabled << enabled; }
    void showModemError(const QString& text) override { errorBoxes << text; }
    void pumpEvents() override {
        ++pumps;
        ConfigView::pumpEvents();
    }

    InputConfig inputConfig(int input) const override { return inputs.at(input - 1); }
    void setInputConfig(int input, const InputConfig& config) override {
        inputs.at(input - 1) = config;
    }
    QString phoneNumber(int position) const override { return grid.at(position); }
    void setPhoneNumber(int position, const QString& number) override {
        if (position < 1 || position > PhoneBookSize) {
            ++rowsWrittenOutsideBook;
            return;
        }
        grid[position] = number;
    }
    void setToolbarEnabled(bool enabled) override { toolbarEnabled << enabled; }
};
