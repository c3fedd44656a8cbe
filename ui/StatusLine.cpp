#include "StatusLine.h"

#include "StatusClock.h"

#include <QDateTime>
#include <QLabel>
#include <QTimer>

StatusLine::StatusLine(QWidget* parent, int statusWidth, int clockWidth)
    : QStatusBar(parent), status_(new QLabel(this)), clock_(new QLabel(this)) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);

    status_->setObjectName(QStringLiteral("StatusBar1_panel1"));
    // Its laid-out width, less in a narrower window: the clock beside it
    // stays whole, and so does the status, down to its own width.
    status_->setMaximumWidth(statusWidth);
    // A screen reader reads the panels' text as their names, and hears of
    // each new status as a name change; what they are is their description.
    status_->setAccessibleDescription(tr("Status"));
    clock_->setObjectName(QStringLiteral("StatusBar1_panel2"));
    clock_->setFixedWidth(clockWidth);
    clock_->setAccessibleDescription(tr("Date and time"));
    for (QLabel* panel : {status_, clock_}) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        addWidget(panel, panel == status_ ? 1 : 0);
    }

    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);
    connect(timer, &QTimer::timeout, this, &StatusLine::showTime);
    timer->start();
}

void StatusLine::setStatusText(const QString& text) {
    status_->setText(text);
}

void StatusLine::showTime() {
    clock_->setText(clockText(QDateTime::currentDateTime()));
}
