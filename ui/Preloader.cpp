#include "Preloader.h"

#include "Images.h"
#include "Twips.h"
#include "VersionText.h"
#include "WindowFont.h"

#include <QLabel>
#include <QScreen>
#include <QTimer>

Preloader::Preloader(std::function<void()> showMain, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), showMain_(std::move(showMain)) {
    // The times count from the splash's creation: the timer runs before the
    // picture is drawn.
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    // Never early: the main window is due at 1.8 s, not before.
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(300);
    connect(timer_, &QTimer::timeout, this, &Preloader::tick);
    timer_->start();

    setObjectName(QStringLiteral("Preloader"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(productIcon());
    setFixedSize(twips(9000), twips(5985));
    setFont(windowFont());
    // The words lie on a light picture whatever the desktop's palette, so
    // they keep the dark text the picture was drawn for.
    QPalette onPicture = palette();
    onPicture.setColor(QPalette::WindowText, Qt::black);
    setPalette(onPicture);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setGeometry(twipsRect(0, 0, 9000, 6000));
    picture->setPixmap(
        renderPicture(QStringLiteral(":/icons/splash.svg"), picture->size(), devicePixelRatio()));

    auto* version = new QLabel(programVersionText(), this);
    version->setObjectName(QStringLiteral("Label2"));
    version->setFont(arialFont(26.25, true));
    version->setGeometry(twipsRect(8040, 0, 975, 505));

    loading_ = new QLabel(tr("Loading ..."), this);
    loading_->setObjectName(QStringLiteral("Label1"));
    loading_->setGeometry(twipsRect(1080, 4680, 2055, 255));

    auto* description = new QLabel(programDescription(), this);
    description->setObjectName(QStringLiteral("Label3"));
    QFont descriptionFont(QStringLiteral("Tahoma"));
    descriptionFont.setStyleHint(QFont::SansSerif);
    descriptionFont.setPointSizeF(9.75);
    description->setFont(descriptionFont);
    description->setAutoFillBackground(true);
    QPalette white = description->palette();
    white.setColor(QPalette::Window, Qt::white);
    description->setPalette(white);
    description->setGeometry(twipsRect(825, 1560, 7935, 255));
}

void Preloader::tick() {
    switch (timer_->interval()) {
    case 300:
    case 600:
        loading_->setText(tr("Loading..."));
        timer_->stop();
        timer_->setInterval(timer_->interval() + 300);
        timer_->start();
        break;
    case 900:
        timer_->stop();
        showMain_();
        close();
        break;
    default:
        break;
    }
}

void Preloader::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
