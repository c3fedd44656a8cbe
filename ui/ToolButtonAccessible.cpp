#include "ToolButtonAccessible.h"

#include <QAction>
#include <QToolButton>

ToolButtonAccessible::ToolButtonAccessible(QToolButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

QToolButton* ToolButtonAccessible::button() const {
    return static_cast<QToolButton*>(widget());
}

QKeySequence ToolButtonAccessible::keys() const {
    const QAction* command = button()->defaultAction();
    return command ? command->shortcut() : button()->shortcut();
}

QString ToolButtonAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Accelerator)
        return keys().toString(QKeySequence::NativeText);
    return QAccessibleWidget::text(t);
}

QAccessible::State ToolButtonAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.pressed = button()->isDown();
    return state;
}

QStringList ToolButtonAccessible::actionNames() const {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void ToolButtonAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction()) {
        if (button()->isEnabled())
            button()->click();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QStringList ToolButtonAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction() && !keys().isEmpty())
        return {keys().toString(QKeySequence::PortableText)};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}
