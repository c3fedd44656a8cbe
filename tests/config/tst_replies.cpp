// Reading the modem's replies: tables of replies as the modem sends them.
#include "ConfigText.h"
#include "InputsReply.h"
#include "ModemDumps.h"
#include "PhoneBookReply.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

using Lines = QList<QByteArray>;

// Nine lines of a configuration that sets every field of every input.
const Lines configuredLines = {
    R"(1,1,00003,"O","S")", R"(1,"C","FIRE")", R"(1,"O","FIRE OFF")",
    R"(2,0,00010,"C","D")", R"(2,"C","X")",    R"(2,"O","Y")",
    R"(3,0,00000,"O","S")", R"(3,"C","")",     R"(3,"O","")",
};
const QStringList configuredPanels = {
    "1 3 O S [FIRE] [FIRE OFF]",
    "0 10 C D [Y] [X]", // closed contact: the first message belongs to the Double box
    "0 0 O S [] []",
};
// What the panels showed before the read, so that "kept" can be seen.
const QString kept = QStringLiteral("1 5 C D [keep S] [keep D]");

InputsConfig panelsBefore() {
    InputConfig c;
    c.status = InputStatus::Active;
    c.delayIndex = 5;
    c.port = RestState::NormallyClosed;
    c.bit = BitMode::Double;
    c.single = typed("keep S");
    c.dbl = typed("keep D");
    return {c, c, c};
}

QStringList readInto(InputsConfig panels, const QByteArray& reply) {
    const InputsReading readings = parseInputsReply(QString::fromLatin1(reply));
    for (int n = 0; n < InputCount; ++n)
        panels[n] = applyInputReading(panels[n], readings[n]);
    return describe(panels);
}

// The reply as far as the last occurrence of piece, as a gap in the reply
// would leave it.
QByteArray cutAfter(const QByteArray& reply, const QByteArray& piece) {
    return reply.left(reply.lastIndexOf(piece) + piece.size());
}

Lines replaced(Lines lines, int index, const QByteArray& line) {
    lines[index] = line;
    return lines;
}

QStringList entries(const QByteArray& reply) {
    QStringList out;
    for (const PhoneBookEntry& e : parsePhoneBookReply(QString::fromLatin1(reply)))
        out << QStringLiteral("%1:%2").arg(e.position).arg(e.number);
    return out;
}

// The modem's firmware tools read the listing as one stream cut at fixed
// offsets, removing the echo, "OK", CR and the prefix wherever they stand.
// For a well-formed listing whose messages hold no "OK" and no quote the
// line-wise reader must agree with it field for field.
InputsConfig streamReading(InputsConfig panels, const QString& reply) {
    QString b = reply;
    for (const char* cut : {"AT+EGINP?", "OK", "\r", "+EGINP: "})
        b.remove(QLatin1String(cut));
    b.remove(0, 1);
    qsizetype p = 0;
    const auto untilQuote = [&](qsizetype from) { return b.indexOf(u'"', from); };
    for (InputConfig& c : panels) {
        const QString slice = b.mid(p, 17);
        c.status = slice[2] == u'0' ? InputStatus::Disactive : InputStatus::Active;
        c.delayIndex = int(std::nearbyint(slice.mid(4, 5).toDouble()));
        c.port = slice[11] == u'O' ? RestState::NormallyOpen : RestState::NormallyClosed;
        c.bit = slice[15] == u'S' ? BitMode::Single : BitMode::Double;
        p += 25;
        qsizetype q = untilQuote(p);
        const QString first = b.mid(p, q - p);
        p = q + 9;
        q = untilQuote(p);
        const QString second = b.mid(p, q - p);
        p = q + 2;
        const bool open = c.port == RestState::NormallyOpen;
        c.single = typed(open ? first : second);
        c.dbl = typed(open ? second : first);
    }
    return panels;
}

} // namespace

class RepliesTest : public QObject {
    Q_OBJECT

private slots:
    void inputsReplyLandsInThePanels_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("with echo") << inputsDump(configuredLines) << configuredPanels;
        QTest::newRow("without echo") << inputsDump(configuredLines, false) << configuredPanels;
        QTest::newRow("stale OK before the echo")
            << QByteArray("\r\nOK\r\n" + inputsDump(configuredLines)) << configuredPanels;
        QTest::newRow("OK inside messages comes back whole")
            << inputsDump(replaced(replaced(configuredLines, 1, R"(1,"C","SMOKE ALARM")"), 2,
                                   R"(1,"O","BOOK")"))
            << QStringList{"1 3 O S [SMOKE ALARM] [BOOK]", configuredPanels[1],
                           configuredPanels[2]};
        QTest::newRow("a quote inside a message shifts nothing")
            << inputsDump(replaced(configuredLines, 1, R"(1,"C","He said "hi", OK")"))
            << QStringList{R"(1 3 O S [He said "hi", OK] [FIRE OFF])", configuredPanels[1],
                           configuredPanels[2]};
        QTest::newRow("prefix and query inside a message stay")
            << inputsDump(replaced(configuredLines, 4, R"(2,"C","+EGINP: AT+EGINP?")"))
            << QStringList{configuredPanels[0], "0 10 C D [Y] [+EGINP: AT+EGINP?]",
                           configuredPanels[2]};
        QTest::newRow("echo on the first line's head")
            << QByteArray("AT+EGINP?" + inputsDump(configuredLines, false).mid(2))
            << configuredPanels;
        QTest::newRow("empty reply keeps everything")
            << QByteArray() << QStringList{kept, kept, kept};
        QTest::newRow("echo only keeps everything")
            << QByteArray("AT+EGINP?\r") << QStringList{kept, kept, kept};
        QTest::newRow("ERROR keeps everything")
            << QByteArray("AT+EGINP?\r\r\nERROR\r\n") << QStringList{kept, kept, kept};
        QTest::newRow("lower-case listing is not the modem's")
            << QByteArray(inputsDump(configuredLines).replace("+EGINP: ", "+eginp: "))
            << QStringList{kept, kept, kept};
        QTest::newRow("cut after input 1's first message")
            << cutAfter(inputsDump(configuredLines, false), "\"FIRE\"\r\n")
            << QStringList{"1 3 O S [FIRE] [keep D]", kept, kept};
        QTest::newRow("cut inside a message line")
            << cutAfter(inputsDump(configuredLines, false), "\"FIRE OF")
            << QStringList{"1 3 O S [FIRE] [keep D]", kept, kept};
        QTest::newRow("delay 00011 keeps the delay")
            << inputsDump(replaced(configuredLines, 0, R"(1,1,00011,"O","S")"))
            << QStringList{"1 5 O S [FIRE] [FIRE OFF]", configuredPanels[1], configuredPanels[2]};
        QTest::newRow("delay without digits keeps the delay")
            << inputsDump(replaced(configuredLines, 0, R"(1,1,-----,"O","S")"))
            << QStringList{"1 5 O S [FIRE] [FIRE OFF]", configuredPanels[1], configuredPanels[2]};
        QTest::newRow("status not a digit keeps the status")
            << inputsDump(replaced(configuredLines, 3, R"(2,x,00010,"C","D")"))
            << QStringList{configuredPanels[0], "1 10 C D [Y] [X]", configuredPanels[2]};
        QTest::newRow("any other digit is Active")
            << inputsDump(replaced(configuredLines, 3, R"(2,7,00010,"C","D")"))
            << QStringList{configuredPanels[0], "1 10 C D [Y] [X]", configuredPanels[2]};
        QTest::newRow("message line without its closing quote keeps the box")
            << inputsDump(replaced(configuredLines, 8, R"(3,"O",)"))
            << QStringList{configuredPanels[0], configuredPanels[1], "0 0 O S [] [keep D]"};
    }

    void inputsReplyLandsInThePanels() {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, expected);
        QCOMPARE(readInto(panelsBefore(), reply), expected);
    }

    void inputsReplyAgreesWithTheStreamReadingOnPlainListings() {
        // Messages without "OK" (no K at all) and without quotes.
        const QString alphabet = QStringLiteral(
            "ABCDEFGHIJLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz0123456789.,;!-+/éàü");
        QRandomGenerator random(20261206);
        const auto text = [&] {
            QString t;
            for (int i = random.bounded(MessageMaxLength + 1); i > 0; --i)
                t += alphabet[random.bounded(int(alphabet.size()))];
            return t;
        };
        for (int round = 0; round < 2000; ++round) {
            Lines lines;
            for (int n = 1; n <= InputCount; ++n) {
                lines << QStringLiteral(R"(%1,%2,%3,"%4","%5")")
                             .arg(n)
                             .arg(random.bounded(2))
                             .arg(random.bounded(11), 5, 10, QLatin1Char('0'))
                             .arg(random.bounded(2) ? 'O' : 'C')
                             .arg(random.bounded(2) ? 'S' : 'D')
                             .toLatin1();
                lines << QStringLiteral(R"(%1,"C","%2")").arg(n).arg(text()).toLatin1();
                lines << QStringLiteral(R"(%1,"O","%2")").arg(n).arg(text()).toLatin1();
            }
            const QString reply = QString::fromLatin1(inputsDump(lines, random.bounded(2)));
            InputsConfig panels = panelsBefore();
            const InputsReading readings = parseInputsReply(reply);
            for (int n = 0; n < InputCount; ++n)
                panels[n] = applyInputReading(panels[n], readings[n]);
            QCOMPARE(describe(panels), describe(streamReading(panelsBefore(), reply)));
        }
    }

    void phoneBookEntriesComeFromTheirOwnLines_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("one entry")
            << phoneDump({R"(1,"+393351234567",128)"}) << QStringList{"1:+393351234567"};
        QTest::newRow("order 5, 2, 9")
            << phoneDump({R"(5,"+395",128)", R"(2,"+392",128)", R"(9,"+399",128)"})
            << QStringList{"5:+395", "2:+392", "9:+399"};
        QTest::newRow("without echo") << phoneDump({R"(5,"+395",128)", R"(2,"+392",128)"}, false)
                                      << QStringList{"5:+395", "2:+392"};
        QTest::newRow("number without plus read as it stands")
            << phoneDump({R"(3,"0039333",129)", R"(4,"+394",128)"})
            << QStringList{"3:0039333", "4:+394"};
        QTest::newRow("other number types shift nothing")
            << phoneDump({R"(6,"+396",145)", R"(7,"3337",129)", R"(8,"+398",128)"})
            << QStringList{"6:+396", "7:3337", "8:+398"};
        QTest::newRow("positions 0, negative and above 20 write nothing")
            << phoneDump({R"(0,"+390",128)", R"(-1,"+39-1",128)", R"(21,"+3921",128)",
                          R"(20,"+3920",128)", R"(,"+39",128)"})
            << QStringList{"20:+3920"};
        QTest::newRow("blanks before the position")
            << phoneDump({R"(  11,"+3911",128)"}) << QStringList{"11:+3911"};
        QTest::newRow("empty number frees the position")
            << phoneDump({R"(12,"",128)"}) << QStringList{"12:"};
        QTest::newRow("lower-case phn is no entry")
            << QByteArray(phoneDump({R"(1,"+391",128)"}).replace("+EGPHN: ", "+egphn: "))
            << QStringList{};
        QTest::newRow("cut inside the second entry")
            << cutAfter(phoneDump({R"(1,"+391",128)", R"(2,"+392",128)"}), "\"+39")
            << QStringList{"1:+391"};
        QTest::newRow("cut before the second entry's line feed")
            << cutAfter(phoneDump({R"(1,"+391",128)", R"(2,"+392",128)"}), "\"+392\",128")
            << QStringList{"1:+391"};
        QTest::newRow("ERROR") << QByteArray("AT+EGPHN?\r\r\nERROR\r\n") << QStringList{};
        QTest::newRow("silence") << QByteArray() << QStringList{};
    }

    void phoneBookEntriesComeFromTheirOwnLines() {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, expected);
        QCOMPARE(entries(reply), expected);
    }
};

QTEST_APPLESS_MAIN(RepliesTest)
#include "tst_replies.moc"
