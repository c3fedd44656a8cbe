#pragma once

#include <QLabel>

// The band over a paused traffic view: the traffic is still recorded, and
// how many new rows wait for the resume. It stands out in the palette's
// own highlight colours, dark ones too.
class TrafficPausedNote : public QLabel {
    Q_OBJECT
public:
    explicit TrafficPausedNote(QWidget* parent);

    void showWaiting(qint64 rows);
    // The highlight colours of the window's palette.
    void takeColours(const QPalette& window);
};
