#include "PhoneGridAccessible.h"

#include "PhoneGrid.h"

#include <QPointer>

namespace {
// One cell: a column header in the headings' row, a table cell below it.
class PhoneGridCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    PhoneGridCell(PhoneGrid* grid, int gridRow, int column)
        : grid_(grid), gridRow_(gridRow), column_(column) {}

    bool isValid() const override { return grid_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_->window()->windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(grid_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? grid_->cellText(gridRow_, column_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QRect place = grid_->visualRect(grid_->model()->index(gridRow_, column_));
        return place.translated(grid_->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override {
        return isHeading() ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.disabled = !grid_->isEnabled();
        const QRect place = grid_->visualRect(grid_->model()->index(gridRow_, column_));
        state.offscreen = !grid_->viewport()->rect().intersects(place);
        if (!isHeading()) {
            state.focusable = true;
            state.focused = grid_->hasFocus() && grid_->currentRow() == gridRow_ &&
                            grid_->currentColumn() == column_;
            state.selectable = true;
            state.selected = isSelected();
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface && !isHeading())
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override { return gridRow_ == grid_->selectedPhoneRow(); }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        return {parent()->child(PhoneGrid::accessibleIndex(0, column_))};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return gridRow_ - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    bool isHeading() const { return gridRow_ == 0; }

    QPointer<PhoneGrid> grid_;
    int gridRow_;
    int column_;
};
} // namespace

PhoneGridAccessible::PhoneGridAccessible(PhoneGrid* grid)
    : QAccessibleWidget(grid, QAccessible::Table) {}

PhoneGridAccessible::~PhoneGridAccessible() {
    for (QAccessible::Id id : std::as_const(cells_))
        QAccessible::deleteAccessibleInterface(id);
}

PhoneGrid* PhoneGridAccessible::grid() const {
    return static_cast<PhoneGrid*>(widget());
}

QAccessibleInterface* PhoneGridAccessible::cell(int gridRow, int column) const {
    if (gridRow < 0 || gridRow >= PhoneGrid::RowCount || column < 0 ||
        column >= PhoneGrid::ColumnCount)
        return nullptr;
    const int index = PhoneGrid::accessibleIndex(gridRow, column);
    if (const auto known = cells_.constFind(index); known != cells_.constEnd())
        return QAccessible::accessibleInterface(*known);
    // The accessibility cache owns the cell; this table lets it go with the grid.
    auto* made = new PhoneGridCell(grid(), gridRow, column);
    cells_.insert(index, QAccessible::registerAccessibleInterface(made));
    return made;
}

int PhoneGridAccessible::childCount() const {
    return PhoneGrid::RowCount * PhoneGrid::ColumnCount;
}

QAccessibleInterface* PhoneGridAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    return cell(index / PhoneGrid::ColumnCount, index % PhoneGrid::ColumnCount);
}

int PhoneGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child)
        return -1;
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    return cells_.key(id, -1);
}

QAccessibleInterface* PhoneGridAccessible::childAt(int x, int y) const {
    const QModelIndex index = grid()->indexAt(grid()->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? cell(index.row(), index.column()) : nullptr;
}

QAccessibleInterface* PhoneGridAccessible::focusChild() const {
    if (!grid()->hasFocus())
        return nullptr;
    return cell(grid()->currentRow(), grid()->currentColumn());
}

void* PhoneGridAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* PhoneGridAccessible::cellAt(int row, int column) const {
    return row >= 0 && row < rowCount() ? cell(row + 1, column) : nullptr;
}

int PhoneGridAccessible::columnCount() const {
    return PhoneGrid::ColumnCount;
}

int PhoneGridAccessible::rowCount() const {
    return PhoneGrid::RowCount - 1;
}

QString PhoneGridAccessible::columnDescription(int column) const {
    return column >= 0 && column < columnCount() ? grid()->cellText(0, column) : QString();
}

QList<int> PhoneGridAccessible::selectedRows() const {
    const int chosen = grid()->selectedPhoneRow();
    return chosen > 0 ? QList<int>{chosen - 1} : QList<int>{};
}

int PhoneGridAccessible::selectedRowCount() const {
    return int(selectedRows().size());
}

bool PhoneGridAccessible::isRowSelected(int row) const {
    return selectedRows().contains(row);
}

QList<QAccessibleInterface*> PhoneGridAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows()) {
        for (int column = 0; column < columnCount(); ++column)
            cells << cellAt(row, column);
    }
    return cells;
}

int PhoneGridAccessible::selectedCellCount() const {
    return int(selectedCells().size());
}
