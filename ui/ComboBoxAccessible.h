#pragma once

#include <QAccessibleWidget>

class QComboBox;

// What screen readers see of a drop-down list: its accessible name as the
// name ("Input 2 delay") and the entry it shows as the value ("300"). Qt's
// own interface names a list by its entry on Linux, so the list said "300"
// and never what it was for. Lists without a name keep that: the entry.
class ComboBoxAccessible : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QComboBox* box);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    // The one child is the list of entries that drops down.
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QComboBox* box() const;
};
