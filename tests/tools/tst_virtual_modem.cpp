// The virtual modem stands in for the hardware in every link, configuration and
// window test, so its bytes on the wire must be exact and come as a 9600 bit/s
// line would bring them. These tests talk to it through the real serial port on
// its pseudo-terminal, as the program does. Time is checked against the floor
// that the line sets, which no load can lower; upper bounds are wide.
#include "OwnHome.h"
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

// What the program read, one entry for each read, with the moment it had it.
struct Reads {
    std::vector<std::pair<Clock::time_point, Bytes>> reads;
    Bytes all;
};

// Reads until done(what came) holds, or nothing comes for 2 s, or the line is gone.
Reads readUntil(QSerialPort& port, const std::function<bool(const Bytes&)>& done) {
    Reads got;
    while (!done(got.all) && port.waitForReadyRead(2000)) {
        got.reads.push_back({Clock::now(), port.readAll()});
        got.all += got.reads.back().second;
    }
    return got;
}

void send(QSerialPort& port, const Bytes& bytes) {
    port.write(bytes);
    port.waitForBytesWritten(1000);
}

// Sends a command line and reads its answer, up to its result code.
Bytes command(QSerialPort& port, const Bytes& line) {
    send(port, line + '\r');
    return readUntil(port, [](const Bytes& b) { return b.endsWith(ok) || b.endsWith(error); }).all;
}

} // namespace

class VirtualModemTest : public QObject {
    Q_OBJECT

    OwnHome home;

private slots:
    // A listing of 20 numbers comes no faster than 9600 bit/s allows, byte by
    // byte or in a USB adapter's bursts, one each latency tick. Each character
    // is echoed as it arrives: the first half of a command written slowly is
    // back before the second half is written. The reply follows the CR after
    // the processing and any reply delay; the echo is not held back. The line's
    // record carries the times of the line and the LF that ends nothing.
    void answersAtThePaceOfTheLine_data() {
        QTest::addColumn<int>("latencyMs");
        QTest::addColumn<int>("processingMs");
        QTest::addColumn<int>("replyDelayMs");
        QTest::newRow("byte by byte") << 0 << 20 << 0;
        QTest::newRow("USB adapter, 16 ms") << 16 << 20 << 0;
        QTest::newRow("USB adapter, 32 ms, processing 120 ms") << 32 << 120 << 0;
        QTest::newRow("a reply 500 ms late") << 0 << 20 << 500;
    }
    void answersAtThePaceOfTheLine() {
        QFETCH(int, latencyMs);
        QFETCH(int, processingMs);
        QFETCH(int, replyDelayMs);
        VirtualModem modem;
        modem.setUsbLatencyMs(latencyMs);
        modem.setProcessingMs(processingMs);
        modem.setReplyDelayMs(replyDelayMs);
        std::array<Bytes, 20> phoneBook;
        phoneBook.fill("+390612345678");
        modem.setPhoneBook(phoneBook);
        Bytes listing = "\r\n";
        for (int p = 1; p <= 20; ++p)
            listing += "+EGPHN: " + Bytes::number(p) + ",\"+390612345678\",128\r\n";
        listing += ok;
        QSerialPort port(modem.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));

        send(port, "AT+EG");
        const Reads first = readUntil(port, [](const Bytes& b) { return b.size() >= 5; });
        QCOMPARE(first.all, Bytes("AT+EG"));
        QVERIFY(!port.waitForReadyRead(50)); // nothing more before the rest comes
        const Clock::time_point sent = Clock::now();
        send(port, "PHN?\r\n");
        const Reads got = readUntil(port, [&](const Bytes& b) { return b.endsWith(ok); });
        QCOMPARE(got.all, "PHN?\r" + listing);

        // By every read, the program cannot have had more bytes than the line
        // could carry: the echo a character time after each character, a reply
        // byte after the CR's arrival, the processing, the delay and the bytes
        // before it.
        const auto held = milliseconds(processingMs + replyDelayMs);
        qsizetype had = 0;
        for (const auto& [at, bytes] : got.reads) {
            had += bytes.size();
            const auto floor = had <= 5 ? had * characterTime : (had - 1) * characterTime + held;
            QVERIFY2(at - sent >= floor, qPrintable(QString("%1 bytes too early").arg(had)));
        }
        if (replyDelayMs > 0) // the echo (5 ms) came long before the reply
            QVERIFY(got.reads.front().first - sent < held / 2);
        QVERIFY(got.reads.back().first - sent < held + milliseconds(3000 + listing.size()));

        // The modem's own account, which no load on the program blurs.
        QCOMPARE(modem.receivedBytes(), Bytes("AT+EGPHN?\r\n"));
        QCOMPARE(modem.received().size(), size_t(1));
        const VirtualModem::ReceivedLine line = modem.received()[0];
        QCOMPARE(line.line, Bytes("AT+EGPHN?"));
        QCOMPARE(line.answer, listing);
        QVERIFY(line.firstByteAt < first.reads.back().first);
        QVERIFY(line.at > sent);
        QVERIFY(line.answeredAt && line.resultAt);
        const auto through = held + listing.size() * characterTime;
        QVERIFY(*line.answeredAt - line.at >= through);
        QVERIFY(*line.answeredAt - line.at < through + milliseconds(std::max(1, latencyMs)));
        QVERIFY(*line.resultAt - line.at >= through - 2 * characterTime &&
                *line.resultAt <= *line.answeredAt);

        // What most reads hold: a few bytes, or an adapter's burst of a tick.
        std::vector<qsizetype> sizes;
        for (const auto& read : got.reads)
            sizes.push_back(read.second.size());
        std::sort(sizes.begin(), sizes.end());
        const qsizetype median = sizes[sizes.size() / 2];
        const qsizetype burst = std::max<qsizetype>(1, milliseconds(latencyMs) / characterTime);
        QVERIFY2(median >= burst / 2 && median <= std::max<qsizetype>(4, burst * 3 / 2),
                 qPrintable(QString("median %1 of %2").arg(median).arg(burst)));
    }

    // The inputs in the modem's verbose framing. A quoted message keeps its
    // quotes and commas; a command line that starts with a chosen prefix gets
    // ERROR and changes nothing. After the last answer nothing more comes.
    void answersInTheModemsFraming() {
        VirtualModem modem;
        modem.setErrorFor("AT+EGINP=1");
        QSerialPort port(modem.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));

        const Bytes quoted = "\"say \"hi\", now\"";
        Bytes inputs = "\r\n"; // as a new modem holds them, but for the accepted write
        for (const Bytes n : {"1", "2", "3"})
            inputs += "+EGINP: " + n + ",0,00000,\"O\",\"S\"\r\n+EGINP: " + n + ",\"C\"," +
                      (n == "2" ? quoted : "\"\"") + "\r\n+EGINP: " + n + ",\"O\",\"\"\r\n";
        const QList<std::pair<Bytes, Bytes>> exchanges{{"AT+EGINP=1,\"C\"," + quoted, error},
                                                       {"AT+EGINP=2,\"C\"," + quoted, ok},
                                                       {"AT+EGINP?", inputs + ok}};
        for (const auto& [line, reply] : exchanges)
            QCOMPARE(command(port, line), line + '\r' + reply);
        QVERIFY(!port.waitForReadyRead(100));
    }

    // Pulled out like a USB adapter: the program's port fails, the link and the
    // device are gone, and what was handed over before stays delivered. Plugged
    // in again it is a working device under the same link, with its store.
    void vanishesAndComesBack_data() {
        QTest::addColumn<int>("atLine"); // 0: after so many bytes
        QTest::addColumn<int>("latencyMs");
        QTest::addColumn<Bytes>("expected"); // what the program gets to AT and AT+EGINP?
        QTest::newRow("at the 2nd line") << 2 << 0 << "AT\r" + ok + "AT+EGINP?";
        QTest::newRow("after 7 bytes") << 0 << 0 << Bytes("AT\r\r\nOK");
        QTest::newRow("after 7 bytes, USB adapter") << 0 << 16 << Bytes("AT\r\r\nOK");
    }
    void vanishesAndComesBack() {
        QFETCH(int, atLine);
        QFETCH(int, latencyMs);
        QFETCH(Bytes, expected);
        VirtualModem modem;
        modem.setUsbLatencyMs(latencyMs);
        QVERIFY2(modem.linkAs() > 0, qPrintable(modem.linkError()));
        const QString link = modem.linkPath();
        const QString device = modem.devicePath();
        const Bytes stored = "AT+EGPHN=1,\"+390611111111\",128";
        {
            QSerialPort port(link);
            QVERIFY(port.open(QIODevice::ReadWrite));
            QCOMPARE(command(port, stored), stored + '\r' + ok);
            if (atLine)
                modem.vanishAtLine(atLine);
            else
                modem.vanishAfterBytes(7);
            const Bytes got = command(port, "AT");
            QCOMPARE(atLine ? got + command(port, "AT+EGINP?") : got, expected);
            QVERIFY(port.error() == QSerialPort::ReadError ||
                    port.error() == QSerialPort::ResourceError);
            QVERIFY(modem.devicePath().isEmpty() && !QFileInfo(link).isSymLink());
            // Checked while this side still holds the pty: once it lets go,
            // another test's modem may be given the same number.
            QVERIFY(!QSerialPort(device).open(QIODevice::ReadWrite));
        }

        QVERIFY(modem.comeBack());
        QCOMPARE(QFileInfo(link).symLinkTarget(), modem.devicePath());
        QSerialPort port(link);
        QVERIFY(port.open(QIODevice::ReadWrite));
        QCOMPARE(command(port, "AT+EGPHN?"),
                 "AT+EGPHN?\r\r\n+EGPHN: 1,\"+390611111111\",128\r\n" + ok);
    }

    // Started by hand, it links itself as "Com N", answers as its options say
    // and removes the link on SIGTERM.
    void program_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<Bytes>("expected"); // to AT and AT&F
        QTest::newRow("USB adapter, AT&F refused")
            << QStringList{"--usb-latency", "32", "--error-for", "AT&F"}
            << "AT\r" + ok + "AT&F\r" + error;
        QTest::newRow("instant, no echo") << QStringList{"--instant", "--no-echo"} << ok + ok;
    }
    void program() {
        QFETCH(QStringList, options);
        QFETCH(Bytes, expected);
        QTemporaryDir configHome;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome.path());
        program.setProcessEnvironment(environment);
        program.start(TAVEK_VIRTUAL_MODEM_PROGRAM, options << "6");
        QVERIFY(program.waitForReadyRead(10000)); // it prints once it is linked
        const QString link = configHome.path() + "/tavek/ports/com6";
        {
            QSerialPort port(link);
            QVERIFY(port.open(QIODevice::ReadWrite));
            QCOMPARE(command(port, "AT") + command(port, "AT&F"), expected);
        }
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
        QVERIFY(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0);
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(program.readAllStandardOutput().contains("<- AT&F\n"));
    }
};

QTEST_GUILESS_MAIN(VirtualModemTest)
#include "tst_virtual_modem.moc"