#include "TrafficFindBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>

TrafficFindBar::TrafficFindBar(QPlainTextEdit& text, QWidget* parent)
    : QWidget(parent), text_(text) {
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("find"));
    field_->setPlaceholderText(tr("Find (Ctrl+F)"));
    field_->setAccessibleName(tr("Find in the modem traffic"));
    field_->setClearButtonEnabled(true);
    const auto addButton = [this](const QString& name, const QString& label, const QString& tip) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setText(label);
        button->setToolTip(tip);
        return button;
    };
    previous_ = addButton(QStringLiteral("findPrevious"), tr("Previous"),
                          tr("The match before this one (Shift+F3)"));
    next_ = addButton(QStringLiteral("findNext"), tr("Next"), tr("The next match (F3)"));
    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("findResult"));

    connect(field_, &QLineEdit::textEdited, this, &TrafficFindBar::searchAsTyped);
    // A cleared field (its clear button) takes the marks away too.
    connect(field_, &QLineEdit::textChanged, this, [this](const QString& term) {
        if (term.isEmpty())
            markMatches();
    });
    connect(field_, &QLineEdit::returnPressed, this, &TrafficFindBar::findNext);
    connect(previous_, &QToolButton::clicked, this, &TrafficFindBar::findPrevious);
    connect(next_, &QToolButton::clicked, this, &TrafficFindBar::findNext);
    auto* backInField = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Return), field_);
    backInField->setContext(Qt::WidgetShortcut);
    connect(backInField, &QShortcut::activated, this, &TrafficFindBar::findPrevious);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field_, 1);
    layout->addWidget(previous_);
    layout->addWidget(next_);
    layout->addWidget(result_, 1);
}

void TrafficFindBar::focusField() {
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

void TrafficFindBar::searchAsTyped() {
    // From where the last match began, so that typing on refines it.
    QTextCursor from = text_.textCursor();
    from.setPosition(from.selectionStart());
    text_.setTextCursor(from);
    markMatches();
    find(false);
}

void TrafficFindBar::find(bool backward) {
    const QString term = field_->text();
    if (term.isEmpty())
        return;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (!text_.find(term, flags)) {
        // Around the end, from the other one.
        QTextCursor other(text_.document());
        other.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        text_.setTextCursor(other);
        text_.find(term, flags);
    }
}

void TrafficFindBar::textChanged() {
    if (!field_->text().isEmpty())
        markMatches();
}

void TrafficFindBar::markMatches() {
    const QString term = field_->text();
    QList<QTextEdit::ExtraSelection> marks;
    int rows = 0;
    if (!term.isEmpty()) {
        QColor mark = text_.palette().color(QPalette::Highlight);
        mark.setAlpha(90);
        const QTextDocument* document = text_.document();
        int lastRow = -1;
        for (QTextCursor match = document->find(term); !match.isNull();
             match = document->find(term, match)) {
            QTextEdit::ExtraSelection selection;
            selection.cursor = match;
            selection.format.setBackground(mark);
            marks << selection;
            if (match.blockNumber() != lastRow) {
                lastRow = match.blockNumber();
                ++rows;
            }
        }
    }
    text_.setExtraSelections(marks);
    if (term.isEmpty())
        result_->clear();
    else if (rows == 0)
        result_->setText(tr("Not found"));
    else if (rows == 1)
        result_->setText(tr("1 row"));
    else
        result_->setText(tr("%1 rows").arg(rows));
}
