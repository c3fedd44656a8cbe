#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>

// Where a window opens, in the desktop's logical pixels. The content is the
// window without the frame that the window system draws around it; the
// areas are the screens' available areas, their panels left out.
//
// The window opens wholly within one area: at the size its content is laid
// out at, or smaller where the area is smaller, and then what does not fit
// scrolls. Cut in one direction, it takes a scroll bar's width more in the
// other where there is room, so that the bar covers nothing and no second
// one is needed. A remembered place is kept, at its size, while its middle
// lies on one of the screens, moved in only as far as the frame needs to
// lie within that screen's area; a place off every screen (a monitor since
// unplugged, a larger desktop) is not used, and the window is centred on the
// area it starts on.
QRect placeWindow(QSize laidOut, int scrollBar, QMargins frame, const QList<QRect>& areas,
                  QRect startArea, const std::optional<QRect>& remembered);
