// The virtual modem stands in for the hardware in every link, configuration and
// window test, so its bytes on the wire must be exact: these tests talk to it
// through the pseudo-terminal as the program does.

#include "PortsFolderLink.h"
#include "SlaveEnd.h"
#include "VirtualModem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Bytes = QByteArray;

const Bytes ok = "\r\nOK\r\n";

// A configured modem, as the reply tables below expect it.
void loadKnownConfiguration(VirtualModem& modem) {
    std::array<VirtualModem::Input, 3> inputs;
    inputs[0] = {1, 3, 'O', 'S', "Fire", "Fire over"};
    inputs[1] = {0, 10, 'C', 'D', "", "Door"};
    modem.setInputs(inputs);
    std::array<Bytes, 20> phoneBook;
    phoneBook[11] = "+390612345678";
    phoneBook[1] = "+393351234567";
    modem.setPhoneBook(phoneBook);
}

const Bytes knownInputLines = "+EGINP: 1,1,00003,\"O\",\"S\"\r\n"
                              "+EGINP: 1,\"C\",\"Fire\"\r\n"
                              "+EGINP: 1,\"O\",\"Fire over\"\r\n"
                              "+EGINP: 2,0,00010,\"C\",\"D\"\r\n"
                              "+EGINP: 2,\"C\",\"\"\r\n"
                              "+EGINP: 2,\"O\",\"Door\"\r\n"
                              "+EGINP: 3,0,00000,\"O\",\"S\"\r\n"
                              "+EGINP: 3,\"C\",\"\"\r\n"
                              "+EGINP: 3,\"O\",\"\"\r\n";

const Bytes knownPhoneLines = "+EGPHN: 2,\"+393351234567\",128\r\n"
                              "+EGPHN: 12,\"+390612345678\",128\r\n";

} // namespace

class VirtualModemTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void answersInVerboseFraming_data();
    void answersInVerboseFraming();
    void storesWritesAndReadsThemBack_data();
    void storesWritesAndReadsThemBack();
    void delaysAndCutsReplies();
    void staysSilentUntilTheAskedAttempt();
    void answersAnOverriddenLineRaw();
    void hangsUp_data();
    void hangsUp();
    void survivesTheProgramReopeningThePort();
    void losesWhatAClosedPortMisses();
    void answersWhileAnotherOpenRemains();
    void linksItselfInThePortsFolder();
    void programAnswersThroughItsLinkUntilTerminated();
};

// Each row sends a command line and then a plain "AT", so a row also proves
// that nothing beyond the expected bytes was sent.
void VirtualModemTest::answersInVerboseFraming_data() {
    QTest::addColumn<bool>("echo");
    QTest::addColumn<bool>("lowerCase");
    QTest::addColumn<Bytes>("command");
    QTest::addColumn<Bytes>("expected");

    QTest::newRow("plain command") << true << false << Bytes("AT") << Bytes("AT\r") + ok;
    QTest::newRow("plain command, no echo") << false << false << Bytes("AT+WIOW=0,1") << ok;
    QTest::newRow("lone CR") << true << false << Bytes() << Bytes("\r");
    QTest::newRow("lone CR, no echo") << false << false << Bytes() << Bytes();
    QTest::newRow("not an AT command") << true << false << Bytes("HELLO") << Bytes("HELLO\r");
    QTest::newRow("input query") << true << false << Bytes("AT+EGINP?")
                                 << "AT+EGINP?\r\r\n" + knownInputLines + ok;
    QTest::newRow("phone query, no echo")
        << false << false << Bytes("AT+EGPHN?") << "\r\n" + knownPhoneLines + ok;
    QTest::newRow("phone query, lower case")
        << true << true << Bytes("AT+EGPHN?")
        << "AT+EGPHN?\r\r\n" + Bytes(knownPhoneLines).replace("+EGPHN: ", "+egphn: ") +
               "\r\nok\r\n";
    QTest::newRow("malformed write") << true << false << Bytes("AT+EGINP=4,1,0,\"O\",\"S\"")
                                     << Bytes("AT+EGINP=4,1,0,\"O\",\"S\"\r\r\nERROR\r\n");
    QTest::newRow("malformed write, lower case")
        << false << true << Bytes("AT+EGPHN=0") << Bytes("\r\nerror\r\n");
}

void VirtualModemTest::answersInVerboseFraming() {
    QFETCH(bool, echo);
    QFETCH(bool, lowerCase);
    QFETCH(Bytes, command);
    QFETCH(Bytes, expected);

    VirtualModem modem;
    loadKnownConfiguration(modem);
    modem.setEcho(echo);
    modem.setLowerCase(lowerCase);
    SlaveEnd port(modem.devicePath());
    QVERIFY(port.isOpen());

    const Bytes marker = Bytes(echo ? "AT\r" : "") + (lowerCase ? "\r\nok\r\n" : ok);
    QVERIFY(port.write(command + "\rAT\r"));
    const Bytes got = port.read(expected.size() + marker.size());
    QCOMPARE(got, expected + marker);
    QCOMPARE(port.readPiece(150), Bytes()); // and nothing more
}

void VirtualModemTest::storesWritesAndReadsThemBack_data() {
    QTest::addColumn<QList<Bytes>>("writes");
    QTest::addColumn<Bytes>("results"); // one letter per write: O for OK, E for ERROR
    QTest::addColumn<Bytes>("query");
    QTest::addColumn<Bytes>("information");

    QTest::newRow("messages holding quotes and commas")
        << QList<Bytes>{"AT+EGINP=1,\"C\",\"say \"hi\", now\"", "AT+EGINP=1,\"O\",\"\"\"\""}
        << Bytes("OO") << Bytes("AT+EGINP?")
        << Bytes("+EGINP: 1,1,00003,\"O\",\"S\"\r\n"
                 "+EGINP: 1,\"C\",\"say \"hi\", now\"\r\n"
                 "+EGINP: 1,\"O\",\"\"\"\"\r\n") +
               Bytes(knownInputLines).mid(knownInputLines.indexOf("+EGINP: 2"));
    QTest::newRow("settings of every width")
        << QList<Bytes>{"AT+EGINP=3,1,10,\"C\",\"D\"", "AT+EGINP=1,0,0,\"O\",\"S\""} << Bytes("OO")
        << Bytes("AT+EGINP?")
        << Bytes(knownInputLines)
               .replace("1,1,00003,\"O\",\"S\"", "1,0,00000,\"O\",\"S\"")
               .replace("3,0,00000,\"O\",\"S\"", "3,1,00010,\"C\",\"D\"");
    QTest::newRow("malformed writes change nothing")
        << QList<Bytes>{"AT+EGINP=1,2,0,\"O\",\"S\"",  "AT+EGINP=1,1,11,\"O\",\"S\"",
                        "AT+EGINP=1,1,1,\"X\",\"S\"",  "AT+EGINP=1,\"X\",\"text\"",
                        "AT+EGINP=1,\"C\",\"unclosed", "AT+EGINP=0,\"C\",\"x\""}
        << Bytes("EEEEEE") << Bytes("AT+EGINP?") << knownInputLines;
    QTest::newRow("numbers stored and freed, listed in order")
        << QList<Bytes>{"AT+EGPHN=20,\"+4915112345678\",128", "AT+EGPHN=2",
                        "AT+EGPHN=7,\"+33612345678\",128"}
        << Bytes("OOO") << Bytes("AT+EGPHN?")
        << Bytes("+EGPHN: 7,\"+33612345678\",128\r\n"
                 "+EGPHN: 12,\"+390612345678\",128\r\n"
                 "+EGPHN: 20,\"+4915112345678\",128\r\n");
    QTest::newRow("an empty phone book lists nothing")
        << QList<Bytes>{"AT+EGPHN=2", "AT+EGPHN=12", "AT+EGPHN=21", "AT+EGPHN=3,+39,128"}
        << Bytes("OOEE") << Bytes("AT+EGPHN?") << Bytes();
}

void VirtualModemTest::storesWritesAndReadsThemBack() {
    QFETCH(QList<Bytes>, writes);
    QFETCH(Bytes, results);
    QFETCH(Bytes, query);
    QFETCH(Bytes, information);

    VirtualModem modem;
    loadKnownConfiguration(modem);
    modem.setEcho(false);
    SlaveEnd port(modem.devicePath());
    for (qsizetype i = 0; i < writes.size(); ++i) {
        const Bytes expected = results[i] == 'O' ? ok : Bytes("\r\nERROR\r\n");
        QVERIFY(port.write(writes[i] + '\r'));
        QCOMPARE(port.read(expected.size()), expected);
    }
    const Bytes expected = (information.isEmpty() ? Bytes() : "\r\n" + information) + ok;
    QVERIFY(port.write(query + '\r'));
    QCOMPARE(port.read(expected.size()), expected);
}

// Only lower bounds are checked: the modem sleeps at least that long.
void VirtualModemTest::delaysAndCutsReplies() {
    VirtualModem modem;
    modem.setReplyDelayMs(150);
    modem.setChunks(4, 150);
    SlaveEnd port(modem.devicePath());

    QElapsedTimer timer;
    timer.start();
    QVERIFY(port.write("AT\r"));
    const Bytes first = port.readPiece(3000);
    const qint64 firstAt = timer.elapsed();
    const Bytes rest = port.read(5);
    const qint64 lastAt = timer.elapsed();

    QCOMPARE(first, Bytes("AT\r\r"));
    QCOMPARE(rest, Bytes("\nOK\r\n"));
    QVERIFY2(firstAt >= 140, qPrintable(QString::number(firstAt)));
    QVERIFY2(lastAt - firstAt >= 280, qPrintable(QString::number(lastAt - firstAt)));
}

void VirtualModemTest::staysSilentUntilTheAskedAttempt() {
    VirtualModem modem;
    modem.setAnswerOnlyAttempt(2);
    SlaveEnd port(modem.devicePath());

    // The lone CR between two attempts is echoed but is no attempt of its own.
    QVERIFY(port.write("AT\r"));
    QVERIFY(modem.waitForLines(1, 3000));
    QVERIFY(port.write("\r"));
    QCOMPARE(port.read(1), Bytes("\r"));
    QVERIFY(port.write("AT\r"));
    QCOMPARE(port.read(9), Bytes("AT\r") + ok);

    modem.setSilent(true);
    QVERIFY(port.write("AT+WIOW=0,0\r"));
    QVERIFY(modem.waitForLines(4, 3000));
    QVERIFY(!modem.waitForLines(5, 100));
    QCOMPARE(port.readPiece(150), Bytes()); // and nothing more

    const auto lines = modem.received();
    QCOMPARE(lines.size(), size_t(4));
    const QList<Bytes> expected{"AT", "", "AT", "AT+WIOW=0,0"};
    for (size_t i = 0; i < lines.size(); ++i) {
        QCOMPARE(lines[i].line, expected[i]);
        if (i > 0)
            QVERIFY(lines[i].at >= lines[i - 1].at);
    }
    modem.clearReceived();
    QVERIFY(modem.received().empty());
}

void VirtualModemTest::answersAnOverriddenLineRaw() {
    VirtualModem modem;
    modem.setReplyFor("AT", "\r\nok\r\n");
    modem.setReplyFor("AT&W", "");
    SlaveEnd port(modem.devicePath());

    QVERIFY(port.write("AT\rAT&W\rATE0\r"));
    const Bytes expected = "AT\r\r\nok\r\nAT&W\rATE0\r" + ok;
    QCOMPARE(port.read(expected.size()), expected);

    modem.clearReplyOverrides();
    QVERIFY(port.write("AT\r"));
    QCOMPARE(port.read(9), Bytes("AT\r") + ok);
}

void VirtualModemTest::hangsUp_data() {
    QTest::addColumn<int>("afterBytes"); // -1: hang up at once
    QTest::addColumn<Bytes>("expected");

    QTest::newRow("at once") << -1 << Bytes();
    QTest::newRow("before the first byte") << 0 << Bytes();
    QTest::newRow("in the middle of the reply") << 5 << Bytes("AT\r\r\n");
    QTest::newRow("after the whole reply") << 100 << Bytes("AT\r") + ok;
}

void VirtualModemTest::hangsUp() {
    QFETCH(int, afterBytes);
    QFETCH(Bytes, expected);

    VirtualModem modem;
    const QString device = modem.devicePath();
    SlaveEnd port(device);
    if (afterBytes < 0)
        modem.hangUp();
    else
        modem.hangUpAfterBytes(afterBytes);

    port.write("AT\r");
    QCOMPARE(port.read(expected.size() + 1), expected);
    QTRY_VERIFY(modem.devicePath().isEmpty());
    QVERIFY(port.readPiece(100).isEmpty());
    QVERIFY(port.hungUp());
    QVERIFY(!SlaveEnd(device).isOpen());
}

// Every modem operation of the program closes and reopens the port.
void VirtualModemTest::survivesTheProgramReopeningThePort() {
    VirtualModem modem;
    for (int round = 0; round < 4; ++round) {
        QSerialPort port;
        port.setPortName(modem.devicePath());
        port.setBaudRate(QSerialPort::Baud9600);
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
        port.write("AT\r");
        QVERIFY(port.waitForBytesWritten(1000));
        Bytes got;
        while (got.size() < 9 && port.waitForReadyRead(3000))
            got += port.readAll();
        QCOMPARE(got, Bytes("AT\r") + ok);
        QVERIFY(modem.isPortOpen());
        port.close();
        QVERIFY(modem.waitForPortOpen(false, 3000));
    }
    QCOMPARE(modem.received().size(), size_t(4));
}

// A late reply must not reach the program's next operation, as on a real line.
void VirtualModemTest::losesWhatAClosedPortMisses() {
    VirtualModem modem;
    {
        SlaveEnd port(modem.devicePath());
        QVERIFY(port.write("AT+EGINP?\r"));
        QVERIFY(modem.waitForLines(1, 3000));
    }
    QVERIFY(modem.waitForPortOpen(false, 3000));
    SlaveEnd port(modem.devicePath());
    QVERIFY(port.write("AT\r"));
    QCOMPARE(port.read(9), Bytes("AT\r") + ok);
}

// Two opens in a row reach the modem as one event; the close of one must not
// make the modem drop its replies to the other.
void VirtualModemTest::answersWhileAnotherOpenRemains() {
    VirtualModem modem;
    SlaveEnd holder(modem.devicePath());
    SlaveEnd(modem.devicePath()).isOpen();
    QTest::qWait(100); // lets the modem see the close; without it the test proves nothing
    QVERIFY(holder.write("AT\r"));
    QCOMPARE(holder.read(9), Bytes("AT\r") + ok);
}

void VirtualModemTest::linksItselfInThePortsFolder() {
    QDir(PortsFolderLink::folder()).removeRecursively();
    VirtualModem first;
    VirtualModem second;
    auto targetOf = [](int number) {
        return QFileInfo(PortsFolderLink::folder() + QString("/com%1").arg(number)).symLinkTarget();
    };

    {
        auto one = std::make_unique<PortsFolderLink>(first.devicePath());
        QVERIFY2(one->isLinked(), qPrintable(one->errorString()));
        QCOMPARE(one->number(), 1);
        QCOMPARE(targetOf(1), first.devicePath());

        // Asked for by number, com1 is taken over; the first owner then leaves it alone.
        const PortsFolderLink asked(second.devicePath(), 1);
        QCOMPARE(asked.number(), 1);
        one.reset();
        QCOMPARE(targetOf(1), second.devicePath());

        const PortsFolderLink next(first.devicePath());
        QCOMPARE(next.number(), 2);
    }
    QVERIFY(QDir(PortsFolderLink::folder())
                .isEmpty(QDir::System | QDir::AllEntries | QDir::NoDotAndDotDot));

    // A link left by a modem that was killed is free; a file that is no link is not.
    QVERIFY(QFile::link("/dev/pts/tavek-gone", PortsFolderLink::folder() + "/com1"));
    const PortsFolderLink again(first.devicePath());
    QCOMPARE(again.number(), 1);
    QVERIFY(QFile(PortsFolderLink::folder() + "/com2").open(QIODevice::WriteOnly));
    const PortsFolderLink blocked(second.devicePath(), 2);
    QVERIFY(!blocked.isLinked());
    QVERIFY(!blocked.errorString().isEmpty());
}

void VirtualModemTest::programAnswersThroughItsLinkUntilTerminated() {
    QTemporaryDir configHome;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", configHome.path());
    program.setProcessEnvironment(environment);
    program.start(TAVEK_VIRTUAL_MODEM_PROGRAM, {"4"});
    QVERIFY(program.waitForReadyRead(10000)); // it prints once it is linked

    const QString link = configHome.path() + "/tavek/ports/com4";
    QVERIFY(QFileInfo(link).isSymLink());
    {
        SlaveEnd port(link);
        QVERIFY(port.write("AT+EGPHN?\r"));
        const Bytes demoBook = "AT+EGPHN?\r\r\n+EGPHN: 1,\"+393351234567\",128\r\n"
                               "+EGPHN: 4,\"+390612345678\",128\r\n" +
                               ok;
        QCOMPARE(port.read(demoBook.size()), demoBook);
    }
    program.terminate(); // SIGTERM
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(VirtualModemTest)
#include "tst_virtual_modem.moc"
