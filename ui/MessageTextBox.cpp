#include "MessageTextBox.h"

#include "ModemText.h"
#include "SystemColours.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QValidator>

namespace {
// Refuses any text that holds a control character, so a paste with a line
// break leaves the box as it was.
class NoControlCharacters : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (QChar ch : input) {
            if (isControlCharacter(ch))
                return Invalid;
        }
        return Acceptable;
    }
};
} // namespace

MessageTextBox::MessageTextBox(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(MessageMaxLength);
    setValidator(new NoControlCharacters(this));
    applyTextColour();
    // The limit is for typing: a longer text the modem sent back is shown
    // whole, and typing can shorten it but never make it longer.
    connect(this, &QLineEdit::textChanged, this,
            [this] { setMaxLength(qMax(MessageMaxLength, int(text().size()))); });
}

MessageText MessageTextBox::message() const {
    return {text(), placeholderColour_};
}

void MessageTextBox::setMessage(const MessageText& message) {
    // A box truncates what it is given to its limit: make room first.
    setMaxLength(qMax(MessageMaxLength, int(message.text.size())));
    setText(message.text);
    setInPlaceholderColour(message.placeholderColour);
}

void MessageTextBox::setInPlaceholderColour(bool placeholder) {
    placeholderColour_ = placeholder;
    applyTextColour();
}

void MessageTextBox::applyTextColour() {
    const QColor colour = placeholderColour_ ? placeholderColour() : messageTextColour();
    QPalette colours = palette();
    if (colours.color(QPalette::Active, QPalette::Text) == colour &&
        colours.color(QPalette::Inactive, QPalette::Text) == colour)
        return; // also ends the palette change that setting it would bring
    colours.setColor(QPalette::Active, QPalette::Text, colour);
    colours.setColor(QPalette::Inactive, QPalette::Text, colour);
    setPalette(colours);
}

void MessageTextBox::mousePressEvent(QMouseEvent* event) {
    // The box looks at its text alone: whatever the colour, the exact
    // placeholder text is taken out, and the first character typed is in the text colour.
    if (event->button() == Qt::LeftButton && text() == PlaceholderText) {
        setInPlaceholderColour(false);
        setText(QString());
    }
    QLineEdit::mousePressEvent(event);
}

void MessageTextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Arriving by Tab selects nothing: the caret waits at the start, so that
    // typing into a placeholder edits it, as the modem tools always did.
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        deselect();
        setCursorPosition(0);
    }
}

void MessageTextBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Only a move to another control counts; switching to another program or
    // opening the context menu leaves the box as it is.
    const bool toAnotherControl =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    if (toAnotherControl && text().isEmpty()) {
        setText(PlaceholderText);
        setInPlaceholderColour(true);
    }
}

void MessageTextBox::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    // A new palette (the desktop switched to dark, say) brings new text and
    // placeholder colours. Widgets hear of it as PaletteChange.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        applyTextColour();
}
