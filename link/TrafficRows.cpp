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
    default:
        return QChar(0x00b7); // ·
    }
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

QString trafficRowText(const TrafficRow& row) {
    return row.time.toString(QStringLiteral("hh:mm:ss.zzz")) + u' ' + marker(row.kind) + u' ' +
           visibleControls(row.text);
}
