#pragma once

#include <QTableWidget>

// The phone book's grid: row 0 and column 0 are fixed heading cells, the
// cell in column 1 of rows 1 to 20 is the number of that position. There is
// no cell editor: a click chooses a row, which is marked by its background,
// and the characters typed then change that row's number. Only digits and a
// leading "+" are taken, up to 20 characters (PhoneNumberRule.h); a "+"
// elsewhere or a 21st character is not, and a tool tip at the cell says why.
//
// The grid's current cell, where its focus frame is drawn and where a screen
// reader's focus is, is always the chosen row's number: the frame never
// marks another row than the one typing changes. So the keys that move the
// current cell choose a row too: Up, Down, Page Up, Page Down, Ctrl+Home and
// Ctrl+End; Left, Right, Home and End stay on the row, as the number is its
// only cell to edit. Enter chooses the next row. Taking the focus from the
// keyboard with no row chosen chooses the first; a click on a heading or a
// position chooses nothing.
class PhoneGrid : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int RowCount = 21;
    static constexpr int ColumnCount = 2;
    static constexpr int NumberColumn = 1;

    explicit PhoneGrid(QWidget* parent = nullptr);

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    // The column's cells align text to the left and numbers to the right.
    void setGeneralAlignment(int column);

    // The row whose number the typed characters change; 0 before any choice.
    int selectedPhoneRow() const { return selectedPhoneRow_; }

    // The key handler proper, for one character code.
    void typeCharacter(char16_t code);

    // The cell's number among the children of the grid's accessible table:
    // row by row, the headings' row first.
    static constexpr int accessibleIndex(int row, int column) { return row * ColumnCount + column; }

signals:
    // The user changed the number of a row by typing.
    void numberTyped(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    // Makes the row (1 to 20) the chosen one and the grid's current cell.
    void chooseRow(int row);
    // A heading or a position under the mouse: nothing to choose there.
    bool onFixedCell(const QMouseEvent& event) const;
    void noteRefused(const QString& note);
    void recolour();
    // Every colour from the palette, again whenever the palette changes.
    void applyPalette();
    bool isFixed(int row, int column) const { return row == 0 || column == 0; }
    void alignCell(QTableWidgetItem& item, int column) const;

    int selectedPhoneRow_ = 0;
    QList<bool> generalAlignment_ = QList<bool>(ColumnCount, false);
};
