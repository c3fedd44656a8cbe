// Properties of the two readers over many generated replies: well-formed
// listings read as the modem's firmware tools read them, and whatever
// arrives, the readers end normally and address only rows 1-20 and delays 0-10.
#include "ConfigText.h"
#include "InputsReply.h"
#include "ModemDumps.h"
#include "PhoneBookReply.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

// The firmware tools' reading: one stream cut at fixed offsets after removing
// the echo, "OK", CR and the prefix wherever they stand. Right for listings
// whose messages hold no "OK" and no quote, which is where the line-wise
// reader must agree with it field for field.
InputsConfig streamReading(InputsConfig panels, QString b) {
    for (const char* cut : {"AT+EGINP?", "OK", "\r", "+EGINP: "})
        b.remove(QLatin1String(cut));
    qsizetype p = 1;
    for (InputConfig& c : panels) {
        const QString s = b.mid(p, 17);
        c.status = s[2] == u'0' ? InputStatus::Disactive : InputStatus::Active;
        c.delayIndex = int(std::nearbyint(s.mid(4, 5).toDouble()));
        c.restState = s[11] == u'O' ? RestState::NormallyOpen : RestState::NormallyClosed;
        c.bit = s[15] == u'S' ? BitMode::Single : BitMode::Double;
        const qsizetype end1 = b.indexOf(u'"', p + 25), end2 = b.indexOf(u'"', end1 + 9);
        const QString first = b.mid(p + 25, end1 - p - 25),
                      second = b.mid(end1 + 9, end2 - end1 - 9);
        p = end2 + 2;
        const bool open = c.restState == RestState::NormallyOpen;
        c.singleMessage = typed(open ? first : second);
        c.doubleMessage = typed(open ? second : first);
    }
    return panels;
}

// Pieces the replies are made of, so that random text often looks nearly right.
const QList<QByteArray> pieces =
    QByteArray("+EGINP: |+EGPHN: |AT+EGINP?|PHN|OK|\r|\n|\"|,|+|0|1|20|21|-|00010|128| ")
        .split('|');

struct Generator {
    QRandomGenerator random;

    int below(int n) { return random.bounded(n); }
    QByteArray plainText() { // no "OK" (no K at all) and no quote
        static const QByteArray letters =
            "ABCDEFGHIJLMNOPQRSTUVWXYZ abcxyz0123456789.,;!-+/\xe9\xfc";
        QByteArray t;
        for (int i = below(MessageMaxLength + 1); i > 0; --i)
            t += letters[below(int(letters.size()))];
        return t;
    }
    QByteArray inputsListing() {
        QList<QByteArray> lines;
        for (int n = 1; n <= InputCount; ++n) {
            const QByteArray i = QByteArray::number(n);
            lines << i + ',' + "01"[below(2)] + ",000" +
                         QByteArray::number(below(11)).rightJustified(2, '0') + ",\"" +
                         "OC"[below(2)] + "\",\"" + "SD"[below(2)] + '"'
                  << i + ",\"C\",\"" + plainText() + '"' << i + ",\"O\",\"" + plainText() + '"';
        }
        return modemDump("AT+EGINP?", lines, below(2));
    }
    QByteArray phoneListing() {
        QList<QByteArray> lines;
        for (int i = below(21); i > 0; --i)
            lines << QByteArray::number(below(23) - 1) + ",\"+39" +
                         QByteArray::number(below(99999)) + "\",128";
        return modemDump("AT+EGPHN?", lines, below(2));
    }
    QByteArray randomBytes(int most) {
        QByteArray out;
        for (int i = below(most); i > 0; --i)
            out += below(3) ? pieces[below(int(pieces.size()))] : QByteArray(1, char(below(256)));
        return out;
    }
    QByteArray mangled(QByteArray reply) { // cut short, bytes inserted, bytes replaced
        for (int edits = random.bounded(1, 6); edits > 0; --edits) {
            const int at = below(int(reply.size()) + 1);
            if (const int kind = below(3); kind == 0)
                reply.truncate(at);
            else if (kind == 1)
                reply.insert(at, randomBytes(4));
            else if (at < reply.size())
                reply[at] = char(below(256));
        }
        return reply;
    }
};

} // namespace

class ParserPropertiesTest : public QObject {
    Q_OBJECT

private slots:
    void wellFormedListingsReadAsTheFirmwareToolsReadThem() {
        Generator g{QRandomGenerator(20261206)};
        InputsConfig before;
        before.fill({InputStatus::Active, RestState::NormallyClosed, BitMode::Double, 5,
                     typed("keep S"), typed("keep D")});
        for (int round = 0; round < 2000; ++round) {
            const QString reply = QString::fromLatin1(g.inputsListing());
            const InputsReading readings = parseInputsReply(reply);
            InputsConfig panels = before;
            for (int n = 0; n < InputCount; ++n)
                panels[n] = applyInputReading(before[n], readings[n]);
            QCOMPARE(describe(panels), describe(streamReading(before, reply)));
        }
    }

    void readersSurviveMangledReplies() {
        Generator g{QRandomGenerator(7)};
        for (int round = 0; round < 20000; ++round) {
            const QByteArray reply = round % 3 == 0   ? g.randomBytes(200)
                                     : round % 3 == 1 ? g.mangled(g.inputsListing())
                                                      : g.mangled(g.phoneListing());
            const QString text = QString::fromLatin1(reply);
            for (const PhoneBookEntry& entry : parsePhoneBookReply(text))
                QVERIFY2(entry.position >= 1 && entry.position <= PhoneBookSize,
                         reply.toPercentEncoding());
            for (const InputReading& reading : parseInputsReply(text))
                QVERIFY2(reading.delayIndex.value_or(0) >= 0 &&
                             reading.delayIndex.value_or(0) <= 10,
                         reply.toPercentEncoding());
        }
    }
};

QTEST_APPLESS_MAIN(ParserPropertiesTest)
#include "tst_parserproperties.moc"
