#pragma once

#include <QAccessibleWidget>

class QToolButton;

// What screen readers see of a toolbar button. Qt's own interface for a
// button offers the keys of the button's own shortcut, but a toolbar
// button's keys belong to its command (its QAction), so a reader would hear
// none. Here they come from the command: as the key binding of the press
// action, which AT-SPI carries, and as the accelerator. Otherwise it is the
// push button Qt makes of it: its name, pressed state, Press.
class ToolButtonAccessible : public QAccessibleWidget {
public:
    explicit ToolButtonAccessible(QToolButton* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    QToolButton* button() const;
    QKeySequence keys() const;
};
