#include "JsonRepeatedKeys.h"

#include <QSet>

#include <vector>

namespace {

// One object or list the scanner is inside.
struct Container {
    bool object = false;
    QSet<QString> keys;  // of an object, so far
    QString key;         // of an object, the key of the value being read
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
    return 0;
}

// What an escape other than \u stands for: \b \f \n \r \t, or the character
// itself (\" \\ \/).
char16_t escaped(char kind) {
    switch (kind) {
    case 'b':
        return u'\b';
    case 'f':
        return u'\f';
    case 'n':
        return u'\n';
    case 'r':
        return u'\r';
    case 't':
        return u'\t';
    default:
        return char16_t(uchar(kind));
    }
}

// The JSON string that starts with the quote at i, decoded; i ends after its
// closing quote. The text parsed already, so every escape is whole.
QString readString(const QByteArray& json, qsizetype& i) {
    QString text;
    qsizetype plainFrom = ++i; // raw UTF-8 since the last escape
    while (i < json.size() && json[i] != '"') {
        if (json[i] != '\\') {
            ++i;
            continue;
        }
        text += QString::fromUtf8(json.constData() + plainFrom, i - plainFrom);
        const char kind = i + 1 < json.size() ? json[i + 1] : '\\';
        i += 2;
        if (kind == 'u') {
            char16_t unit = 0;
            for (int k = 0; k < 4 && i < json.size(); ++k, ++i)
                unit = char16_t(unit * 16 + hexValue(json[i]));
            text += QChar(unit); // two escaped halves make their pair here
        } else {
            text += QChar(escaped(kind));
        }
        plainFrom = i;
    }
    text += QString::fromUtf8(json.constData() + plainFrom, i - plainFrom);
    ++i;
    return text;
}

// The path of the key the innermost object is at: phoneBook, inputs[1].status.
// Built only for a key given again.
QString placeOf(const std::vector<Container>& open) {
    QString place;
    for (const Container& c : open) {
        if (!c.object)
            place += QStringLiteral("[%1]").arg(c.index);
        else
            place += (place.isEmpty() ? QString() : QStringLiteral(".")) + c.key;
    }
    return place;
}

} // namespace

QList<RepeatedKey> repeatedKeys(const QByteArray& json) {
    QList<RepeatedKey> repeated;
    std::vector<Container> open;
    qsizetype i = 0;
    while (i < json.size()) {
        const char c = json[i];
        if (c == '{' || c == '[') {
            open.push_back({c == '{', {}, {}, 0, true});
            ++i;
        } else if (c == '}' || c == ']') {
            if (!open.empty())
                open.pop_back();
            ++i;
        } else if (c == ',') {
            if (!open.empty()) {
                Container& inside = open.back();
                inside.keyNext = inside.object;
                ++inside.index;
            }
            ++i;
        } else if (c == '"') {
            const qsizetype start = i;
            QString text = readString(json, i);
            if (!open.empty() && open.back().object && open.back().keyNext) {
                Container& inside = open.back();
                inside.keyNext = false;
                inside.key = text;
                if (inside.keys.contains(text))
                    repeated.append({placeOf(open), start});
                else
                    inside.keys.insert(std::move(text));
            }
        } else {
            ++i; // blanks, ':', numbers, true, false, null
        }
    }
    return repeated;
}
