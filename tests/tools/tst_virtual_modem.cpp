// The virtual modem stands in for the hardware in every link, configuration and
// window test, so its bytes on the wire must be exact and come as a 9600 bit/s
// line would bring them. These tests talk to it through the real serial port on
// its pseudo-terminal, as the program does. Time is checked against the floor
// that the line sets, which no load can lower; upper bounds are wide.
#include "VirtualModem.h"

#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <functional>

using Bytes = QByteArray;
using Clock = VirtualModem::Clock;
using std::chrono::milliseconds;

namespace {
const Bytes ok = "\r\nOK\r\n";
const Bytes error = "\r\nERROR\r\n";
constexpr auto characterTime = VirtualModem::characterTime;
constexpr auto defaultProcessing = milliseconds(20);

// What the program read, one entry for each read, with the moment it had it.
struct Reads {
    std::vector<std::pair<Clock::time_point, Bytes>> reads;

    Bytes all() const {
        Bytes bytes;
        for (const auto& read : reads)
            bytes += read.second;
        return bytes;
    }
    // When the program had at least count bytes.
    Clock::time_point whenHad(qsizetype count) const {
        qsizetype had = 0;
        for (const auto& [at, bytes] : reads) {
            if ((had += bytes.size()) >= count)
                return at;
        }
        return Clock::time_point::max();
    }
};

bool endsAnswer(const Bytes& bytes) {
    return bytes.endsWith(ok) || bytes.endsWith(error);
}

// Reads until done(what came) holds, or nothing comes for 2 s, or the line is gone.
Reads readUntil(QSerialPort& port, const std::function<bool(const Bytes&)>& done) {
    Reads got;
    Bytes all;
    while (!done(all) && port.waitForReadyRead(2000)) {
        got.reads.push_back({Clock::now(), port.readAll()});
        all += got.reads.back().second;
    }
    return got;
}

void send(QSerialPort& port, const Bytes& bytes) {
    port.write(bytes);
    port.waitForBytesWritten(1000);
}

// Sends a command line and reads its answer, up to its result code.
Reads command(QSerialPort& port, const Bytes& line) {
    send(port, line + '\r');
    return readUntil(port, endsAnswer);
}

Bytes phoneLine(int position, const Bytes& number) {
    return "+EGPHN: " + Bytes::number(position) + ",\"" + number + "\",128\r\n";
}

// The whole store, as text that tells whether anything changed.
Bytes storeText(const VirtualModem& modem) {
    Bytes text;
    for (const VirtualModem::Input& input : modem.inputs())
        text += Bytes::number(input.status) + Bytes::number(input.delay) + input.rest + input.bit +
                input.messageC + '|' + input.messageO + ';';
    for (const Bytes& number : modem.phoneBook())
        text += number + ';';
    return text;
}

double ms(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}
} // namespace

class VirtualModemTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;

private slots:
    // A home of its own: the ports folder of the test mode lies under it, so
    // test programs running at the same time cannot relink each other's ports.
    void initTestCase() {
        QVERIFY(home.isValid());
        qputenv("HOME", QFile::encodeName(home.path()));
        QStandardPaths::setTestModeEnabled(true);
    }

    // The bytes are the same whether the modem answers at once or as a line
    // would; only their timing differs. Each row ends with a plain "AT", whose
    // answer must follow at once: so a row also proves that nothing beyond the
    // expected bytes was sent.
    void answersInVerboseFraming_data() {
        QTest::addColumn<bool>("instant");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<QList<Bytes>>("lines");
        QTest::addColumn<Bytes>("expected");
        Bytes inputs; // as a new modem holds them
        for (const Bytes n : {"1", "2", "3"})
            inputs += "+EGINP: " + n + ",0,00000,\"O\",\"S\"\r\n+EGINP: " + n +
                      ",\"C\",\"\"\r\n+EGINP: " + n + ",\"O\",\"\"\r\n";
        const Bytes phones = phoneLine(2, "+393351234567") + phoneLine(12, "+390612345678");
        const Bytes quoted = "\"say \"hi\", now\"";
        for (const bool instant : {true, false}) {
            const char* mode = instant ? "instant" : "real line";
            QTest::addRow("input query, %s", mode)
                << instant << true << QList<Bytes>{"AT+EGINP?"} << "AT+EGINP?\r\r\n" + inputs + ok;
            QTest::addRow("phone query, no echo, %s", mode)
                << instant << false << QList<Bytes>{"AT+EGPHN?"} << "\r\n" + phones + ok;
            QTest::addRow("quoted message written and read back, no echo, %s", mode)
                << instant << false << QList<Bytes>{"AT+EGINP=1,\"C\"," + quoted, "AT+EGINP?"}
                << ok + "\r\n" + Bytes(inputs).replace("1,\"C\",\"\"", "1,\"C\"," + quoted) + ok;
        }
    }
    void answersInVerboseFraming() {
        QFETCH(bool, instant);
        QFETCH(bool, echo);
        QFETCH(QList<Bytes>, lines);
        QFETCH(Bytes, expected);
        VirtualModem modem;
        std::array<Bytes, 20> phoneBook;
        phoneBook[11] = "+390612345678";
        phoneBook[1] = "+393351234567";
        modem.setPhoneBook(phoneBook);
        modem.setInstant(instant);
        modem.setEcho(echo);
        QSerialPort port(modem.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));

        Bytes got;
        for (const Bytes& line : lines + QList<Bytes>{"AT"})
            got += command(port, line).all();
        QCOMPARE(got, expected + (echo ? "AT\r" : "") + ok);
    }

    // A listing of 20 numbers (709 bytes with the echo) comes no faster than
    // 9600 bit/s allows: by every read, the program cannot have had more bytes
    // than the line could carry since the command was sent. Byte by byte they
    // come in small reads; through a USB adapter in bursts, one each latency tick.
    void pacesAListingAt9600BitsPerSecond_data() {
        QTest::addColumn<int>("latencyMs");
        QTest::newRow("byte by byte") << 0;
        QTest::newRow("USB adapter, 16 ms") << 16;
        QTest::newRow("USB adapter, 32 ms") << 32;
    }
    void pacesAListingAt9600BitsPerSecond() {
        QFETCH(int, latencyMs);
        VirtualModem modem;
        modem.setUsbLatencyMs(latencyMs);
        std::array<Bytes, 20> phoneBook;
        Bytes expected = "AT+EGPHN?\r\r\n";
        for (int p = 1; p <= 20; ++p) {
            phoneBook[p - 1] = "+3906123456789" + Bytes::number(p).rightJustified(2, '0');
            expected += phoneLine(p, phoneBook[p - 1]);
        }
        expected += ok;
        modem.setPhoneBook(phoneBook);
        QSerialPort port(modem.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));

        const Clock::time_point sent = Clock::now();
        const Reads got = command(port, "AT+EGPHN?");
        QCOMPARE(got.all(), expected);

        // Byte c of the answer: the echo's c-th byte leaves a character time after
        // the c-th character came in; a reply byte follows the CR's arrival, the
        // processing and the bytes before it.
        const qsizetype echoSize = 10;
        qsizetype had = 0;
        for (const auto& [at, bytes] : got.reads) {
            had += bytes.size();
            const auto floor = had <= echoSize ? had * characterTime
                                               : (had - 1) * characterTime + defaultProcessing;
            QVERIFY2(at - sent >= floor,
                     qPrintable(QString("%1 bytes after %2 ms").arg(had).arg(ms(at - sent))));
        }
        const auto took = got.reads.back().first - sent;
        QVERIFY2(took < expected.size() * characterTime + milliseconds(3000),
                 qPrintable(QString("%1 ms").arg(ms(took))));

        // The modem's own account, which no load on the program blurs: the last
        // byte was through the processing and a character time for each byte of
        // the reply after the CR had come, and an adapter handed it on by its
        // next tick.
        const auto line = modem.received().at(0);
        QVERIFY(line.answeredAt);
        const auto through = defaultProcessing + (expected.size() - echoSize) * characterTime;
        QVERIFY(*line.answeredAt - line.at >= through);
        QVERIFY(*line.answeredAt - line.at < through + milliseconds(std::max(1, latencyMs)));

        // The program's account. A reader that is late takes what came meanwhile
        // in one read, so what most reads hold is judged, and the number of reads
        // only where load can but lower it.
        std::vector<qsizetype> sizes;
        for (const auto& read : got.reads)
            sizes.push_back(read.second.size());
        std::sort(sizes.begin(), sizes.end());
        const qsizetype median = sizes[sizes.size() / 2];
        if (latencyMs == 0) {
            QVERIFY2(median <= 4, qPrintable(QString("median %1").arg(median)));
        } else {
            const qsizetype burst = milliseconds(latencyMs) / characterTime;
            QVERIFY2(median >= burst / 2 && median <= burst * 3 / 2,
                     qPrintable(QString("median %1 of %2").arg(median).arg(burst)));
            const auto span = got.reads.back().first - got.reads.front().first;
            const double ticks = double(span / milliseconds(latencyMs));
            QVERIFY2(double(sizes.size()) <= ticks * 1.3 + 2,
                     qPrintable(QString("%1 reads in %2 ticks").arg(sizes.size()).arg(ticks)));
        }
    }

    // The echo comes as the characters do, not with the CR: the first half of
    // a command written slowly is back before the second half is written.
    void echoesEachCharacterAsItArrives_data() {
        QTest::addColumn<int>("latencyMs");
        QTest::newRow("byte by byte") << 0;
        QTest::newRow("USB adapter, 16 ms") << 16;
    }
    void echoesEachCharacterAsItArrives() {
        QFETCH(int, latencyMs);
        VirtualModem modem;
        modem.setUsbLatencyMs(latencyMs);
        QSerialPort port(modem.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));

        send(port, "AT+EG");
        const Reads firstHalf = readUntil(port, [](const Bytes& got) { return got.size() >= 5; });
        QCOMPARE(firstHalf.all(), Bytes("AT+EG"));
        const Clock::time_point secondHalf = Clock::now();
        QVERIFY(!port.waitForReadyRead(50)); // nothing more before the rest comes
        send(port, "PHN?\r");
        QCOMPARE(readUntil(port, endsAnswer).all(), "PHN?\r" + ok);

        const auto lines = modem.received();
        QCOMPARE(lines.size(), size_t(1));
        QCOMPARE(lines[0].line, Bytes("AT+EGPHN?"));
        QVERIFY(lines[0].firstByteAt < firstHalf.reads.back().first);
        QVERIFY(lines[0].at > secondHalf);
    }

    // A command line is processed before its reply: 20 ms, or as set for all
    // lines or for one; the reply delay comes on top of it, the echo not.
    void repliesAfterProcessing_data() {
        QTest::addColumn<int>("processingMs"); // for all lines; -1 = as a new modem
        QTest::addColumn<int>("forCommandMs"); // for this command; -1 = none
        QTest::addColumn<int>("replyDelayMs");
        QTest::addColumn<int>("expectedMs"); // from the CR's arrival to the reply
        QTest::newRow("as a new modem") << -1 << -1 << 0 << 20;
        QTest::newRow("120 ms for all") << 120 << -1 << 0 << 120;
        QTest::newRow("200 ms for the command, over 50 for all") << 50 << 200 << 0 << 200;
        QTest::newRow("a reply delay of 500 ms after processing") << -1 << -1 << 500 << 520;
    }
    void repliesAfterProcessing() {
        QFETCH(int, processingMs);
        QFETCH(int, forCommandMs);
        QFETCH(int, replyDelayMs);
        QFETCH(int, expectedMs);
        VirtualModem modem;
        if (processingMs >= 0)
            modem.setProcessingMs(processingMs);
        if (forCommandMs >= 0) {
            modem.setProcessingMsFor("AT+EGPHN?", forCommandMs);
            modem.setProcessingMsFor("AT", 0); // exact lines: one that merely starts it is not it
        }
        modem.setReplyDelayMs(replyDelayMs);
        QSerialPort port(modem.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));

        const Clock::time_point sent = Clock::now();
        const Reads got = command(port, "AT+EGPHN?");
        QCOMPARE(got.all(), "AT+EGPHN?\r" + ok);
        const auto cr = 9 * characterTime;
        const auto expected = milliseconds(expectedMs);
        QVERIFY2(got.whenHad(11) - sent >= cr + expected + characterTime,
                 qPrintable(QString("%1 ms").arg(ms(got.whenHad(11) - sent))));
        const auto line = modem.received().at(0);
        QVERIFY(line.answeredAt);
        QVERIFY(*line.answeredAt - line.at >= expected + line.answer.size() * characterTime);
        if (replyDelayMs > 0) // the echo is not held back with the reply (11 ms; wide margin)
            QVERIFY2(got.whenHad(10) - sent < expected / 2,
                     qPrintable(QString("%1 ms").arg(ms(got.whenHad(10) - sent))));
    }

    // A command line that starts with a refused prefix gets ERROR and changes
    // nothing; once the refusals are cleared it is taken.
    void refusesWithErrorByPrefix_data() {
        QTest::addColumn<QList<Bytes>>("prefixes");
        QTest::addColumn<Bytes>("line");
        QTest::addColumn<bool>("refused");
        const QList<Bytes> some{"AT+EGINP=1", "AT+EGPHN="};
        QTest::newRow("phone write") << some << Bytes("AT+EGPHN=3,\"+390600000000\",128") << true;
        QTest::newRow("input 1 write") << some << Bytes("AT+EGINP=1,1,3,\"C\",\"D\"") << true;
        QTest::newRow("input 2 write, not refused")
            << some << Bytes("AT+EGINP=2,1,3,\"C\",\"D\"") << false;
    }
    void refusesWithErrorByPrefix() {
        QFETCH(QList<Bytes>, prefixes);
        QFETCH(Bytes, line);
        QFETCH(bool, refused);
        VirtualModem modem;
        for (const Bytes& prefix : prefixes)
            modem.setErrorFor(prefix);
        QSerialPort port(modem.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));
        const Bytes before = storeText(modem);

        QCOMPARE(command(port, line).all(), line + '\r' + (refused ? error : ok));
        QCOMPARE(storeText(modem) == before, refused);

        modem.clearErrors();
        QCOMPARE(command(port, line).all(), line + '\r' + ok);
        QVERIFY(storeText(modem) != before);
    }

    // The knobs that shape answers work the same at once and on the line. A
    // line that gets nothing is not waited for: the plain "AT" that ends each
    // row, its knob undone, must come back alone.
    void shapesAnswersInBothModes_data() {
        QTest::addColumn<bool>("instant");
        QTest::addColumn<QString>("knob");
        QTest::addColumn<QList<Bytes>>("lines");
        QTest::addColumn<QList<Bytes>>("answers"); // to each line, echo included
        const QList<Bytes> at{"AT"};
        for (const bool instant : {true, false}) {
            const char* mode = instant ? "instant" : "real line";
            QTest::addRow("no echo, %s", mode) << instant << "no echo" << at << QList<Bytes>{ok};
            QTest::addRow("lower case, %s", mode)
                << instant << "lower case" << QList<Bytes>{"AT+EGPHN?"}
                << QList<Bytes>{"AT+EGPHN?\r\r\n+egphn: 1,\"+390611111111\",128\r\n\r\nok\r\n"};
            QTest::addRow("silent, %s", mode) << instant << "silent" << at << QList<Bytes>{""};
            QTest::addRow("only the 2nd attempt answered, %s", mode)
                << instant << "2nd attempt" << QList<Bytes>{"AT", "", "AT"}
                << QList<Bytes>{"", "\r", "AT\r" + ok};
            QTest::addRow("a reply of its own, %s", mode)
                << instant << "override" << QList<Bytes>{"AT+CSQ"}
                << QList<Bytes>{"AT+CSQ\r\r\n+CSQ: 9,0\r\n" + ok};
            QTest::addRow("an empty reply of its own, %s", mode)
                << instant << "empty override" << QList<Bytes>{"AT+CSQ"}
                << QList<Bytes>{"AT+CSQ\r"};
            QTest::addRow("in pieces of 4 bytes 100 ms apart, %s", mode)
                << instant << "chunks" << at << QList<Bytes>{"AT\r" + ok};
        }
    }
    void shapesAnswersInBothModes() {
        QFETCH(bool, instant);
        QFETCH(QString, knob);
        QFETCH(QList<Bytes>, lines);
        QFETCH(QList<Bytes>, answers);
        VirtualModem modem;
        modem.setInstant(instant);
        std::array<Bytes, 20> phoneBook;
        phoneBook[0] = "+390611111111";
        modem.setPhoneBook(phoneBook);
        modem.setEcho(knob != "no echo");
        modem.setLowerCase(knob == "lower case");
        modem.setSilent(knob == "silent");
        modem.setAnswerOnlyAttempt(knob == "2nd attempt" ? 2 : 0);
        if (knob == "override")
            modem.setReplyFor("AT+CSQ", "\r\n+CSQ: 9,0\r\n" + ok);
        if (knob == "empty override")
            modem.setReplyFor("AT+CSQ", "");
        if (knob == "chunks")
            modem.setChunks(4, 100);
        QSerialPort port(modem.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));

        for (int i = 0; i < lines.size(); ++i) {
            const Clock::time_point sent = Clock::now();
            send(port, lines[i] + '\r');
            QVERIFY(modem.waitForLines(i + 1, 2000));
            const qsizetype size = answers[i].size();
            const Reads got = readUntil(port, [&](const Bytes& b) { return b.size() >= size; });
            QCOMPARE(got.all(), answers[i]);
            if (knob == "chunks") // the last piece after the gap: its floor
                QVERIFY(got.whenHad(size) - sent >= milliseconds(100));
        }
        modem.setEcho(true);
        modem.setLowerCase(false);
        modem.setSilent(false);
        modem.setAnswerOnlyAttempt(0);
        modem.clearReplyOverrides();
        modem.setChunks(0, 0);
        QCOMPARE(command(port, "AT").all(), "AT\r" + ok);
    }

    // Pulled out like a USB adapter: the program's port fails, the link and the
    // device are gone, and what was handed over before stays delivered. Plugged
    // in again it is a working device under the same link, with its store.
    void vanishesAndComesBack_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("instant");
        QTest::addColumn<int>("latencyMs");
        QTest::addColumn<QList<Bytes>>("lines"); // sent once armed
        QTest::addColumn<Bytes>("expected");     // what the program gets from then on
        const QList<Bytes> two{"AT", "AT+EGINP?"};
        const QList<Bytes> one{"AT"};
        QTest::newRow("at the 2nd line")
            << "at line" << 2 << false << 0 << two << "AT\r" + ok + "AT+EGINP?";
        QTest::newRow("after 7 bytes")
            << "after bytes" << 7 << false << 0 << one << Bytes("AT\r\r\nOK");
        QTest::newRow("after 7 bytes, USB adapter")
            << "after bytes" << 7 << false << 16 << one << Bytes("AT\r\r\nOK");
        QTest::newRow("hang-up after 5 bytes of the answer")
            << "hang-up after" << 5 << false << 0 << one << Bytes("AT\r\r\n");
        QTest::newRow("hang-up after 5 bytes of the answer, instant")
            << "hang-up after" << 5 << true << 0 << one << Bytes("AT\r\r\n");
        QTest::newRow("hang-up now") << "now" << 0 << false << 0 << one << "AT\r" + ok;
    }
    void vanishesAndComesBack() {
        QFETCH(QString, how);
        QFETCH(int, n);
        QFETCH(bool, instant);
        QFETCH(int, latencyMs);
        QFETCH(QList<Bytes>, lines);
        QFETCH(Bytes, expected);
        VirtualModem modem;
        modem.setInstant(instant);
        modem.setUsbLatencyMs(latencyMs);
        QVERIFY2(modem.linkAs() > 0, qPrintable(modem.linkError()));
        const QString link = modem.linkPath();
        const QString device = modem.devicePath();
        QCOMPARE(QFileInfo(link).symLinkTarget(), device);
        const Bytes stored = "AT+EGPHN=1,\"+390611111111\",128";
        {
            QSerialPort port(link);
            QVERIFY(port.open(QIODevice::ReadWrite));
            QCOMPARE(command(port, stored).all(), stored + '\r' + ok);

            if (how == "at line")
                modem.vanishAtLine(n);
            else if (how == "after bytes")
                modem.vanishAfterBytes(n);
            else if (how == "hang-up after")
                modem.hangUpAfterBytes(n);
            Bytes got;
            for (const Bytes& line : lines)
                got += command(port, line).all();
            if (how == "now") {
                modem.hangUp();
                QVERIFY(!port.waitForReadyRead(2000));
            }
            QCOMPARE(got, expected);
            QVERIFY2(port.error() == QSerialPort::ReadError ||
                         port.error() == QSerialPort::ResourceError,
                     qPrintable(port.errorString()));
            QVERIFY(modem.devicePath().isEmpty());
            QVERIFY(!QFileInfo(link).isSymLink());
            QVERIFY(modem.linkPath().isEmpty());
            // Checked while this side still holds the pty: once it lets go,
            // another test's modem may be given the same number.
            QVERIFY(!QSerialPort(device).open(QIODevice::ReadWrite));
        }
        if (how == "at line") {
            const auto last = modem.received().back();
            QCOMPARE(last.line, Bytes("AT+EGINP?"));
            QVERIFY(!last.answeredAt);
        }

        QVERIFY(modem.comeBack());
        QVERIFY(!modem.devicePath().isEmpty());
        QCOMPARE(modem.linkPath(), link);
        QCOMPARE(QFileInfo(link).symLinkTarget(), modem.devicePath());
        QSerialPort port(link);
        QVERIFY(port.open(QIODevice::ReadWrite));
        QCOMPARE(command(port, "AT+EGPHN?").all(),
                 "AT+EGPHN?\r\r\n" + phoneLine(1, "+390611111111") + ok);
    }

    // Each line carries the times of the line: its first character, its CR, and
    // the last byte of its answer, in that order and spaced as 9600 bit/s and
    // the processing make them; and never before the program could have seen
    // them. The raw bytes keep the LF that ends nothing.
    void stampsLinesWithTheTimesOfTheLine_data() {
        QTest::addColumn<bool>("instant");
        QTest::addColumn<int>("latencyMs");
        QTest::newRow("byte by byte") << false << 0;
        QTest::newRow("USB adapter, 16 ms") << false << 16;
        QTest::newRow("instant") << true << 0;
    }
    void stampsLinesWithTheTimesOfTheLine() {
        QFETCH(bool, instant);
        QFETCH(int, latencyMs);
        VirtualModem modem;
        modem.setInstant(instant);
        modem.setUsbLatencyMs(latencyMs);
        std::array<Bytes, 20> phoneBook;
        phoneBook[6] = "+390611111111";
        modem.setPhoneBook(phoneBook);
        QSerialPort port(modem.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));

        const QList<Bytes> sentLines{"AT\r\n", "AT+EGPHN?\r"};
        std::vector<Clock::time_point> sentAt, readAt;
        Bytes got;
        for (const Bytes& line : sentLines) {
            sentAt.push_back(Clock::now());
            send(port, line);
            const Reads reads = readUntil(port, endsAnswer);
            readAt.push_back(reads.reads.back().first);
            got += reads.all();
        }
        const Bytes phoneAnswer = "\r\n" + phoneLine(7, "+390611111111") + ok;
        QCOMPARE(got, "AT\r" + ok + "AT+EGPHN?\r" + phoneAnswer);
        QCOMPARE(modem.receivedBytes(), Bytes("AT\r\nAT+EGPHN?\r"));

        const auto lines = modem.received();
        QCOMPARE(lines.size(), size_t(2));
        QCOMPARE(lines[0].answer, ok);
        QCOMPARE(lines[1].answer, phoneAnswer);
        const auto spacing = instant ? Clock::duration::zero() : characterTime;
        const auto processing = instant ? Clock::duration::zero() : defaultProcessing;
        for (size_t i = 0; i < lines.size(); ++i) {
            const VirtualModem::ReceivedLine& line = lines[i];
            QVERIFY(line.firstByteAt >= sentAt[i]);
            QVERIFY(line.at - line.firstByteAt >= line.line.size() * spacing);
            QVERIFY(line.answeredAt);
            QVERIFY(*line.answeredAt - line.at >= processing + line.answer.size() * spacing);
            QVERIFY(*line.answeredAt <= readAt[i]);
        }
        QVERIFY(lines[1].firstByteAt >= *lines[0].answeredAt);

        modem.clearReceived();
        QVERIFY(modem.received().empty());
        QVERIFY(modem.receivedBytes().isEmpty());
    }

    // Started by hand, it links itself as "Com N", answers as its options say
    // and removes the link on SIGTERM.
    void programAnswersThroughItsLinkUntilTerminated_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("number");
        QTest::addColumn<QList<Bytes>>("lines");
        QTest::addColumn<Bytes>("expected");
        QTest::addColumn<int>("atLeastMs"); // from sending to the last byte
        const Bytes demoBook =
            "\r\n" + phoneLine(1, "+393351234567") + phoneLine(4, "+390612345678") + ok;
        QTest::newRow("real line") << QStringList{"4"} << 4 << QList<Bytes>{"AT+EGPHN?"}
                                   << "AT+EGPHN?\r" + demoBook << int(demoBook.size() + 10);
        QTest::newRow("instant, no echo, refusals")
            << QStringList{"--instant", "--no-echo", "--error-for", "AT+EGINP=", "--error-for",
                           "AT&F",      "5"}
            << 5 << QList<Bytes>{"AT+EGINP=1,0,0,\"O\",\"S\"", "AT&F", "AT+EGPHN?"}
            << error + error + demoBook << 0;
        QTest::newRow("USB adapter, slow processing, late reply")
            << QStringList{"--usb-latency", "32", "--processing", "100", "--reply-delay", "50", "6"}
            << 6 << QList<Bytes>{"AT"} << "AT\r" + ok << 150;
    }
    void programAnswersThroughItsLinkUntilTerminated() {
        QFETCH(QStringList, arguments);
        QFETCH(int, number);
        QFETCH(QList<Bytes>, lines);
        QFETCH(Bytes, expected);
        QFETCH(int, atLeastMs);
        QTemporaryDir configHome;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome.path());
        program.setProcessEnvironment(environment);
        program.start(TAVEK_VIRTUAL_MODEM_PROGRAM, arguments);
        QVERIFY(program.waitForReadyRead(10000)); // it prints once it is linked

        const QString link = configHome.path() + QString("/tavek/ports/com%1").arg(number);
        {
            QSerialPort port(link);
            QVERIFY(port.open(QIODevice::ReadWrite));
            const Clock::time_point sent = Clock::now();
            Bytes got;
            for (const Bytes& line : lines)
                got += command(port, line).all();
            QCOMPARE(got, expected);
            QVERIFY(Clock::now() - sent >= milliseconds(atLeastMs));
        }
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
        const Bytes printed = program.readAllStandardOutput();
        for (const Bytes& line : lines)
            QVERIFY2(printed.contains("<- " + line + '\n'), printed.constData());
    }

    // Wrong options end it at once, with its usage, before it links anything.
    void programRefusesWrongOptions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("port number 0") << QStringList{"0"};
        QTest::newRow("port number 256") << QStringList{"256"};
        QTest::newRow("two port numbers") << QStringList{"1", "2"};
        QTest::newRow("latency beyond 255 ms") << QStringList{"--usb-latency", "256"};
        QTest::newRow("negative processing") << QStringList{"--processing", "-1"};
        QTest::newRow("reply delay not a number") << QStringList{"--reply-delay", "soon"};
        QTest::newRow("unknown option") << QStringList{"--fast"};
    }
    void programRefusesWrongOptions() {
        QFETCH(QStringList, arguments);
        QTemporaryDir configHome;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome.path());
        program.setProcessEnvironment(environment);
        program.start(TAVEK_VIRTUAL_MODEM_PROGRAM, arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(program.readAllStandardError().contains("Usage:"));
        QVERIFY(!QDir(configHome.path() + "/tavek/ports").exists() ||
                QDir(configHome.path() + "/tavek/ports").isEmpty());
    }
};

QTEST_GUILESS_MAIN(VirtualModemTest)
#include "tst_virtual_modem.moc"
