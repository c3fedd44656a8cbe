#pragma once

#include "InputConfig.h"

#include <QString>
#include <QStringList>

// Short texts for a panel's state, so that test tables read like what the
// user would see: status (1 Active, 0 Disactive, - neither), delay index,
// rest letter, bit letter, then both boxes; a box still drawn in the
// placeholder colour is marked with a "*".
//   describe(InputConfig{}) == "0 0 O S [Type here your message]* [Type here your message]*"
inline QString describe(const InputConfig& c) {
    const auto box = [](const MessageText& m) {
        return u'[' + m.text + u']' + (m.placeholderColour ? QStringLiteral("*") : QString());
    };
    const QChar status = c.status == InputStatus::Active      ? u'1'
                         : c.status == InputStatus::Disactive ? u'0'
                                                              : u'-';
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(status)
        .arg(c.delayIndex)
        .arg(QChar(c.port == RestState::NormallyOpen ? u'O' : u'C'))
        .arg(QChar(c.bit == BitMode::Single ? u'S' : u'D'))
        .arg(box(c.single), box(c.dbl));
}

inline QStringList describe(const InputsConfig& inputs) {
    QStringList out;
    for (const InputConfig& c : inputs)
        out << describe(c);
    return out;
}

// A message box holding text in black, as typed by the user.
inline MessageText typed(const QString& text) {
    return MessageText{text, false};
}
