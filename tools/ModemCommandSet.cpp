#include "ModemCommandSet.h"

#include <QList>

namespace {

// A whole decimal number of one or two digits, or -1.
int smallNumber(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 2)
        return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The number type of a phone-book entry: one to three digits (the program always sends 128).
bool isNumberType(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 3)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// A letter between quotes, such as "O"; 0 when the field is not of that form.
char quotedLetter(const QByteArray& field) {
    if (field.size() != 3 || field[0] != '"' || field[2] != '"')
        return 0;
    return field[1];
}

// Verbose V.250 framing: information text and the result code each framed by CR LF.
QByteArray framed(const QByteArray& informationLines, const QByteArray& resultCode) {
    QByteArray reply;
    if (!informationLines.isEmpty())
        reply += "\r\n" + informationLines;
    reply += "\r\n" + resultCode + "\r\n";
    return reply;
}

} // namespace

QByteArray ModemCommandSet::execute(const QByteArray& line, bool lowerCase) {
    if (!line.toUpper().startsWith("AT"))
        return {};
    const QByteArray ok = lowerCase ? "ok" : "OK";
    const QByteArray error = lowerCase ? "error" : "ERROR";
    auto caseOf = [lowerCase](QByteArray lines, const QByteArray& prefix) {
        return lowerCase ? lines.replace(prefix, prefix.toLower()) : lines;
    };

    static const QByteArray inputWrite = "AT+EGINP=";
    static const QByteArray phoneWrite = "AT+EGPHN=";
    if (line == "AT+EGINP?")
        return framed(caseOf(inputLines(), "+EGINP: "), ok);
    if (line == "AT+EGPHN?")
        return framed(caseOf(phoneLines(), "+EGPHN: "), ok);
    if ((line.startsWith(inputWrite) || line.startsWith(phoneWrite)) &&
        storeFault == StoreFault::StoresNothing)
        return {};
    if (line.startsWith(inputWrite))
        return framed({}, writeInput(line.mid(inputWrite.size())) ? ok : error);
    if (line.startsWith(phoneWrite))
        return framed({}, writePhone(line.mid(phoneWrite.size())) ? ok : error);
    // Every other AT command of the modem (relay, factory settings, ...) is accepted.
    return framed({}, ok);
}

// n,s,d,"R","B" sets an input's settings; n,"C","text" or n,"O","text" one of its messages.
bool ModemCommandSet::writeInput(const QByteArray& args) {
    if (args.size() < 3 || args[0] < '1' || args[0] > '3' || args[1] != ',')
        return false;
    ModemStoreInput& input = inputs[args[0] - '1'];
    const QByteArray rest = args.mid(2);

    if (rest.startsWith('"')) {
        // The text runs to the last quote of the line, so a text holding quotes round-trips.
        const char state = quotedLetter(rest.left(3));
        const qsizetype closing = rest.lastIndexOf('"');
        if ((state != 'C' && state != 'O') || rest.mid(3, 2) != ",\"" || closing < 4 ||
            closing != rest.size() - 1)
            return false;
        (state == 'C' ? input.messageC : input.messageO) = kept(rest.mid(5, closing - 5));
        return true;
    }

    const QList<QByteArray> fields = rest.split(',');
    if (fields.size() != 4)
        return false;
    const int status = smallNumber(fields[0]);
    const int delay = smallNumber(fields[1]);
    const char restState = quotedLetter(fields[2]);
    const char bit = quotedLetter(fields[3]);
    if (status < 0 || status > 1 || delay < 0 || delay > 10 ||
        (restState != 'O' && restState != 'C') || (bit != 'S' && bit != 'D'))
        return false;
    input.status = status;
    input.delay = delay;
    input.rest = restState;
    input.bit = bit;
    return true;
}

// p frees position p; p,"number",type stores a number there.
bool ModemCommandSet::writePhone(const QByteArray& args) {
    const qsizetype comma = args.indexOf(',');
    const int position = smallNumber(comma < 0 ? args : args.left(comma));
    if (position < 1 || position > 20)
        return false;
    if (comma < 0) {
        if (!(storeFault == StoreFault::DropsLastPosition && position == 20))
            phoneBook[position - 1].clear();
        return true;
    }
    const QByteArray record = args.mid(comma + 1);
    const qsizetype closing = record.indexOf('"', 1);
    if (!record.startsWith('"') || closing < 0)
        return false;
    const QByteArray type = record.mid(closing + 1);
    if (!type.startsWith(',') || !isNumberType(type.mid(1)))
        return false;
    if (!(storeFault == StoreFault::DropsLastPosition && position == 20))
        phoneBook[position - 1] = kept(record.mid(1, closing - 1));
    return true;
}

QByteArray ModemCommandSet::kept(const QByteArray& text) const {
    return storeFault == StoreFault::CutsTexts ? text.left(9) : text;
}

// Three lines per input: settings (delay as five digits), then the "C" and the "O" message.
QByteArray ModemCommandSet::inputLines() const {
    QList<QByteArray> lines;
    for (int n = 1; n <= 3; ++n) {
        const ModemStoreInput& input = inputs[n - 1];
        const QByteArray number = QByteArray::number(n);
        lines << "+EGINP: " + number + ',' + QByteArray::number(input.status) + ',' +
                     QByteArray::number(input.delay).rightJustified(5, '0') + ",\"" + input.rest +
                     "\",\"" + input.bit + '"'
              << "+EGINP: " + number + ",\"C\",\"" + input.messageC + '"'
              << "+EGINP: " + number + ",\"O\",\"" + input.messageO + '"';
    }
    return withStrayLines(lines);
}

// One line for each position that holds a number, in ascending order.
QByteArray ModemCommandSet::phoneLines() const {
    QList<QByteArray> lines;
    for (int p = 1; p <= 20; ++p) {
        if (!phoneBook[p - 1].isEmpty())
            lines << "+EGPHN: " + QByteArray::number(p) + ",\"" + phoneBook[p - 1] + "\",128";
    }
    return withStrayLines(lines);
}

// Each line ended by CR LF; an unsolicited line framed by CR LF on both sides.
QByteArray ModemCommandSet::withStrayLines(const QList<QByteArray>& lines) const {
    QByteArray text;
    for (qsizetype i = 0; i <= lines.size(); ++i) {
        for (const auto& [before, stray] : strayLinesInListings) {
            if (before == i || (i == lines.size() && before > i))
                text += "\r\n" + stray + "\r\n";
        }
        if (i < lines.size())
            text += lines[i] + "\r\n";
    }
    return text;
}
