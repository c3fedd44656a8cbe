#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The toolbar's image store: images 1 to 10 of 32 x 32 pixels. Image 7 has
// never been used and is empty.
inline constexpr int ToolbarImageCount = 12;
inline constexpr QSize ToolbarImageSize(32, 32);
QIcon toolbarImage(int index);

// The curved arrow of the two "Set" buttons.
QIcon setButtonIcon();
// The "E&xit" button of the About window.
QIcon exitButtonIcon();
// The product's emblem, also the window icon.
QIcon productIcon();

// A picture of the resource rendered at the given size in logical pixels,
// sharp on high-DPI screens.
QPixmap renderPicture(const QString& resource, const QSize& size, qreal devicePixelRatio);
