#include "ComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

ComboBoxAccessible::ComboBoxAccessible(QComboBox* box)
    : QAccessibleWidget(box, QAccessible::ComboBox) {}

QComboBox* ComboBoxAccessible::box() const {
    return static_cast<QComboBox*>(widget());
}

QString ComboBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value)
        return box()->currentText();
    // The accessible name, else a label that names the list as its buddy.
    const QString own = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && own.isEmpty())
        return box()->currentText();
    return own;
}

QAccessible::State ComboBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = box()->view()->isVisible();
    state.collapsed = !state.expanded;
    return state;
}

int ComboBoxAccessible::childCount() const {
    return 1;
}

QAccessibleInterface* ComboBoxAccessible::child(int index) const {
    return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
}

int ComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && child->object() == box()->view() ? 0 : -1;
}

QStringList ComboBoxAccessible::actionNames() const {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void ComboBoxAccessible::doAction(const QString& actionName) {
    if (actionName != showMenuAction() && actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (box()->view()->isVisible())
        box()->hidePopup();
    else
        box()->showPopup();
}
