#pragma once

#include "LinkState.h"
#include "ModemView.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

#include <functional>

// Stands in for the main window: records what a modem operation shows, in
// order, as "status: ...", "frames: on/off" and "error: ..." (boxes are
// answered at once), with ModemConnected at each moment.
class RecordingView : public ModemView {
public:
    QStringList events;
    QList<bool> connectedAt;
    int pumps = 0;
    // Runs after a status text is recorded, so a test can act midway.
    std::function<void(const QString&)> onStatus;

    void setStatusText(const QString& text) override {
        record("status: " + text);
        if (onStatus)
            onStatus(text);
    }
    void setFramesEnabled(bool enabled) override { record(enabled ? "frames: on" : "frames: off"); }
    void showModemError(const QString& text) override { record("error: " + text); }
    void pumpEvents() override {
        ++pumps;
        QCoreApplication::processEvents();
    }

    QStringList errors() const { return events.filter(QRegularExpression("^error: ")); }
    QString lastEvent() const { return events.value(events.size() - 1); }

private:
    void record(const QString& event) {
        events << event;
        connectedAt << linkState().ModemConnected;
    }
};
