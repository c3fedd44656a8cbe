#pragma once

#include <QRect>

// The window's layout is drawn up in twips (1/1440 inch). At 96 dots per inch
// a pixel is 15 twips; Qt's logical pixels are such pixels, and Qt's own
// high-DPI scaling keeps the layout right on denser screens.
inline constexpr int TwipsPerPixel = 15;

constexpr int twips(int value) {
    return (value + TwipsPerPixel / 2) / TwipsPerPixel;
}

// Left, top, width and height in twips, within the container.
constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
