#include "ReplyLines.h"

#include <cmath>

QStringList informationLines(const QString& reply, QStringView query, QStringView prefix) {
    QString text = reply;
    text.remove(u'\r');
    QStringList lines = text.split(u'\n');
    lines.removeLast(); // whatever follows the last line feed is not a whole line

    QStringList information;
    for (QStringView line : std::as_const(lines)) {
        if (line.startsWith(query))
            line = line.mid(query.size());
        if (line.startsWith(prefix))
            information << line.mid(prefix.size()).toString();
    }
    return information;
}

std::optional<double> leadingNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n'))
        ++i;
    double sign = 1;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        sign = text[i] == u'-' ? -1 : 1;
        ++i;
    }
    auto isDigit = [&](qsizetype at) {
        return at < text.size() && text[at] >= u'0' && text[at] <= u'9';
    };
    bool anyDigit = false;
    double value = 0;
    for (; isDigit(i); ++i, anyDigit = true)
        value = value * 10 + (text[i].unicode() - u'0');
    if (i < text.size() && text[i] == u'.') {
        double scale = 0.1;
        for (++i; isDigit(i); ++i, scale /= 10, anyDigit = true)
            value += scale * (text[i].unicode() - u'0');
    }
    if (!anyDigit)
        return std::nullopt;
    return std::nearbyint(sign * value); // the default rounding mode: half to even
}
