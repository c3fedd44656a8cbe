#include "ComboBoxAccessible.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHash>
#include <QPointer>

namespace {
bool listShown(const QComboBox* box) {
    return box->view()->isVisible();
}

// One entry of the list, selected while the list shows it.
class EntryAccessible : public QAccessibleInterface {
public:
    EntryAccessible(QComboBox* box, QAccessibleInterface* list, int row)
        : box_(box), list_(list), row_(row) {}

    // The list may have been filled anew with fewer entries since.
    bool isValid() const override { return box_ && row_ < box_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return box_->window()->windowHandle(); }
    QAccessibleInterface* parent() const override { return list_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return box_->itemText(row_);
        if (t == QAccessible::Description) // the port selector's: the device behind the number
            return box_->itemData(row_, Qt::ToolTipRole).toString();
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!listShown(box_))
            return {};
        const QAbstractItemView* view = box_->view();
        const QRect place = view->visualRect(box_->model()->index(row_, box_->modelColumn()));
        return place.translated(view->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.disabled = !box_->isEnabled();
        state.invisible = !listShown(box_);
        state.selectable = true;
        state.selected = row_ == box_->currentIndex();
        return state;
    }

private:
    QPointer<QComboBox> box_;
    QAccessibleInterface* list_; // owns this entry
    int row_;
};

// The entries of a drop-down list, open or not. The open list is Qt's own
// view, whose selection QComboBox sets only as it opens; this one reads the
// entry shown from the box itself, however it was chosen.
class EntryListAccessible : public QAccessibleInterface {
public:
    explicit EntryListAccessible(QComboBox* box) : box_(box) {}
    ~EntryListAccessible() override {
        for (QAccessible::Id id : std::as_const(entries_))
            QAccessible::deleteAccessibleInterface(id);
    }

    bool isValid() const override { return box_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return box_->window()->windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(box_);
    }
    int childCount() const override { return box_->count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto known = entries_.constFind(index); known != entries_.constEnd())
            return QAccessible::accessibleInterface(*known);
        // The accessibility cache owns the entry; this list lets it go with the box.
        auto* made = new EntryAccessible(box_, const_cast<EntryListAccessible*>(this), index);
        entries_.insert(index, QAccessible::registerAccessibleInterface(made));
        return made;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        const int index = entries_.key(id, -1);
        return index < childCount() ? index : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text) const override { return {}; }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!listShown(box_))
            return {};
        const QAbstractItemView* view = box_->view();
        return QRect(view->mapToGlobal(QPoint(0, 0)), view->size());
    }
    QAccessible::Role role() const override { return QAccessible::List; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.disabled = !box_->isEnabled();
        state.invisible = !listShown(box_);
        return state;
    }

private:
    QPointer<QComboBox> box_;
    mutable QHash<int, QAccessible::Id> entries_; // by row, made when first asked for
};
} // namespace

ComboBoxAccessible::ComboBoxAccessible(QComboBox* box)
    : QAccessibleWidget(box, QAccessible::ComboBox) {}

ComboBoxAccessible::~ComboBoxAccessible() {
    if (entries_)
        QAccessible::deleteAccessibleInterface(entries_);
}

QComboBox* ComboBoxAccessible::box() const {
    return static_cast<QComboBox*>(widget());
}

QString ComboBoxAccessible::text(QAccessible::Text t) const {
    // An accessible name set on the list would hide the entry from AT-SPI.
    if (t == QAccessible::Name || t == QAccessible::Value)
        return box()->currentText();
    return QAccessibleWidget::text(t);
}

QAccessible::State ComboBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = listShown(box());
    state.collapsed = !state.expanded;
    return state;
}

int ComboBoxAccessible::childCount() const {
    return 1;
}

QAccessibleInterface* ComboBoxAccessible::child(int index) const {
    if (index != 0)
        return nullptr;
    if (!entries_) // the cache owns the list; this box lets it go
        entries_ = QAccessible::registerAccessibleInterface(new EntryListAccessible(box()));
    return QAccessible::accessibleInterface(entries_);
}

int ComboBoxAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && entries_ &&
                   QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)) == entries_
               ? 0
               : -1;
}

QStringList ComboBoxAccessible::actionNames() const {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void ComboBoxAccessible::doAction(const QString& actionName) {
    if (actionName != showMenuAction() && actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (listShown(box()))
        box()->hidePopup();
    else
        box()->showPopup();
}
