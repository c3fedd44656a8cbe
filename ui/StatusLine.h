#pragma once

#include <QStatusBar>

class QLabel;

// The window's bottom line: the status of the link in the first panel and
// the date and time, renewed every second, in the second.
class StatusLine : public QStatusBar {
    Q_OBJECT
public:
    // The panels' widths: the status's at most, the clock's always.
    StatusLine(QWidget* parent, int statusWidth, int clockWidth);

    void setStatusText(const QString& text);
    QLabel* statusPanel() const { return status_; }
    // The clock's text now, as at the window's start.
    void showTime();

private:
    QLabel* status_;
    QLabel* clock_;
};
