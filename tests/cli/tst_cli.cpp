// tavek-cli end to end: the built program, run as a user runs it, against the
// virtual modem on its 9600 bit/s line, linked as a "Com N" in the ports
// folder of a home of the test's own (the program finds it there too).
#include "VirtualModem.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run tavekCli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(TAVEK_CLI_PROGRAM), arguments);
    // Far beyond the slowest command (clear, under 10 s): a hang, not a slow machine.
    if (!process.waitForFinished(90'000)) {
        process.kill();
        process.waitForFinished();
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList linesOf(const VirtualModem& modem) {
    QStringList lines;
    for (const auto& received : modem.received())
        lines << QString::fromLatin1(received.line);
    return lines;
}

// A modem as an installer finds it: quotes and Latin-1 in its messages,
// input 2 resting closed, gaps in the phone book.
void loadSite(VirtualModem& modem) {
    modem.setInputs({VirtualModem::Input{1, 3, 'O', 'S', "ALLARME \"porta\" 1", "RIPRISTINO 1"},
                     VirtualModem::Input{1, 10, 'C', 'D', "Porta chiusa", "Cella a 4\xB0 C"},
                     VirtualModem::Input{0, 0, 'O', 'S', "", ""}});
    std::array<QByteArray, 20> book;
    book[0] = "+393351234567";
    book[6] = "0612345678";
    book[19] = "+41";
    modem.setPhoneBook(book);
}

const QByteArray badFile = R"({"format": "tavek-configuration", "version": 1,
    "inputs": [], "phoneBook": [{"position": 1, "number": "+39 335"}]})";

} // namespace

class CliTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    std::unique_ptr<VirtualModem> modem;
    int com = 0;

    QString file(const QString& name) const { return home.filePath(name); }
    // The command line with --port naming the modem's Com N, unless it names a port itself.
    Run onTheModem(QStringList arguments) {
        if (!arguments.contains("--port") && !arguments.contains("ports"))
            arguments = QStringList{"--port", QStringLiteral("com%1").arg(com)} + arguments;
        return tavekCli(arguments);
    }

private slots:
    void initTestCase() {
        QVERIFY(home.isValid());
        // The program is started with the same environment: both see the
        // same ports folder, and no other test's links.
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(".config")));
        QFile bad(file("bad.tavek"));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(badFile) == badFile.size());
        QVERIFY(QFile::copy(QStringLiteral(TAVEK_EXAMPLE_FILE), file("good.tavek")));
    }
    void init() {
        modem = std::make_unique<VirtualModem>();
        loadSite(*modem);
        QVERIFY2((com = modem->linkAs()) > 0, qPrintable(modem->linkError()));
    }
    void cleanup() { modem.reset(); }

    // The fleet: one modem read into a file, the file written to the next
    // modem, and that modem read back gives the same file.
    void readWriteReadGivesTheSameFile() {
        const Run read = onTheModem({"read", file("site.tavek")});
        QCOMPARE(read.err, QByteArray());
        QCOMPARE(read.exitCode, 0);
        QFile saved(file("site.tavek"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray site = saved.readAll();
        QVERIFY(site.contains("\"singleMessage\": \"ALLARME \\\"porta\\\" 1\""));

        const std::array<QByteArray, 20> book = modem->phoneBook();
        modem = std::make_unique<VirtualModem>(); // the next modem, on the same Com N
        modem->setPhoneBook({"+1", "+2", "+3"});
        QCOMPARE(modem->linkAs(com), com);
        const Run write = onTheModem({"write", file("site.tavek")});
        QCOMPARE(write.err, QByteArray());
        QCOMPARE(write.exitCode, 0);
        QCOMPARE(linesOf(*modem).size(), 1 + 9 + 20); // the check, the inputs, every position
        QVERIFY(modem->phoneBook() == book);

        const Run again = onTheModem({"read"});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out, site);
    }

    void exitCodesSayWhatWentWrong_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("trouble"); // what is wrong with the modem
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrStart"); // {com} and {device} filled in
        QTest::addColumn<int>("linesSent");
        const QStringList write{"write", "good.tavek"};
        QTest::newRow("ERROR at one position")
            << write << "error for AT+EGPHN=3" << 1
            << "Modem error: The modem did not confirm phone-book position 3.\n"
            << 30;
        QTest::newRow("no modem answers")
            << QStringList{"check"} << "silent" << 1
            << "Modem error: Modem not connected\nNo answer to AT came from {device} (Com {com})."
            << 4; // two attempts, each followed by a lone CR
        QTest::newRow("a read cut short")
            << QStringList{"read", "out.tavek"} << "phone book without OK" << 1
            << "Modem error: The phone book could not be read completely from the modem. "
               "Nothing was saved.\n"
            << 3;
        QTest::newRow("a number no file can hold")
            << QStringList{"read", "out.tavek"} << "a space in position 7" << 1
            << "tavek-cli: the modem holds what a configuration file cannot; nothing was "
               "saved:\n- Position 7: \"06 1234\" holds"
            << 3;
        QTest::newRow("lost during the write")
            << write << "vanishes at line 5" << 3
            << "Modem error: The serial port {device} was lost" << 5;
        QTest::newRow("no such Com N")
            << QStringList{"--port", "Com 255", "check"} << "" << 3
            << "Modem error: Serial port not valid\nCom 255 names no serial port" << 0;
        QTest::newRow("no such device")
            << QStringList{"--port", "/dev/tavek-none", "check"} << "" << 3
            << "Modem error: Serial port not valid\n/dev/tavek-none is not there any more.\n"
               "tavek-cli: the port /dev/tavek-none"
            << 0;
        QTest::newRow("a bad file") << QStringList{"write", "bad.tavek"} << "" << 2
                                    << "tavek-cli: {home}/bad.tavek: nothing was sent.\nThis is "
                                       "not a usable Tavek configuration file (4 problems):"
                                    << 0;
        QTest::newRow("no file") << QStringList{"write", "none.tavek"} << "" << 2
                                 << "tavek-cli: {home}/none.tavek: nothing was sent." << 0;
        QTest::newRow("an unknown option") << QStringList{"--colour", "check"} << "" << 2
                                           << "tavek-cli: Unknown option 'colour'." << 0;
        QTest::newRow("clear without --yes")
            << QStringList{"clear"} << "" << 2 << "tavek-cli: clear deletes all data" << 0;
        QTest::newRow("a port that is no port")
            << QStringList{"--port", "ttyUSB0", "check"} << "" << 2
            << "tavek-cli: --port ttyUSB0 names no port" << 0;
        QTest::newRow("--help") << QStringList{"--help"} << "" << 0 << "" << 0;
    }
    void exitCodesSayWhatWentWrong() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, trouble);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrStart);
        QFETCH(int, linesSent);
        if (trouble == "error for AT+EGPHN=3")
            modem->setErrorFor("AT+EGPHN=3");
        else if (trouble == "silent")
            modem->setSilent(true);
        else if (trouble == "vanishes at line 5")
            modem->vanishAtLine(5);
        else if (trouble == "phone book without OK")
            modem->setReplyFor("AT+EGPHN?", "\r\n+EGPHN: 1,\"+391\",128\r\n");
        else if (trouble == "a space in position 7")
            modem->setPhoneBook({"+391", "", "", "", "", "", "06 1234"});
        const QString device = modem->devicePath();

        for (QString& argument : arguments)
            if (argument.endsWith(".tavek"))
                argument = file(argument);
        const Run run = onTheModem(arguments);
        QCOMPARE(run.exitCode, exitCode);
        const QString err = QString::fromUtf8(run.err);
        const QString expected = QString(stderrStart)
                                     .replace("{com}", QString::number(com))
                                     .replace("{device}", device)
                                     .replace("{home}", home.path());
        if (expected.isEmpty())
            QCOMPARE(err, QString());
        else
            QVERIFY2(err.startsWith(expected), qPrintable(err));
        QCOMPARE(linesOf(*modem).size(), linesSent);
        QVERIFY(!QFileInfo::exists(file("out.tavek")));
        if (exitCode == 0)
            QVERIFY(run.out.startsWith("Usage: "));
    }

    // Each command after the connection check, on the wire as the window's
    // toolbar sends it.
    void commandsSendWhatTheWindowSends_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("lines"); // after the check's "AT"
        QTest::addColumn<QString>("said");
        QTest::newRow("check") << QStringList{"check"} << QStringList{}
                               << "A modem answers on {device}.\n";
        // A device path, here a link to it, is opened by its real name.
        QTest::newRow("check on a path") << QStringList{"--port", "{link}", "check"}
                                         << QStringList{} << "A modem answers on {device}.\n";
        QTest::newRow("relay on") << QStringList{"relay", "on"} << QStringList{"AT+WIOW=0,0"}
                                  << "Relay on.\n";
        QTest::newRow("relay off")
            << QStringList{"relay", "off"} << QStringList{"AT+WIOW=0,1"} << "Relay off.\n";
        QTest::newRow("factory-defaults")
            << QStringList{"factory-defaults", "--yes"}
            << QStringList{"AT&F", "AT&Q1&C1&D0", "ATS0=1", "AT+IPR=9600", "AT&W"}
            << "The factory communication settings are restored.\n";
        QStringList cleared;
        for (int position = 1; position <= 20; ++position)
            cleared << QStringLiteral("AT+EGPHN=%1").arg(position);
        for (int n = 1; n <= 3; ++n)
            cleared << QStringLiteral("AT+EGINP=%1,%2,1,\"O\",\"S\"").arg(n).arg(n == 1 ? 1 : 0)
                    << QStringLiteral("AT+EGINP=%1,\"C\",\"ALLARME  %1 ON\"").arg(n)
                    << QStringLiteral("AT+EGINP=%1,\"O\",\"ALLARME  %1 OFF\"").arg(n);
        QTest::newRow("clear") << QStringList{"clear", "--yes"} << cleared
                               << "The phone book is empty; the default inputs and messages are "
                                  "set.\n";
    }
    void commandsSendWhatTheWindowSends() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, lines);
        QFETCH(QString, said);
        arguments.replaceInStrings("{link}", modem->linkPath());
        const Run run = onTheModem(arguments);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(linesOf(*modem), QStringList{"AT"} + lines);
        QCOMPARE(QString::fromUtf8(run.out), said.replace("{device}", modem->devicePath()));
    }

    // The traffic and the progress go to standard error; standard output
    // carries the file alone.
    void verboseShowsTheLineOnStandardError() {
        const Run quiet = onTheModem({"read"});
        QCOMPARE(quiet.exitCode, 0);
        QCOMPARE(quiet.err, QByteArray());
        const Run verbose = onTheModem({"--verbose", "read"});
        QCOMPARE(verbose.exitCode, 0);
        QCOMPARE(verbose.out, quiet.out);
        const QString err = QString::fromUtf8(verbose.err);
        for (const QString& shown :
             QStringList{"Modem Connecting...\n", " opened " + modem->devicePath() + "\n",
                         " > AT\\r\n", " > AT+EGPHN?\\r\n",
                         " < AT+EGPHN?\\r\\r\\n+EGPHN: 1,\"+393351234567\",128\\r\\n+EGPHN: 7,",
                         "Modem Connected\n"})
            QVERIFY2(err.contains(shown), qPrintable(shown + " is not in:\n" + err));
    }

    void portsListTheLinkedModem() {
        const Run run = tavekCli({"ports"});
        QCOMPARE(run.exitCode, 0);
        const QString entry = QStringLiteral("%1  %2\n")
                                  .arg(QStringLiteral("Com %1").arg(com), -8)
                                  .arg(modem->devicePath()) +
                              QString(10, u' ') + "linked as " + modem->linkPath() + "\n";
        QVERIFY2(QString::fromUtf8(run.out).contains(entry), qPrintable(run.out));
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
