#include "PhoneGrid.h"

#include "InputConfig.h"
#include "SystemColours.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace {
// Both fixed rows of the heading and the numbers: one grid line each.
constexpr int RowHeight = 16;

bool looksNumeric(const QString& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}
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

    // The chosen row is shown by its background alone, so the selection
    // must not paint over it.
    QPalette colours = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Highlight, Qt::transparent);
        colours.setColor(group, QPalette::HighlightedText, colours.color(group, QPalette::Text));
    }
    setPalette(colours);

    for (int row = 0; row < RowCount; ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem;
            if (isFixed(row, column)) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(palette().brush(QPalette::Active, QPalette::Button));
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            }
            alignCell(*item, column);
            setItem(row, column, item);
        }
    }

    connect(this, &QTableWidget::cellClicked, this, &PhoneGrid::chooseRowFromSelection);
    connect(this, &QTableWidget::cellDoubleClicked, this, &PhoneGrid::chooseRowFromSelection);
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

void PhoneGrid::chooseRowFromSelection() {
    // The end row of the selection. A click on a heading cell selects
    // nothing, and then the previous choice stays.
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (!ranges.isEmpty()) {
        const int row = ranges.last().bottomRow();
        if (row >= 1 && row <= PhoneBookSize)
            selectedPhoneRow_ = row;
    }
    recolour();
}

void PhoneGrid::recolour() {
    const QColor chosen = chosenRowColour();
    for (int row = 1; row <= PhoneBookSize; ++row)
        item(row, NumberColumn)
            ->setBackground(row == selectedPhoneRow_ ? chosen : QColor(Qt::white));
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
        setCellText(selectedPhoneRow_, NumberColumn, typed);
    } else if (code == u'\b') {
        if (!text.isEmpty())
            setCellText(selectedPhoneRow_, NumberColumn, text.chopped(1));
    } else {
        if (code == u'\r')
            selectedPhoneRow_ = qMin(selectedPhoneRow_ + 1, PhoneBookSize);
        recolour();
    }
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
