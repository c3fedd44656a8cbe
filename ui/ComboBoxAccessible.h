#pragma once

#include <QAccessibleWidget>

class QComboBox;

// What screen readers see of a drop-down list. Qt's bridge to AT-SPI carries
// no value for a list: what the list shows reaches a reader only as its
// name. So the name is always the entry shown ("300"), also the value where
// a platform reads one, and what the list is for comes by relation: a label
// whose buddy it is, and the titled frame it sits in.
class ComboBoxAccessible : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QComboBox* box);
    ~ComboBoxAccessible() override;

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    // The one child is the list of entries, the one shown selected in it
    // whether the list is open or not.
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QComboBox* box() const;

    mutable QAccessible::Id entries_ = 0; // made when first asked for
};
