#include "Images.h"

#include <QPainter>
#include <QSvgRenderer>

#include <array>

// The pictures are compiled into this static library; registering them here
// pulls them into every program that uses an image.
static void registerImages() {
    Q_INIT_RESOURCE(images);
}

namespace {
const bool imagesRegistered = (registerImages(), true);

QString imagePath(const char* name) {
    return QStringLiteral(":/images/") + QLatin1String(name);
}
} // namespace

QIcon toolbarImage(int index) {
    // One image a line, by its number.
    static constexpr std::array<const char*, ToolbarImageCount> files = {
        "plug-out.svg",           // 1
        "plug-in.svg",            // 2
        "reset-arrows.svg",       // 3
        "green-square.svg",       // 4
        "red-square.svg",         // 5
        "about-bubble.svg",       // 6
        nullptr,                  // 7
        "blank-sheet.svg",        // 8
        "open-configuration.svg", // 9
        "save-configuration.svg", // 10
        "traffic-arrows.svg",     // 11
        "serial-connector.svg",   // 12
    };
    if (index < 1 || index > ToolbarImageCount || files[index - 1] == nullptr)
        return {};
    return QIcon(imagePath(files[index - 1]));
}

QIcon setButtonIcon() {
    return QIcon(imagePath("set-arrow.svg"));
}

QIcon exitButtonIcon() {
    return QIcon(imagePath("exit-door.svg"));
}

QIcon productIcon() {
    return QIcon(imagePath("emblem.svg"));
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
