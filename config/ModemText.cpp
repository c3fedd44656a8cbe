#include "ModemText.h"

namespace {

QString toLatin1Text(QStringView text, bool dropControls) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (dropControls && isControlCharacter(c))
            continue;
        if (c.unicode() <= 0xFF) {
            out += c;
            continue;
        }
        // A surrogate pair is one character: one "?" for both halves.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        out += u'?';
    }
    return out;
}

} // namespace

bool isControlCharacter(QChar c) {
    const char16_t code = c.unicode();
    return code < 32 || (code >= 127 && code <= 159);
}

QString latin1Text(QStringView text) {
    return toLatin1Text(text, false);
}

QString latin1TextWithoutControls(QStringView text) {
    return toLatin1Text(text, true);
}
