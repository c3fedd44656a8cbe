#include "ReplyLines.h"

#include "ReplyOwnership.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace {

bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

bool isUpperOrDigit(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// Levenshtein distance, for the short names of result codes.
qsizetype editDistance(QStringView a, QStringView b) {
    QList<qsizetype> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// "+EGPHN: " gives "EGPHN".
QStringView nameOf(QStringView prefix) {
    QStringView name = prefix.trimmed();
    if (name.startsWith(u'+'))
        name = name.mid(1);
    if (name.endsWith(u':'))
        name.chop(1);
    return name;
}

const QStringView bareCodes[] = {u"RING", u"NO CARRIER", u"BUSY", u"NO ANSWER", u"NO DIALTONE"};

} // namespace

bool isUnsolicitedLine(QStringView line, QStringView listingPrefix) {
    if (std::find(std::begin(bareCodes), std::end(bareCodes), line) != std::end(bareCodes))
        return true;
    if (!line.startsWith(u'+'))
        return false;
    const qsizetype colon = line.indexOf(u':');
    if (colon < 2)
        return false;
    const QStringView name = line.mid(1, colon - 1);
    if (!std::all_of(name.begin(), name.end(), isUpperOrDigit) || !name.front().isLetter())
        return false;
    if (colon + 1 < line.size() && line[colon + 1] != u' ')
        return false;
    const QStringView listingName = nameOf(listingPrefix);
    return !line.contains(listingName) && editDistance(name, listingName) > 2;
}

ListingLines listingLines(QStringView reply, QStringView query, QStringView prefix) {
    ListingLines listing;
    qsizetype start = 0;
    for (qsizetype i = 0; i < reply.size(); ++i) {
        if (!isLineBreak(reply[i]))
            continue;
        QStringView line = reply.mid(start, i - start);
        start = i + 1;
        // An echo that the modem did not end with a line break of its own
        // may still stand in front of the first listing line.
        if (line.startsWith(query))
            line = line.mid(query.size());
        if (line.isEmpty() || resultCodeOfLine(line))
            continue;
        if (line.startsWith(prefix))
            listing.lines << line.mid(prefix.size()).toString();
        else if (!isUnsolicitedLine(line, prefix))
            listing.unrecognised = true;
    }
    return listing;
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
