#include "MessageTextBox.h"

#include "ModemText.h"
#include "SystemColours.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QValidator>

#include <functional>

namespace {
// Refuses any text with a character the line does not carry (ModemText.h),
// and says which: a paste that holds one leaves the box as it was, whole,
// as a paste with a line break always has.
class CarriedCharactersOnly : public QValidator {
public:
    CarriedCharactersOnly(QObject* parent, std::function<void(const QString&)> refused)
        : QValidator(parent), refused_(std::move(refused)) {}
    State validate(QString& input, int&) const override {
        const auto uncarried = firstUncarriedCharacter(input);
        if (!uncarried)
            return Acceptable;
        refused_(uncarried->character);
        return Invalid;
    }

private:
    std::function<void(const QString&)> refused_;
};

// The placeholder as the box shows it, in the user's language.
QString shownPlaceholder() {
    return MessageTextBox::tr(PlaceholderSource);
}

// The placeholder's words in either language: a box that shows them is
// emptied when moved into, whatever their colour.
bool isPlaceholderWords(const QString& text) {
    return text == PlaceholderText || text == shownPlaceholder();
}
} // namespace

MessageTextBox::MessageTextBox(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(MessageMaxLength);
    setValidator(new CarriedCharactersOnly(this, [this](const QString& c) { noteRefused(c); }));
    applyTextColour();
    // The limit is for typing: a longer text the modem sent back is shown
    // whole, and typing can shorten it but never make it longer.
    connect(this, &QLineEdit::textChanged, this, [this] {
        setMaxLength(qMax(MessageMaxLength, int(text().size())));
        emit messageChanged();
    });
}

MessageText MessageTextBox::message() const {
    if (placeholderColour_ && text() == shownPlaceholder())
        return {PlaceholderText, true};
    return {text(), placeholderColour_};
}

void MessageTextBox::setMessage(const MessageText& message) {
    // A box truncates what it is given to its limit: make room first.
    setMaxLength(qMax(MessageMaxLength, int(message.text.size())));
    setText(message.isPlaceholder() ? shownPlaceholder() : message.text);
    setInPlaceholderColour(message.placeholderColour);
}

void MessageTextBox::noteRefused(const QString& character) {
    // Said at the caret, where the user looks while typing, and gone with
    // the next move: a box for every key would be in the way.
    const QString note =
        isControlCharacter(character.at(0))
            ? tr("A line break or another control character would end the modem's command "
                 "line, so the text was not taken.")
            : tr("\"%1\" cannot be sent to the modem, so the text was not taken: a message holds "
                 "only letters, digits and signs of Latin-1 (such as \u00e9, \u00df, \u00b0).")
                  .arg(character);
    QToolTip::showText(mapToGlobal(cursorRect().bottomLeft()), note, this);
}

void MessageTextBox::setInPlaceholderColour(bool placeholder) {
    const bool changed = placeholder != placeholderColour_;
    placeholderColour_ = placeholder;
    applyTextColour();
    if (changed)
        emit messageChanged();
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
    if (event->button() == Qt::LeftButton && isPlaceholderWords(text())) {
        setInPlaceholderColour(false);
        setText(QString());
    }
    QLineEdit::mousePressEvent(event);
}

void MessageTextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Moving into a box that shows the placeholder, by Tab, Shift+Tab, a
    // mnemonic or the mouse, empties it as a click does: the first character
    // typed is the first of the message, never mixed into the placeholder.
    // Coming back from another program or a menu is no move into the box.
    const bool movedIn =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    if (movedIn && isPlaceholderWords(text())) {
        setInPlaceholderColour(false);
        setText(QString());
    }
}

void MessageTextBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Only a move to another control counts; switching to another program or
    // opening the context menu leaves the box as it is.
    const bool toAnotherControl =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    if (toAnotherControl && text().isEmpty()) {
        setText(shownPlaceholder());
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
