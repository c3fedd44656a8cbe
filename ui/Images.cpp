#include "Images.h"

#include <QPainter>
#include <QSvgRenderer>

// The pictures are compiled into this static library; registering them here
// pulls them into every program that uses an image.
static void registerImages() {
    Q_INIT_RESOURCE(icons);
}

namespace {
const bool imagesRegistered = (registerImages(), true);
} // namespace

QIcon iconNamed(QStringView name) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

QIcon setButtonIcon() {
    return iconNamed(u"set");
}

QIcon exitButtonIcon() {
    return iconNamed(u"exit");
}

QIcon productIcon() {
    return iconNamed(u"emblem");
}

QPixmap renderPicture(const QString& resource, const QSize& size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}
