#include "WindowPlacement.h"

#include <QtGlobal>

namespace {
QSize fitted(QSize laidOut, int scrollBar, QSize room) {
    QSize size = laidOut.boundedTo(room);
    if (size.height() < laidOut.height())
        size.setWidth(qMin(laidOut.width() + scrollBar, room.width()));
    if (size.width() < laidOut.width())
        size.setHeight(qMin(laidOut.height() + scrollBar, room.height()));
    return size;
}
} // namespace

QRect placeWindow(QSize laidOut, int scrollBar, QMargins frame, const QList<QRect>& areas,
                  QRect startArea, const std::optional<QRect>& remembered) {
    std::optional<QRect> kept;
    if (remembered && remembered->isValid()) {
        for (const QRect& area : areas) {
            if (area.contains(remembered->center())) {
                kept = *remembered;
                startArea = area;
                break;
            }
        }
    }

    const QSize room = startArea.size().shrunkBy(frame).expandedTo(QSize(1, 1));
    if (!kept) {
        QRect outer(QPoint(), fitted(laidOut, scrollBar, room).grownBy(frame));
        outer.moveCenter(startArea.center());
        return outer.marginsRemoved(frame);
    }
    QRect outer = QRect(kept->topLeft(), kept->size().boundedTo(room)).marginsAdded(frame);
    outer.moveLeft(qBound(startArea.left(), outer.left(), startArea.right() + 1 - outer.width()));
    outer.moveTop(qBound(startArea.top(), outer.top(), startArea.bottom() + 1 - outer.height()));
    return outer.marginsRemoved(frame);
}
