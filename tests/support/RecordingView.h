#pragma once

#include "ConfigView.h"
#include "ModemConnection.h"

#include <QStringList>

#include <array>
#include <functional>

// Stands in for the main window: holds the panels and the grid, and records
// in order what the operations showed and enabled ("status: ...",
// "error: ...", "frames: on", "controls: off"), with the connection's
// ModemConnected at each event. A box is answered at once.
class RecordingView : public ConfigView {
public:
    explicit RecordingView(const ModemConnection* connection = nullptr) : connection_(connection) {}

    InputsConfig inputs{};
    std::array<QString, PhoneBookSize + 1> grid{}; // row p for position p; row 0 is the heading
    QStringList events;
    QList<bool> connectedAt;
    int pumps = 0;
    int rowsWrittenOutsideBook = 0;
    bool closed = false;                          // the user has closed the window
    std::function<void(const QString&)> onStatus; // lets a test act midway

    QStringList withPrefix(const QString& prefix) const {
        QStringList out;
        for (const QString& event : events)
            if (event.startsWith(prefix))
                out << event.mid(prefix.size());
        return out;
    }
    QStringList statusTexts() const { return withPrefix("status: "); }
    QStringList errors() const { return withPrefix("error: "); }
    QString status() const { return statusTexts().value(statusTexts().size() - 1); }
    // Whether the controls are enabled again (or were never touched).
    bool controlsOn() const {
        const QStringList controls = withPrefix("controls: ");
        return controls.value(controls.size() - 1, "on") == "on";
    }
    // The panels and the filled rows of the grid, as the user would read them.
    QStringList window() const;

    void setStatusText(const QString& text) override {
        record("status: " + text);
        if (onStatus)
            onStatus(text);
    }
    void setFramesEnabled(bool on) override { record(on ? "frames: on" : "frames: off"); }
    void setControlsEnabled(bool on) override { record(on ? "controls: on" : "controls: off"); }
    void showModemError(const QString& text) override { record("error: " + text); }
    void pumpEvents() override {
        ++pumps;
        QCoreApplication::processEvents();
    }
    bool cancelled() const override { return closed; }
    InputConfig inputConfig(int input) const override { return inputs.at(input - 1); }
    void setInputConfig(int input, const InputConfig& c) override { inputs.at(input - 1) = c; }
    QString phoneNumber(int position) const override { return grid.at(position); }
    void setPhoneNumber(int position, const QString& number) override {
        if (position < 1 || position > PhoneBookSize)
            ++rowsWrittenOutsideBook;
        else
            grid[position] = number;
    }

private:
    const ModemConnection* connection_;

    void record(const QString& event) {
        events << event;
        connectedAt << (connection_ && connection_->ModemConnected);
    }
};

#include "ConfigText.h"

inline QStringList RecordingView::window() const {
    QStringList out = describe(inputs);
    for (int p = 1; p <= PhoneBookSize; ++p)
        if (!grid[p].isEmpty())
            out << QStringLiteral("%1:%2").arg(p).arg(grid[p]);
    return out;
}
