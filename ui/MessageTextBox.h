#pragma once

#include "InputConfig.h"

#include <QLineEdit>

// One of the six one-line boxes that hold an alarm input's SMS texts. An
// empty box shows "Type here your message" in the placeholder colour; a click
// takes the placeholder out and leaving the box empty puts it back. The box
// takes at most 50 typed characters (a longer text read from the modem is
// kept whole) and only characters the line carries (ModemText.h): a line
// break or a Ctrl-Z would end or hijack the modem's command line, and a "€"
// has no byte on it. A key or a paste that brings any other character
// changes nothing, and a tool tip at the caret says why. Long texts go in
// through setMessage.
class MessageTextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit MessageTextBox(QWidget* parent = nullptr);

    // Text and colour, as the modem operations see them.
    MessageText message() const;
    void setMessage(const MessageText& message);

    bool inPlaceholderColour() const { return placeholderColour_; }
    void setInPlaceholderColour(bool placeholder);

signals:
    // The text or its colour changed, by the user or by the box's own rules.
    void messageChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyTextColour();
    void noteRefused(const QString& character);

    bool placeholderColour_ = false;
};
