#pragma once

#include "LinkState.h"
#include "ModemView.h"

#include <QCoreApplication>
#include <QStringList>

#include <functional>

// Stands in for the main window: records what a modem operation shows, in
// order, as "status: ...", "frames: on/off" and "error: ...", together with
// ModemConnected at that moment. Error boxes are answered at once.
class RecordingView : public ModemView {
public:
    QStringList events;
    QList<bool> connectedAt; // ModemConnected when each event happened
    int pumps = 0;
    // Runs after a status text is recorded: lets a test act in the middle of
    // an operation (pull the modem out, say).
    std::function<void(const QString&)> onStatus;

    void setStatusText(const QString& text) override {
        record(QStringLiteral("status: ") + text);
        if (onStatus)
            onStatus(text);
    }
    void setFramesEnabled(bool enabled) override {
        record(enabled ? QStringLiteral("frames: on") : QStringLiteral("frames: off"));
    }
    void showModemError(const QString& text) override { record(QStringLiteral("error: ") + text); }
    void pumpEvents() override {
        ++pumps;
        QCoreApplication::processEvents();
    }

    QStringList statusTexts() const { return withPrefix(QStringLiteral("status: ")); }
    QStringList errors() const { return withPrefix(QStringLiteral("error: ")); }
    QString lastStatus() const {
        const QStringList texts = statusTexts();
        return texts.isEmpty() ? QString() : texts.last();
    }

private:
    void record(const QString& event) {
        events << event;
        connectedAt << linkState().ModemConnected;
    }
    QStringList withPrefix(const QString& prefix) const {
        QStringList found;
        for (const QString& event : events)
            if (event.startsWith(prefix))
                found << event.mid(prefix.size());
        return found;
    }
};
