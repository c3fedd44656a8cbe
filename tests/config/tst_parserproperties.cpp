// Whatever arrives on the port, the readers end normally and address only
// the phone book's 20 rows and the delay combo's 11 entries.
#include "InputsReply.h"
#include "ModemDumps.h"
#include "PhoneBookReply.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Pieces the modem's replies are made of, so that random text often looks
// nearly right.
const QList<QByteArray> pieces = {"+EGINP: ", "+EGPHN: ", "AT+EGINP?", "AT+EGPHN?", "PHN", "OK",
                                  "\r",       "\n",       "\r\n",      "\"",        ",",   "+",
                                  "0",        "1",        "20",        "21",        "-",   "00010",
                                  "128",      "\"O\"",    "\"C\"",     " ",         "\t",  "."};

class Mangler {
public:
    explicit Mangler(quint32 seed) : random_(seed) {}

    QByteArray randomBytes() {
        QByteArray out;
        for (int i = random_.bounded(200); i > 0; --i)
            out += random_.bounded(3) ? pieces[random_.bounded(int(pieces.size()))]
                                      : QByteArray(1, char(random_.bounded(256)));
        return out;
    }

    QByteArray mangled(QByteArray reply) {
        for (int edits = random_.bounded(1, 6); edits > 0; --edits) {
            const int at = random_.bounded(int(reply.size()) + 1);
            switch (random_.bounded(4)) {
            case 0: // cut short
                reply.truncate(at);
                break;
            case 1: // bytes inserted
                reply.insert(at, randomBytes().left(random_.bounded(1, 12)));
                break;
            case 2: // a byte replaced
                if (at < reply.size())
                    reply[at] = char(random_.bounded(256));
                break;
            default: // a stretch removed
                reply.remove(at, random_.bounded(1, 20));
            }
        }
        return reply;
    }

    QByteArray validInputs() {
        QList<QByteArray> lines;
        for (int n = 1; n <= 3; ++n) {
            lines << QByteArray::number(n) + ",1,0000" + QByteArray::number(random_.bounded(10)) +
                         ",\"O\",\"S\"";
            lines << QByteArray::number(n) + ",\"C\",\"ALARM " + QByteArray::number(n) + "\"";
            lines << QByteArray::number(n) + ",\"O\",\"\"";
        }
        return inputsDump(lines, random_.bounded(2));
    }

    QByteArray validPhoneBook() {
        QList<QByteArray> lines;
        for (int i = random_.bounded(21); i > 0; --i)
            lines << QByteArray::number(random_.bounded(1, 21)) + ",\"+39" +
                         QByteArray::number(random_.bounded(1000000)) + "\",128";
        return phoneDump(lines, random_.bounded(2));
    }

private:
    QRandomGenerator random_;
};

} // namespace

class ParserPropertiesTest : public QObject {
    Q_OBJECT

private slots:
    void readersSurviveMangledReplies_data() {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u})
            QTest::addRow("seed %u", seed) << seed;
    }

    void readersSurviveMangledReplies() {
        QFETCH(quint32, seed);
        Mangler mangler(seed);
        for (int round = 0; round < 5000; ++round) {
            const QByteArray replies[] = {mangler.randomBytes(),
                                          mangler.mangled(mangler.validInputs()),
                                          mangler.mangled(mangler.validPhoneBook())};
            for (const QByteArray& reply : replies) {
                const QString text = QString::fromLatin1(reply);
                for (const PhoneBookEntry& entry : parsePhoneBookReply(text)) {
                    if (entry.position < 1 || entry.position > 20)
                        QFAIL(qPrintable(QStringLiteral("row %1 from %2")
                                             .arg(entry.position)
                                             .arg(QString::fromLatin1(reply.toPercentEncoding()))));
                }
                for (const InputReading& reading : parseInputsReply(text)) {
                    if (reading.delayIndex && (*reading.delayIndex < 0 || *reading.delayIndex > 10))
                        QFAIL(qPrintable(QStringLiteral("delay %1 from %2")
                                             .arg(*reading.delayIndex)
                                             .arg(QString::fromLatin1(reply.toPercentEncoding()))));
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(ParserPropertiesTest)
#include "tst_parserproperties.moc"
