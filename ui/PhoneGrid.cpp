#include "PhoneGrid.h"

#include "InputConfig.h"
#include "PhoneNumberRule.h"
#include "SystemColours.h"

#include <QAccessible>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace {
// Both fixed rows of the heading and the numbers: one grid line each.
constexpr int RowHeight = 16;

bool looksNumeric(const QString& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

// The chosen row is shown by its background alone. The selection, which
// follows the current cell, is not drawn: the style would paint it in place
// of that background.
class WithoutSelection : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_Selected;
    }
};
} // namespace

PhoneGrid::PhoneGrid(QWidget* parent) : QTableWidget(RowCount, ColumnCount, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(RowHeight);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
    // Tab leaves the grid for the next control; the arrows move within it.
    setTabKeyNavigation(false);
    setItemDelegate(new WithoutSelection(this));

    for (int row = 0; row < RowCount; ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(isFixed(row, column) ? Qt::ItemIsEnabled
                                                : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            alignCell(*item, column);
            setItem(row, column, item);
        }
    }
    applyPalette();
}

QString PhoneGrid::cellText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void PhoneGrid::setCellText(int row, int column, const QString& text) {
    QTableWidgetItem* cell = item(row, column);
    if (!cell)
        return;
    cell->setText(text);
    alignCell(*cell, column);
}

void PhoneGrid::setGeneralAlignment(int column) {
    if (column < 0 || column >= ColumnCount)
        return;
    generalAlignment_[column] = true;
    for (int row = 0; row < RowCount; ++row)
        alignCell(*item(row, column), column);
}

void PhoneGrid::alignCell(QTableWidgetItem& cell, int column) const {
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (generalAlignment_[column] && looksNumeric(cell.text()))
        horizontal = Qt::AlignRight;
    cell.setTextAlignment(horizontal | Qt::AlignVCenter);
}

void PhoneGrid::chooseRow(int row) {
    if (row >= 1 && row <= PhoneBookSize)
        setCurrentIndex(model()->index(row, NumberColumn));
}

void PhoneGrid::recolour() {
    const QColor chosen = chosenRowColour();
    // The other rows show the palette's own field colour.
    for (int row = 1; row <= PhoneBookSize; ++row) {
        if (QTableWidgetItem* cell = item(row, NumberColumn))
            cell->setBackground(row == selectedPhoneRow_ ? QBrush(chosen) : QBrush());
    }
}

void PhoneGrid::applyPalette() {
    // The heading cells look like buttons, as fixed cells always have.
    for (int row = 0; row < RowCount; ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            if (QTableWidgetItem* cell = item(row, column); cell && isFixed(row, column)) {
                cell->setBackground(palette().brush(QPalette::Active, QPalette::Button));
                cell->setForeground(palette().brush(QPalette::Active, QPalette::ButtonText));
            }
        }
    }
    recolour();
}

void PhoneGrid::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        applyPalette();
}

void PhoneGrid::typeCharacter(char16_t code) {
    if (selectedPhoneRow_ == 0)
        return;
    const QString text = cellText(selectedPhoneRow_, NumberColumn);
    if (code == u'+' || (code >= u'0' && code <= u'9')) {
        QString typed = text + QChar(code);
        // Nobody dials the international prefix as "00" into the modem.
        if (typed == QLatin1String("00"))
            typed = QStringLiteral("+");
        // A key is not taken when it would turn the start of a number into
        // something that is none. A cell that holds no number already (so
        // read from a modem) stays editable; the check before a "Set" names it.
        if (isPhoneNumberStart(text) && !isPhoneNumberStart(typed)) {
            noteRefused(
                typed.size() > PhoneNumberMaxLength
                    ? tr("A phone number holds at most %1 characters.").arg(PhoneNumberMaxLength)
                    : tr("A \"+\" goes only at the start of a phone number."));
            return;
        }
        setCellText(selectedPhoneRow_, NumberColumn, typed);
        emit numberTyped(selectedPhoneRow_);
    } else if (code == u'\b') {
        if (!text.isEmpty()) {
            setCellText(selectedPhoneRow_, NumberColumn, text.chopped(1));
            emit numberTyped(selectedPhoneRow_);
        }
    } else if (code == u'\r') {
        chooseRow(qMin(selectedPhoneRow_ + 1, PhoneBookSize));
    }
}

void PhoneGrid::noteRefused(const QString& note) {
    // Said at the cell, where the user looks while typing, and gone with the
    // next move: a box for every key would be in the way.
    const QRect cell = visualRect(model()->index(selectedPhoneRow_, NumberColumn));
    QToolTip::showText(viewport()->mapToGlobal(cell.bottomLeft()), note, viewport(), cell);
}

void PhoneGrid::keyPressEvent(QKeyEvent* event) {
    // Keys that make a character go to the phone row; the grid's own
    // navigation (arrows, Tab, Home, ...) keeps working as it does.
    const QString text = event->text();
    // Delete brings a character code on some systems, but no character.
    const bool navigation = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab ||
                            event->key() == Qt::Key_Delete;
    if (text.size() == 1 && !navigation) {
        typeCharacter(text.at(0).unicode());
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

QModelIndex PhoneGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // The table's own move, kept to the number column and off the headings.
    // From no current cell (the focus taken from the keyboard, an arrow
    // before any choice) the table goes to the first heading, and so the
    // grid to the first row.
    const QModelIndex moved = QTableWidget::moveCursor(action, modifiers);
    return model()->index(qBound(1, moved.row(), PhoneBookSize), NumberColumn);
}

bool PhoneGrid::onFixedCell(const QMouseEvent& event) const {
    const QModelIndex under = indexAt(event.position().toPoint());
    return !under.isValid() || isFixed(under.row(), under.column());
}

// A press on a heading or a position takes the focus and nothing else; so
// does a drag over them or a double click on one. Elsewhere the table's own
// handling makes the cell under the mouse current, which chooses its row.
void PhoneGrid::mousePressEvent(QMouseEvent* event) {
    if (!onFixedCell(*event)) {
        QTableWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void PhoneGrid::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton || !onFixedCell(*event))
        QTableWidget::mouseMoveEvent(event);
}

void PhoneGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!onFixedCell(*event))
        QTableWidget::mouseDoubleClickEvent(event);
}

// The current cell is only ever a number (see moveCursor and the mouse
// handlers), and its row is the chosen one.
//
// QTableView tells screen readers of the current and the selected cell by
// numbers that count its hidden headers, which the grid's accessible table
// does not have. The grid tells of the focus itself, in the table's numbers;
// what it offers as selected is the chosen row, not the selection.
void PhoneGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QAbstractItemView::currentChanged(current, previous);
    if (current.isValid() && !isFixed(current.row(), current.column())) {
        selectedPhoneRow_ = current.row();
        recolour();
    }
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(accessibleIndex(current.row(), current.column()));
        QAccessible::updateAccessibility(&event);
    }
}

void PhoneGrid::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QAbstractItemView::selectionChanged(selected, deselected);
}
