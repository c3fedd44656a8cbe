#include "KeyboardOrder.h"

#include <QAction>
#include <QToolBar>
#include <QWidget>

#include <algorithm>

namespace {
bool takesTab(const QWidget& widget) {
    return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// The controls under a widget that Tab stops on. A control that takes Tab
// counts once with its inner parts; popups are windows of their own.
void collectTabStops(const QWidget& widget, QList<QWidget*>& stops) {
    for (QObject* child : widget.children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (!control || control->isWindow())
            continue;
        if (takesTab(*control))
            stops << control;
        else
            collectTabStops(*control, stops);
    }
}

// The area itself when Tab stops on it, else the controls in it that Tab
// stops on, top to bottom (left to right on one line).
QList<QWidget*> tabStopsIn(QWidget* area) {
    if (!area)
        return {};
    if (takesTab(*area))
        return {area};
    QList<QWidget*> stops;
    collectTabStops(*area, stops);
    const auto place = [area](const QWidget* control) {
        const QPoint corner = control->mapTo(area, QPoint(0, 0));
        return std::pair(corner.y(), corner.x());
    };
    std::stable_sort(stops.begin(), stops.end(),
                     [&](QWidget* a, QWidget* b) { return place(a) < place(b); });
    return stops;
}
} // namespace

void setKeyboardOrder(const QList<QWidget*>& areas) {
    QList<QWidget*> order;
    for (QWidget* area : areas) {
        // A toolbar's actions in their order: commands added to it fall into
        // place by themselves.
        if (auto* toolbar = qobject_cast<QToolBar*>(area)) {
            for (QAction* action : toolbar->actions())
                order << tabStopsIn(toolbar->widgetForAction(action));
        } else {
            order << tabStopsIn(area);
        }
    }
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
