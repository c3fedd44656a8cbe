#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringView>

// The pictures, found by their names in the folder icons/ (":/icons/<name>.svg"):
// every command's image is named after its id, so a new command's picture
// needs no list.
inline constexpr QSize ToolbarImageSize(32, 32);
QIcon iconNamed(QStringView name);

// The curved arrow of the two "Set" buttons.
QIcon setButtonIcon();
// The "E&xit" button of the About window.
QIcon exitButtonIcon();
// The product's emblem, also the window icon.
QIcon productIcon();

// A picture of the resource rendered at the given size in logical pixels,
// sharp on high-DPI screens.
QPixmap renderPicture(const QString& resource, const QSize& size, qreal devicePixelRatio);
