#include "TrafficPausedNote.h"

TrafficPausedNote::TrafficPausedNote(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("pausedNote"));
    setAutoFillBackground(true);
    setMargin(4);
    hide();
    takeColours(parent->palette());
}

void TrafficPausedNote::showWaiting(qint64 rows) {
    setText(
        rows == 0 ? tr("Paused: the traffic is still recorded, and shown when you resume.")
        : rows == 1
            ? tr("Paused: the traffic is still recorded; 1 new row is shown when you resume.")
            : tr("Paused: the traffic is still recorded; %1 new rows are shown when you resume.")
                  .arg(rows));
}

void TrafficPausedNote::takeColours(const QPalette& window) {
    QPalette note = window;
    note.setColor(QPalette::Window, window.color(QPalette::Highlight));
    note.setColor(QPalette::WindowText, window.color(QPalette::HighlightedText));
    setPalette(note);
}
