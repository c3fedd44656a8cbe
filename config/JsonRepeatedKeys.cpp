#include "JsonRepeatedKeys.h"

#include <QSet>

#include <vector>

namespace {

// One object or list the scanner is inside.
struct Container {
    bool object = false;
    QString place;       // its own path; empty for the outermost
    QSet<QString> keys;  // of an object, so far
    int index = 0;       // of a list, the entry being read
    bool keyNext = true; // of an object: the next string is a key
};

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The JSON string that starts with the quote at i, decoded; i ends after its
// closing quote. The text parsed already, so every escape is whole.
QString readString(const QByteArray& json, qsizetype& i) {
    QString text;
    QByteArray plain; // raw UTF-8 since the last escape
    ++i;
    while (i < json.size() && json[i] != '"') {
        if (json[i] != '\\') {
            plain += json[i++];
            continue;
        }
        text += QString::fromUtf8(plain);
        plain.clear();
        const char kind = i + 1 < json.size() ? json[i + 1] : '\\';
        i += 2;
        switch (kind) {
        case 'b':
            text += u'\b';
            break;
        case 'f':
            text += u'\f';
            break;
        case 'n':
            text += u'\n';
            break;
        case 'r':
            text += u'\r';
            break;
        case 't':
            text += u'\t';
            break;
        case 'u': {
            char16_t unit = 0;
            for (int k = 0; k < 4 && i < json.size(); ++k, ++i)
                unit = char16_t(unit * 16 + qMax(0, hexValue(json[i])));
            text += QChar(unit); // two escaped halves make their pair here
            break;
        }
        default:
            text += QChar::fromLatin1(kind); // " \ /
        }
    }
    ++i;
    return text + QString::fromUtf8(plain);
}

} // namespace

QList<RepeatedKey> repeatedKeys(const QByteArray& json) {
    QList<RepeatedKey> repeated;
    std::vector<Container> open;
    QString valuePlace; // the path of the value that comes next
    qsizetype i = 0;
    while (i < json.size()) {
        const char c = json[i];
        if (c == '{' || c == '[') {
            open.push_back({c == '{', valuePlace, {}, 0, true});
            if (c == '[')
                valuePlace = valuePlace + QStringLiteral("[0]");
            ++i;
        } else if (c == '}' || c == ']') {
            if (!open.empty())
                open.pop_back();
            ++i;
        } else if (c == ',') {
            if (!open.empty()) {
                Container& inside = open.back();
                if (inside.object)
                    inside.keyNext = true;
                else
                    valuePlace = inside.place + QStringLiteral("[%1]").arg(++inside.index);
            }
            ++i;
        } else if (c == '"') {
            const qsizetype start = i;
            const QString text = readString(json, i);
            if (!open.empty() && open.back().object && open.back().keyNext) {
                Container& inside = open.back();
                inside.keyNext = false;
                valuePlace = inside.place.isEmpty() ? text : inside.place + u'.' + text;
                if (inside.keys.contains(text))
                    repeated.append({valuePlace, start});
                inside.keys.insert(text);
            }
        } else {
            ++i; // blanks, ':', numbers, true, false, null
        }
    }
    return repeated;
}
