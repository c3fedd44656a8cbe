// The input reader over many generated listings: a well-formed listing is
// read as the modem's firmware tools read it, field for field. (Whatever else
// arrives, the fuzz targets check that both readers end normally and address
// only rows 1-20 and delays 0-10.)
#include "ConfigText.h"
#include "InputsReply.h"
#include "ModemDumps.h"

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

};

QTEST_APPLESS_MAIN(ParserPropertiesTest)
#include "tst_parserproperties.moc"
