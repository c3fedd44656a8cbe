#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The port writes every character as one byte of Latin-1, and Tavek sends
// text exactly as it was given: nothing is replaced or left out on its way
// to the modem. So text is checked where it enters (a message box, a
// configuration file, the command line) against this one rule.

// A character the line carries as it is: printable Latin-1, U+0020 to U+007E
// and U+00A0 to U+00FF. A control character would end the command line or
// start one of the modem's own; a character beyond U+00FF has no byte at all.
constexpr bool isCarriedCharacter(char32_t code) {
    return (code >= 0x20 && code <= 0x7E) || (code >= 0xA0 && code <= 0xFF);
}
bool isCarriedText(QStringView text);

// A character of a text that the line does not carry.
struct UncarriedCharacter {
    qsizetype number = 0; // counted from 1, as characterCount() counts
    QString character;    // the character itself: a surrogate pair whole
};
// The first such character of text, if any.
std::optional<UncarriedCharacter> firstUncarriedCharacter(QStringView text);

// The characters of text: a pair of UTF-16 halves counts once. For text the
// line carries this is the number of bytes on the wire.
qsizetype characterCount(QStringView text);

// A control character: below 32, DEL (127), or the C1 controls (128 to 159).
// A line break or a Ctrl-Z inside a record would end the command line early
// or start one of the modem's own; DEL and the C1 controls are no text either.
bool isControlCharacter(QChar c);
