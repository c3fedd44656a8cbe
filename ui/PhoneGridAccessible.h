#pragma once

#include <QAccessibleWidget>
#include <QHash>

class PhoneGrid;

// What screen readers see of the phone grid: a table of the 20 positions
// under two column headers, "Pos." and "Phone Number". The grid draws its
// headings as cells of its row 0; here they are the columns' headers, not a
// row of data. The chosen row (the one typing changes) is the selected one.
//
// Children are the grid's cells in its own order, row by row from the
// headings, which is also how the grid numbers them in its focus and
// selection events.
class PhoneGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit PhoneGridAccessible(PhoneGrid* grid);
    ~PhoneGridAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface: rows and columns count from 0 below the headings.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    // Only a click or Enter chooses a row.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // The grid's rows and columns never change; its cells are read when asked.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    PhoneGrid* grid() const;
    // The cell in the grid's own row and column (row 0: the headings).
    QAccessibleInterface* cell(int gridRow, int column) const;

    mutable QHash<int, QAccessible::Id> cells_; // by child index, made when first asked for
};
