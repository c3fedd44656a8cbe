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
    QStringList statusTexts, errorBoxes;
    QList<bool> toolbarEnabled, framesEnabled;
    bool controlsOffAtEveryStatus = true;
    int rowsWrittenOutsideBook = 0;

    QString status() const { return statusTexts.value(statusTexts.size() - 1); }
    bool controlsOn() const {
        return framesEnabled.value(framesEnabled.size() - 1, true) &&
               toolbarEnabled.value(toolbarEnabled.size() - 1, true);
    }

    void setStatusText(const QString& text) override {
        statusTexts << text;
        controlsOffAtEveryStatus = controlsOffAtEveryStatus && !controlsOn();
    }
    void setFramesEnabled(bool enabled) override { framesEnabled << enabled; }
    void setToolbarEnabled(bool enabled) override { toolbarEnabled << enabled; }
    void showModemError(const QString& text) override { errorBoxes << text; }
    InputConfig inputConfig(int input) const override { return inputs.at(input - 1); }
    void setInputConfig(int input, const InputConfig& c) override { inputs.at(input - 1) = c; }
    QString phoneNumber(int position) const override { return grid.at(position); }
    void setPhoneNumber(int position, const QString& number) override {
        if (position < 1 || position > PhoneBookSize)
            ++rowsWrittenOutsideBook;
        else
            grid[position] = number;
    }
};
