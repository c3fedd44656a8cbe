// tavek-cli end to end: the built program, run as a user runs it, against the
// virtual modem on its 9600 bit/s line, linked as a "Com N" in the ports
// folder of a home of the test's own (the program finds it there too).
#include "DeviceTakeover.h"
#include "LongestConfiguration.h"
#include "VirtualModem.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// What is wrong with the modem, if anything, before the command runs.
using Trouble = void (*)(VirtualModem&);
Q_DECLARE_METATYPE(Trouble)

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

// Started in folder, with input on its standard input, which then ends.
Run tavekCli(const QStringList& arguments, const QString& folder, const QByteArray& input) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(TAVEK_CLI_PROGRAM), arguments);
    process.write(input);
    process.closeWriteChannel();
    // Far beyond the slowest command (clear, under 10 s): a hang, not a slow
    // machine. A process still running is killed with its QProcess.
    const bool ended = process.waitForFinished(90'000);
    return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    std::unique_ptr<VirtualModem> modem;
    int com = 0;

    QString file(const QString& name) const { return home.filePath(name); }
    // The command line with --port naming the modem's Com N, unless it names a port itself.
    // It runs in the test's home, where a file "-" would land.
    Run onTheModem(QStringList arguments, const QByteArray& input = {}) {
        if (!arguments.contains("--port") && !arguments.contains("ports"))
            arguments = QStringList{"--port", QStringLiteral("com%1").arg(com)} + arguments;
        return tavekCli(arguments, home.path(), input);
    }

private slots:
    void initTestCase() {
        // The program is started with the same environment: both see the
        // same ports folder, and no other test's links.
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(".config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(".local/share")));
        // Files to write that must be refused, and a pipe that nothing writes into.
        QFile example(TAVEK_EXAMPLE_FILE), euro(file("euro.tavek"));
        QVERIFY(example.open(QIODevice::ReadOnly) && euro.open(QIODevice::WriteOnly));
        euro.write(example.readAll().replace("Magazzino", "Magazzino \xe2\x82\xac 5"));
        euro.close();
        QCOMPARE(::mkfifo(QFile::encodeName(file("pipe.tavek")), 0644), 0);
    }
    void init() {
        modem = std::make_unique<VirtualModem>();
        QVERIFY2((com = modem->linkAs()) > 0, qPrintable(modem->linkError()));
    }

    // The fleet: a modem as an installer finds it (quotes and Latin-1 in a
    // message, gaps in the phone book) read into a file, the file written to
    // the next modem, and that modem read back gives the same file on
    // standard output, with the traffic on the line on standard error.
    void readWriteReadGivesTheSameFile() {
        modem->setInputs({VirtualModem::Input{1, 3, 'O', 'S', "ALLARME \"porta\" a 4\xB0", ""}});
        modem->setPhoneBook({"+393351234567", "", "", "", "", "", "0612345678"});
        QCOMPARE(onTheModem({"read", file("site.tavek")}).exitCode, 0);

        const std::array<QByteArray, 20> book = modem->phoneBook();
        modem = std::make_unique<VirtualModem>(); // the next modem, on the same Com N
        modem->setPhoneBook({"+1", "+2", "+3"});
        QCOMPARE(modem->linkAs(com), com);
        QFile saved(file("site.tavek"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray site = saved.readAll();
        // "-": the file from standard input, then onto standard output.
        QCOMPARE(onTheModem({"write", "-"}, site).exitCode, 0);
        QVERIFY(modem->phoneBook() == book);

        const Run again = onTheModem({"--verbose", "read", "-"});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out, site);
        QVERIFY(!QFileInfo::exists(file("-")));
        // The traffic in the rows of the traffic window: the reply one line a row.
        const QString err = QString::fromUtf8(again.err);
        QVERIFY2(err.contains(QRegularExpression(
                     R"(\n\d\d:\d\d:\d\d\.\d\d\d → AT\+EGPHN\?<CR>\n)"
                     R"(\d\d:\d\d:\d\d\.\d\d\d ← AT\+EGPHN\?<CR>\n)"
                     R"(\d\d:\d\d:\d\d\.\d\d\d ← <CR><LF>\+EGPHN: 1,"\+393351234567",128<CR><LF>\n)"
                     R"(\d\d:\d\d:\d\d\.\d\d\d ← \+EGPHN: 7,"0612345678",128<CR><LF>\n)")),
                 qPrintable(err));
    }

    // A modem whose "OK" to the connection check comes 30 ms after its line
    // break, in a USB adapter's bursts: the read that follows the check takes
    // the whole phone book, and a write reports the one record the modem
    // refused.
    void aLateResultCodeOfTheCheckIsTheChecksOwn() {
        const std::array<QByteArray, 20> full = giveTheLongestConfiguration(*modem);
        modem->setUsbLatencyMs(16);
        modem->setLateResultMsFor("AT", 30);

        const Run read = onTheModem({"read"});
        QCOMPARE(read.exitCode, 0);
        for (const QByteArray& number : full)
            QVERIFY2(read.out.contains('"' + number + '"'), read.out.constData());
        QVERIFY2(read.out.contains('"' + QByteArray(50, 'C') + '"'), read.out.constData());

        modem->setErrorFor("AT+EGINP=1,1,0");
        const Run write = onTheModem({"write", TAVEK_EXAMPLE_FILE});
        QCOMPARE(write.exitCode, 1);
        QVERIFY2(write.err.contains("The modem did not confirm the settings of input 1."),
                 write.err.constData());
    }

    // Each command, and each way a command ends: its exit code, what it says
    // (on standard output when all went well, else on standard error), and
    // on the wire how many lines reached the modem and the last of them.
    void commandsEndAsTheySay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Trouble>("trouble");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said"); // {Com N}, {device} and {link} filled in
        QTest::addColumn<QString>("wire");
        QTest::addColumn<QByteArray>("input"); // on standard input
        const auto row = [](const char* name, const QStringList& arguments, int exitCode,
                            const QString& said, const char* wire, Trouble trouble = nullptr,
                            const QByteArray& input = {}) {
            QTest::newRow(name) << arguments << trouble << exitCode << said << QString(wire)
                                << input;
        };
        const QStringList write{"write", TAVEK_EXAMPLE_FILE}, read{"read", file("out.tavek")};
        const QString answers = "A modem answers on {device}.\n";
        row("check", {"check"}, 0, answers, "1 AT");
        // A device path, here a link to it, is opened by its real name.
        row("check on a path", {"--port", "{link}", "check"}, 0, answers, "1 AT");
        row("relay on", {"relay", "on"}, 0, "Relay on.\n", "2 AT+WIOW=0,0");
        row("factory-defaults", {"factory-defaults", "--yes"}, 0,
            "The factory communication settings are restored.\n", "6 AT&W");
        // What the modem held is read and kept first; then the phone book is
        // emptied, the default inputs set, and both halves read back.
        row("clear", {"clear", "--yes"}, 0,
            "The phone book is empty; the default inputs and messages are set.\n", "34 AT+EGPHN?");
        row("ports", {"ports"}, 0, "{Com N}  {device}\n          linked as {link}\n", "0 ");

        row("ERROR at one position", write, 1,
            "Modem error: The modem did not confirm phone-book position 3.\n", "34 AT+EGPHN?",
            [](VirtualModem& m) { m.setErrorFor("AT+EGPHN=3"); });
        // Two attempts, each followed by a lone CR.
        row("no modem answers", {"check"}, 1,
            "Modem error: Modem not connected\nNo answer to AT came from {device}", "4 ",
            [](VirtualModem& m) { m.setSilent(true); });
        row("a read cut short", read, 1, "Modem error: The phone book could not be read completely",
            "3 AT+EGPHN?",
            [](VirtualModem& m) { m.setReplyFor("AT+EGPHN?", "\r\n+EGPHN: 1,\"+391\",128\r\n"); });
        row("a number no file can hold", read, 1,
            "modem holds what a configuration file cannot; nothing was saved:\n- Position 4:",
            "3 AT+EGPHN?", [](VirtualModem& m) {
                m.setPhoneBook({"+391", "", "", "06 1"});
            });
        row("lost during the write", write, 3, "Modem error: The serial port {device} was lost",
            R"(7 AT+EGINP=2,1,5,"O","S")", [](VirtualModem& m) { m.vanishAtLine(7); });

        // Read whole, then not saved: a pipe is no file to replace.
        row("read into a pipe", {"read", file("pipe.tavek")}, 2,
            "tavek-cli: Could not save " + file("pipe.tavek") +
                ": It is a pipe (FIFO), not a file.",
            "3 AT+EGPHN?");

        // A wrong command line or a file that cannot be written: nothing is sent.
        row("no such file", {"write", "/nonexistent/modem.tavek"}, 2,
            "tavek-cli: /nonexistent/modem.tavek: nothing was sent.", "0 ");
        row("a character the line cannot carry", {"write", file("euro.tavek")}, 2,
            "tavek-cli: " + file("euro.tavek") +
                ": nothing was sent.\nThis is not a usable Tavek configuration file:\n"
                "- inputs[0].singleMessage (input 1): character 45 (\"€\") cannot be sent to the "
                "modem\n",
            "0 ");
        // Opened, a pipe would wait for a writer.
        row("a pipe to write", {"write", file("pipe.tavek")}, 2,
            file("pipe.tavek") + ": cannot be read (It is a pipe (FIFO), not a file)", "0 ");
        row("standard input over 1 MB", {"write", "-"}, 2,
            "- standard input: over 1 MB, far more than a configuration file holds", "0 ", nullptr,
            QByteArray(2 << 20, ' '));
        row("an unknown option", {"--colour", "check"}, 2, "tavek-cli: Unknown option 'colour'.",
            "0 ");
        row("clear without --yes", {"clear"}, 2,
            "tavek-cli: clear changes what the modem holds: \"This action will delete all data!\" "
            "Add --yes to go ahead.\nTry 'tavek-cli --help'.\n",
            "0 ");
        // The way out is told in this program's own terms, not the window's.
        row("a Com number no port has", {"--port", "com200", "check"}, 3,
            "Com 200 names no serial port: the system lists fewer ports, and no link com200 is in "
            "the ports folder.\nTo give your adapter a Com number, link its device as comN in "
            "~/.config/tavek/ports",
            "0 ");
        row("a port that is no port", {"--port", "ttyUSB0", "check"}, 2,
            "tavek-cli: --port ttyUSB0 names no port", "0 ");
    }
    void commandsEndAsTheySay() {
        QFETCH(QStringList, arguments);
        QFETCH(Trouble, trouble);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        QFETCH(QString, wire);
        QFETCH(QByteArray, input);
        if (trouble)
            trouble(*modem);
        arguments.replaceInStrings("{link}", modem->linkPath());
        said.replace("{Com N}", QStringLiteral("Com %1").arg(com).leftJustified(8))
            .replace("{device}", modem->devicePath())
            .replace("{link}", modem->linkPath());

        const Run run = onTheModem(arguments, input);

        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(exitCode == 0 ? run.out : run.err).contains(said),
                 qPrintable(run.out + run.err));
        QVERIFY2(exitCode != 0 || run.err.isEmpty(), run.err.constData()); // a success is quiet
        const auto received = modem->received();
        QCOMPARE(QString::number(received.size()) + ' ' +
                     (received.empty() ? QString() : QString::fromLatin1(received.back().line)),
                 wire);
        QVERIFY(!QFileInfo::exists(file("out.tavek")));
        QCOMPARE(QFileInfo(file("pipe.tavek")).isFile(), false);
    }

    // A write reads and keeps what the modem held, writes, and reads back
    // what it wrote: one line per difference on standard output, exit code 4.
    void writeIsProvedAndKeptFirst_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("cutsTexts"); // the modem keeps texts cut to 9 characters
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("wire"); // the first lines, then the last, then how many
        const QStringList backupRead{"AT", "AT+EGINP?", "AT+EGPHN?"};
        QTest::newRow("as sent") << QStringList{} << false << 0
                                 << backupRead + QStringList{"AT+EGPHN?", "34"};
        QTest::newRow("texts cut")
            << QStringList{} << true << 4 << backupRead + QStringList{"AT+EGPHN?", "34"};
        QTest::newRow("--no-verify") << QStringList{"--no-verify"} << true << 0
                                     << backupRead + QStringList{"AT+EGPHN=20", "32"};
        QTest::newRow("--no-backup")
            << QStringList{"--no-backup"} << false << 0
            << QStringList{"AT", R"(AT+EGINP=1,1,0,"C","D")", "AT+EGPHN?", "32"};
        QTest::newRow("--json") << QStringList{"--json"} << true << 4
                                << backupRead + QStringList{"AT+EGPHN?", "34"};
    }
    void writeIsProvedAndKeptFirst() {
        QFETCH(QStringList, options);
        QFETCH(bool, cutsTexts);
        QFETCH(int, exitCode);
        QFETCH(QStringList, wire);
        QDir(file(".local/share/tavek/backups")).removeRecursively();
        if (cutsTexts)
            modem->setStoreFault(ModemCommandSet::StoreFault::CutsTexts);

        const Run run = onTheModem(options + QStringList{"write", TAVEK_EXAMPLE_FILE});

        QCOMPARE(run.exitCode, exitCode);
        QStringList lines;
        for (const auto& received : modem->received())
            lines << QString::fromLatin1(received.line);
        const qsizetype first = wire.size() - 2;
        QCOMPARE(lines.mid(0, first), wire.mid(0, first));
        QCOMPARE(lines.last(), wire[first]);
        QCOMPARE(QString::number(lines.size()), wire[first + 1]);

        // The backup: what the modem held, by device and time.
        const QStringList backups =
            QDir(file(".local/share/tavek/backups")).entryList({"*.tavek"}, QDir::Files);
        const bool backedUp = !options.contains("--no-backup");
        QCOMPARE(backups.size(), backedUp ? 1 : 0);
        if (backedUp) // named by the device: /dev/pts/3 as pts-3
            QVERIFY2(
                backups[0].endsWith('_' + modem->devicePath().mid(5).replace('/', '-') + ".tavek"),
                qPrintable(backups[0]));

        const QString differences =
            "Input 1, Single message: sent \"ALLARME INTRUSIONE - Via Roma 12, Magazzino\", the "
            "modem holds \"ALLARME I\".";
        if (options.contains("--json")) {
            QJsonParseError error;
            const QJsonObject report = QJsonDocument::fromJson(run.out, &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            QCOMPARE(report["command"].toString(), QStringLiteral("write"));
            QCOMPARE(report["result"].toString(), QStringLiteral("different"));
            QCOMPARE(report["exitCode"].toInt(), 4);
            QCOMPARE(report["steps"].toArray().size(), 29);
            QCOMPARE(report["steps"].toArray()[0].toObject()["command"].toString(),
                     QStringLiteral(R"(AT+EGINP=1,1,0,"C","D")"));
            QVERIFY(report["steps"].toArray()[0].toObject()["confirmed"].toBool());
            QVERIFY(report["backup"].toString().endsWith(".tavek"));
            QVERIFY(report["differences"].toArray().contains(differences));
        } else if (exitCode == 4) {
            // One difference a line on standard output; the verdict on standard error.
            const QStringList out = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
            QVERIFY(out.contains(differences));
            for (const QString& line : out)
                QVERIFY2(line.startsWith("Input ") || line.startsWith("Phone position "),
                         qPrintable(line));
            QVERIFY(run.err.contains("holds something other than was sent"));
        } else {
            QVERIFY2(run.err.isEmpty(), run.err.constData());
        }
    }

    // verify reads and compares, writing nothing; backups lists what was kept.
    void verifyWritesNothing() {
        const Run differs = onTheModem({"verify", TAVEK_EXAMPLE_FILE});
        QCOMPARE(differs.exitCode, 4);
        QVERIFY(differs.out.contains("Phone position 1: sent +393351234567, the modem holds"));
        QCOMPARE(modem->received().size(), size_t(3)); // AT, and the two reads
        QCOMPARE(onTheModem({"--yes", "write", TAVEK_EXAMPLE_FILE}).exitCode, 0);
        modem->clearReceived();
        const Run same = onTheModem({"verify", TAVEK_EXAMPLE_FILE});
        QCOMPARE(same.exitCode, 0);
        QVERIFY(same.out.contains("holds what the file says"));
        QCOMPARE(modem->received().size(), size_t(3));

        const Run listed = onTheModem({"backups"});
        QCOMPARE(listed.exitCode, 0);
        QVERIFY(listed.out.contains(modem->devicePath().toUtf8()));
    }

    // What the modem held cannot be kept: nothing is overwritten, exit code 5.
    void aBackupThatCannotBeKeptStopsTheWrite() {
        const QString folder = file(".local/share/tavek/backups");
        QDir(folder).removeRecursively();
        QDir().mkpath(QFileInfo(folder).path());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const Run run = onTheModem({"write", TAVEK_EXAMPLE_FILE});
        blocker.remove();
        QCOMPARE(run.exitCode, 5);
        QVERIFY2(run.err.contains("cannot be made"), run.err.constData());
        QCOMPARE(modem->received().size(), size_t(3)); // the check and the reads, no write
    }

    // Every command that talks to a modem, on a device named by its path: the
    // modem pulled out after the check, and its device number given to
    // another as soon as the command has let it go (while it holds the
    // device, no other can have the number). The command fails and says so,
    // and nothing reaches the modem in the first one's place.
    void aDeviceTakenOverGetsNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("vanishAt"); // the line the modem vanishes at, unanswered
        const QString example = TAVEK_EXAMPLE_FILE;
        QTest::newRow("check") << QStringList{"check"} << 1;
        QTest::newRow("read") << QStringList{"read", file("taken.tavek")} << 2;
        QTest::newRow("read -") << QStringList{"read", "-"} << 3;
        QTest::newRow("write") << QStringList{"write", example} << 2;
        QTest::newRow("write, at its first record") << QStringList{"write", example} << 4;
        QTest::newRow("write --no-backup") << QStringList{"--no-backup", "write", example} << 2;
        QTest::newRow("write --no-verify, at its last record")
            << QStringList{"--no-verify", "write", example} << 32;
        QTest::newRow("write, at its read-back") << QStringList{"write", example} << 33;
        QTest::newRow("verify") << QStringList{"verify", example} << 2;
        QTest::newRow("relay on") << QStringList{"relay", "on"} << 2;
        QTest::newRow("relay off") << QStringList{"relay", "off"} << 2;
        QTest::newRow("factory-defaults") << QStringList{"factory-defaults", "--yes"} << 2;
        QTest::newRow("factory-defaults, at its last command")
            << QStringList{"factory-defaults", "--yes"} << 6;
        QTest::newRow("clear") << QStringList{"clear", "--yes"} << 2;
        QTest::newRow("clear --no-backup") << QStringList{"--no-backup", "clear", "--yes"} << 2;
    }
    void aDeviceTakenOverGetsNothing() {
        QFETCH(QStringList, arguments);
        QFETCH(int, vanishAt);
        const QString device = modem->devicePath();
        modem->vanishAtLine(vanishAt);
        QProcess process;
        process.setWorkingDirectory(home.path());
        process.start(QStringLiteral(TAVEK_CLI_PROGRAM), QStringList{"--port", device} + arguments);
        QVERIFY(process.waitForStarted());
        process.closeWriteChannel();

        DeviceTakeover takeover;
        VirtualModem* other = nullptr;
        QElapsedTimer waited;
        waited.start();
        // Far beyond the slowest command: a hang, not a slow machine.
        while (waited.elapsed() < 90'000) {
            const bool running = process.state() != QProcess::NotRunning;
            if (modem && modem->devicePath().isEmpty())
                modem.reset(); // its side of the pty let go too
            if (!modem && (!running || !holdsOpen(process.processId(), device))) {
                other = takeover.takeNumberOf(device);
                QVERIFY2(other, qPrintable(QStringLiteral("no new pty got %1, but %2: another "
                                                          "program holds it")
                                               .arg(device, takeover.taken())));
                break;
            }
            QVERIFY2(running, "the command ended before the modem vanished");
            // Once the modem is gone, the command lets the device go within
            // moments, and may end soon after: looked at without a pause.
            if (modem)
                process.waitForFinished(1);
        }
        QVERIFY2(other, "the modem never vanished");
        QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished(90'000));

        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        const QByteArray err = process.readAllStandardError();
        QCOMPARE(process.exitCode(), 3); // the port was lost
        QVERIFY2(err.contains("The serial port " + device.toUtf8() + " was lost"), err.constData());
        QVERIFY(!other->waitForLines(1, 300));
        QCOMPARE(other->receivedBytes(), QByteArray());
        QVERIFY(!QFileInfo::exists(file("taken.tavek")));
        QVERIFY(!QFileInfo::exists(file("-")));
    }

    // Three modems, two named: both are written side by side, the one pulled
    // out midway fails alone, and nothing reaches the third.
    void aFleetAtOnce() {
        VirtualModem second, third;
        const int secondCom = second.linkAs(), thirdCom = third.linkAs();
        QVERIFY(secondCom > 0 && thirdCom > 0);
        second.vanishAtLine(12);
        QElapsedTimer took;
        took.start();
        const Run run = tavekCli({"--port", QStringLiteral("com%1").arg(com), "--port",
                                  QStringLiteral("com%1").arg(secondCom), "write", "--json",
                                  TAVEK_EXAMPLE_FILE},
                                 home.path(), {});
        QCOMPARE(run.exitCode, 3); // the worst: a port lost
        QMap<QString, QString> results;
        for (const QByteArray& line : run.out.split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonObject report = QJsonDocument::fromJson(line).object();
            results[report["port"].toString()] = report["result"].toString();
        }
        QCOMPARE(results.value(QStringLiteral("Com %1").arg(com)), QStringLiteral("confirmed"));
        QCOMPARE(results.value(QStringLiteral("Com %1").arg(secondCom)),
                 QStringLiteral("port lost"));
        QCOMPARE(modem->received().size(), size_t(34));
        QCOMPARE(modem->phoneBook()[4], QByteArray("0612345679"));
        QVERIFY(third.received().empty());
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
