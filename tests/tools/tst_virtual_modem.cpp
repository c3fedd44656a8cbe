// The virtual modem stands in for the hardware in every link, configuration and
// window test, so its bytes on the wire must be exact. What else it can be made
// to do (delays, pieces, silence, lower case, the n-th attempt) those tests use.
#include "VirtualModem.h"

#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

using Bytes = QByteArray;

namespace {
const Bytes ok = "\r\nOK\r\n";

// Sends bytes from the program's side and reads until count bytes have come,
// or nothing more comes for 2 s, or the line is gone.
Bytes exchange(QSerialPort& port, const Bytes& sent, qsizetype count) {
    port.write(sent);
    port.waitForBytesWritten(1000);
    Bytes got;
    while (got.size() < count && port.waitForReadyRead(2000))
        got += port.readAll();
    return got;
}
} // namespace

class VirtualModemTest : public QObject {
    Q_OBJECT

private slots:
    // Each row ends with a plain "AT", whose answer must follow at once: so a
    // row also proves that nothing beyond the expected bytes was sent.
    void answersInVerboseFraming_data() {
        QTest::addColumn<bool>("echo");
        QTest::addColumn<Bytes>("sent");
        QTest::addColumn<Bytes>("expected");
        Bytes inputs; // as a new modem holds them
        for (const Bytes n : {"1", "2", "3"})
            inputs += "+EGINP: " + n + ",0,00000,\"O\",\"S\"\r\n+EGINP: " + n +
                      ",\"C\",\"\"\r\n+EGINP: " + n + ",\"O\",\"\"\r\n";
        const Bytes phones =
            "+EGPHN: 2,\"+393351234567\",128\r\n+EGPHN: 12,\"+390612345678\",128\r\n";
        const Bytes quoted = "\"say \"hi\", now\"";
        QTest::newRow("input query")
            << true << Bytes("AT+EGINP?\r") << "AT+EGINP?\r\r\n" + inputs + ok;
        QTest::newRow("phone query, no echo")
            << false << Bytes("AT+EGPHN?\r") << "\r\n" + phones + ok;
        QTest::newRow("quoted message written and read back, no echo")
            << false << "AT+EGINP=1,\"C\"," + quoted + "\rAT+EGINP?\r"
            << ok + "\r\n" + Bytes(inputs).replace("1,\"C\",\"\"", "1,\"C\"," + quoted) + ok;
    }
    void answersInVerboseFraming() {
        QFETCH(bool, echo);
        QFETCH(Bytes, sent);
        QFETCH(Bytes, expected);
        VirtualModem modem;
        std::array<Bytes, 20> phoneBook;
        phoneBook[11] = "+390612345678";
        phoneBook[1] = "+393351234567";
        modem.setPhoneBook(phoneBook);
        modem.setEcho(echo);
        QSerialPort port(modem.devicePath());
        QVERIFY(port.open(QIODevice::ReadWrite));

        expected += (echo ? "AT\r" : "") + ok;
        QCOMPARE(exchange(port, sent + "AT\r", expected.size()), expected);
    }

    // A modem pulled out mid-reply: what was sent stays sent, then the line is gone.
    void hangsUpMidReply() {
        VirtualModem modem;
        const QString device = modem.devicePath();
        QSerialPort port(device);
        QVERIFY(port.open(QIODevice::ReadWrite));
        modem.hangUpAfterBytes(5);

        QCOMPARE(exchange(port, "AT\r", 9), Bytes("AT\r\r\n"));
        QVERIFY(port.error() == QSerialPort::ReadError ||
                port.error() == QSerialPort::ResourceError);
        QVERIFY(modem.devicePath().isEmpty());
        QVERIFY(!QSerialPort(device).open(QIODevice::ReadWrite));
    }

    // Started by hand, it links itself as "Com N" and removes the link on SIGTERM.
    void programAnswersThroughItsLinkUntilTerminated() {
        QTemporaryDir configHome;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome.path());
        program.setProcessEnvironment(environment);
        program.start(TAVEK_VIRTUAL_MODEM_PROGRAM, {"4"});
        QVERIFY(program.waitForReadyRead(10000)); // it prints once it is linked

        const QString link = configHome.path() + "/tavek/ports/com4";
        {
            QSerialPort port(link);
            QVERIFY(port.open(QIODevice::ReadWrite));
            const Bytes demoBook = "AT+EGPHN?\r\r\n+EGPHN: 1,\"+393351234567\",128\r\n"
                                   "+EGPHN: 4,\"+390612345678\",128\r\n" +
                                   ok;
            QCOMPARE(exchange(port, "AT+EGPHN?\r", demoBook.size()), demoBook);
        }
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(VirtualModemTest)
#include "tst_virtual_modem.moc"
