#include "TrafficRows.h"

namespace {

bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7f && c < 0xa0);
}

QString controlName(char16_t c) {
    switch (c) {
    case u'\r':
        return QStringLiteral("<CR>");
    case u'\n':
        return QStringLiteral("<LF>");
    default:
        return QStringLiteral("<0x%1>").arg(
            QString::number(uint(c), 16).toUpper().rightJustified(2, u'0'));
    }
}

QChar marker(TrafficKind kind) {
    switch (kind) {
    case TrafficKind::Sent:
        return QChar(0x2192); // →
    case TrafficKind::Received:
        return QChar(0x2190); // ←
    case TrafficKind::Late:
        return u'!';
    default:
        return QChar(0x00b7); // ·
    }
}

bool isOnTheLine(TrafficKind kind) {
    return kind == TrafficKind::Sent || kind == TrafficKind::Received;
}

} // namespace

QString visibleControls(QStringView text) {
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (isControl(c.unicode()))
            out += controlName(c.unicode());
        else
            out += c;
    }
    return out;
}

QString hexBytes(QStringView text) {
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    QString out;
    out.reserve(text.size() * 3);
    for (const QChar c : text) {
        // The line carries Latin-1: one byte a character.
        const auto byte = uint(c.unicode()) & 0xffu;
        if (!out.isEmpty())
            out += u' ';
        out += QChar(digits[byte >> 4]);
        out += QChar(digits[byte & 0xf]);
    }
    return out;
}

QString trafficRowText(const TrafficRow& row, TrafficNotation notation) {
    const QString text = notation == TrafficNotation::Hex && isOnTheLine(row.kind)
                             ? hexBytes(row.text)
                             : visibleControls(row.text);
    return row.time.toString(QStringLiteral("hh:mm:ss.zzz")) + u' ' + marker(row.kind) + u' ' +
           text;
}
