#pragma once

#include "InputConfig.h"

#include <QStringList>

// A panel as the user sees it, so that tables read like the window: status
// (1 Active, 0 Disactive, - neither), delay index, rest letter, bit letter,
// then both boxes, a "*" marking one drawn in the placeholder colour.
//   describe(InputConfig{}) == "0 0 O S [Type here your message]* [Type here your message]*"
inline QString describe(const InputConfig& c) {
    const auto box = [](const MessageText& m) {
        return u'[' + m.text + u']' + (m.placeholderColour ? "*" : "");
    };
    const char* status = c.status == InputStatus::Active    ? "1"
                         : c.status == InputStatus::Neither ? "-"
                                                            : "0";
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(status)
        .arg(c.delayIndex)
        .arg(c.restState == RestState::NormallyOpen ? "O" : "C",
             c.bit == BitMode::Single ? "S" : "D", box(c.singleMessage), box(c.doubleMessage));
}

inline QStringList describe(const InputsConfig& inputs) {
    return {describe(inputs[0]), describe(inputs[1]), describe(inputs[2])};
}

// A message box holding text in black, as typed by the user.
inline MessageText typed(const QString& text) {
    return MessageText{text, false};
}
