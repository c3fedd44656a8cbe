#include "ModemText.h"

namespace {

// The number of UTF-16 units of the character that starts at i: 2 for a
// whole surrogate pair, else 1 (a lone half is a character of its own).
qsizetype unitsAt(QStringView text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

} // namespace

bool isCarriedText(QStringView text) {
    for (QChar c : text) {
        if (!isCarriedCharacter(c.unicode()))
            return false;
    }
    return true;
}

std::optional<UncarriedCharacter> firstUncarriedCharacter(QStringView text) {
    qsizetype number = 0;
    for (qsizetype i = 0; i < text.size(); i += unitsAt(text, i)) {
        ++number;
        // Every unit of a carried character is carried, and no unit of a pair is.
        if (!isCarriedCharacter(text[i].unicode()))
            return UncarriedCharacter{number, text.mid(i, unitsAt(text, i)).toString()};
    }
    return std::nullopt;
}

qsizetype characterCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); i += unitsAt(text, i))
        ++count;
    return count;
}

bool isControlCharacter(QChar c) {
    const char16_t code = c.unicode();
    return code < 32 || (code >= 127 && code <= 159);
}
