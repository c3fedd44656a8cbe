// Whether a write is proved: what the read-back finds, said in plain words;
// the backup kept before anything overwrites the modem; the questions asked
// before what the user typed could go unsent. The session runs as the window
// and tavek-cli run it, through the real serial port, against the virtual
// modem on a 9600 bit/s line in USB-adapter bursts.
#include "Backups.h"
#include "ConfigFile.h"
#include "ConfigurationModel.h"
#include "ModemConnection.h"
#include "ModemSession.h"
#include "OwnHome.h"
#include "SessionFace.h"
#include "Verification.h"
#include "VirtualModem.h"

#include <QDir>
#include <QtTest>

using StoreFault = ModemCommandSet::StoreFault;
using Warning = SessionFace::Warning;
Q_DECLARE_METATYPE(StoreFault)

namespace {

// A face that records what a window would show and answers its questions
// as told.
class RecordingFace final : public SessionFace {
public:
    QStringList statuses, errors, warnings;
    QList<QStringList> writeProblems;
    bool goOn = false;

    void setStatusText(const QString& text) override { statuses << text; }
    void showModemError(const QString& text) override { errors << text; }
    void showLinkState(LinkState) override {}
    void setControlsEnabled(bool) override {}
    bool confirm(const Question&) override { return true; }
    bool warn(Warning, const QString& text) override {
        warnings << text;
        return goOn;
    }
    void showWriteProblems(const QStringList& unconfirmed,
                           const QStringList& differences) override {
        writeProblems << unconfirmed + differences;
    }
};

MessageText typed(const QString& text) {
    return {text, false};
}

// The modem as a site has it: input 2 active with its messages, two numbers.
void siteModem(VirtualModem& modem) {
    modem.setInputs({VirtualModem::Input{1, 3, 'O', 'S', "ALLARME 1", "RIPRISTINO 1"},
                     VirtualModem::Input{1, 5, 'O', 'D', "Pump stopped", "Pump running"},
                     VirtualModem::Input{0, 0, 'C', 'S', "", ""}});
    modem.setPhoneBook({"+391", "", "", "", "", "", "+3977"});
}

} // namespace

class WriteProofTest : public QObject {
    Q_OBJECT

    OwnHome home;
    std::unique_ptr<VirtualModem> modem;
    std::unique_ptr<ModemConnection> connection;
    std::unique_ptr<ConfigurationModel> shown;
    std::unique_ptr<RecordingFace> face;
    std::unique_ptr<ModemSession> session;

    QStringList linesSince(qsizetype first) const {
        QStringList lines;
        const auto received = modem->received();
        for (size_t i = size_t(first); i < received.size(); ++i)
            lines << QString::fromLatin1(received[i].line);
        return lines;
    }
    qsizetype linesSoFar() const { return qsizetype(modem->received().size()); }

private slots:
    void init() {
        QVERIFY(home.isValid());
        QDir(backupsFolder()).removeRecursively();
        modem = std::make_unique<VirtualModem>();
        modem->setUsbLatencyMs(16);
        siteModem(*modem);
        const int com = modem->linkAs();
        QVERIFY(com > 0);
        connection = std::make_unique<ModemConnection>();
        connection->setCommPortNumber(qint16(com));
        shown = std::make_unique<ConfigurationModel>();
        face = std::make_unique<RecordingFace>();
        session = std::make_unique<ModemSession>(*connection, *shown, *face);
    }
    void cleanup() {
        session.reset();
        connection.reset();
        modem.reset();
    }

    // Pure: each difference in plain words, by the box it was typed in.
    void differencesAreSaidInPlainWords_data() {
        QTest::addColumn<InputConfig>("sent");
        QTest::addColumn<QStringList>("heldMessages"); // the C, then the O message
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QStringList>("said");
        const InputConfig pump{InputStatus::Active,   RestState::NormallyOpen, BitMode::Double, 5,
                               typed("Pump stopped"), typed("Pump restored")};
        QTest::newRow("held as sent")
            << pump << QStringList{"Pump stopped", "Pump restored"} << true << QStringList{};
        QTest::newRow("a message cut")
            << pump << QStringList{"Pump stopped", "Pump rest"} << true
            << QStringList{R"(Input 2, Double message: sent "Pump restored", the modem holds )"
                           R"("Pump rest".)"};
        // At rest closed, the Single box's message is the one for the open contact.
        InputConfig closed = pump;
        closed.restState = RestState::NormallyClosed;
        QTest::newRow("resting closed")
            << closed << QStringList{"Pump restored", "Pump"} << true
            << QStringList{"Input 2, Port: sent N. Closed, the modem holds N. Open.",
                           R"(Input 2, Single message: sent "Pump stopped", the modem holds )"
                           R"("Pump".)"};
        // The Single box showing the placeholder sends both messages empty:
        // held empty, they are what was sent.
        InputConfig placeholder = pump;
        placeholder.singleMessage = {PlaceholderText, true};
        QTest::newRow("placeholder") << placeholder << QStringList{"", ""} << true << QStringList{};
        QTest::newRow("read back cut")
            << pump << QStringList{"Pump stopped"} << false
            << QStringList{"The inputs read back were not whole: what the modem holds is not "
                           "known for every field."};
    }
    void differencesAreSaidInPlainWords() {
        QFETCH(InputConfig, sent);
        QFETCH(QStringList, heldMessages);
        QFETCH(bool, whole);
        QFETCH(QStringList, said);
        InputsConfig inputs{};
        inputs[1] = sent;
        InputsReading held{};
        for (int n = 1; n <= InputCount; ++n) {
            // Inputs 1 and 3 as sent, from empty panels.
            held[n - 1].status = InputStatus::Disactive;
            held[n - 1].delayIndex = 0;
            held[n - 1].restState = RestState::NormallyOpen;
            held[n - 1].bit = BitMode::Single;
            held[n - 1].closedMessage = held[n - 1].openMessage = QString();
        }
        InputReading& two = held[1];
        two.status = InputStatus::Active;
        two.delayIndex = 5;
        two.restState = RestState::NormallyOpen;
        two.bit = BitMode::Double;
        two.closedMessage = heldMessages.value(0);
        two.openMessage = heldMessages.size() > 1 ? std::optional(heldMessages[1]) : std::nullopt;
        if (!whole)
            held[2] = {};
        inputs[0].singleMessage = inputs[2].singleMessage = typed("");
        inputs[0].doubleMessage = inputs[2].doubleMessage = typed("");
        QCOMPARE(inputDifferences(inputs, held, whole), said);

        PhoneBook book{};
        book[6] = "+393331112222";
        QCOMPARE(phoneBookDifferences(book, {}, true),
                 QStringList{"Phone position 7: sent +393331112222, the modem holds nothing."});
    }

    // A modem that takes a write and does not keep it as sent: the steps
    // show "...OK" as the modem answered them, and the read-back that
    // follows, one read of the half written, finds every difference. What
    // the user had stays shown, so that "Set" can be clicked again.
    void aWriteTheModemDidNotKeepIsFound_data() {
        QTest::addColumn<StoreFault>("fault");
        QTest::addColumn<QByteArray>("cutReadBack"); // the read-back's reply, cut
        QTest::addColumn<bool>("inputs");            // the input Set, or the phone book's
        QTest::addColumn<QStringList>("differences");
        QTest::newRow("kept as sent") << StoreFault::None << QByteArray() << true << QStringList{};
        QTest::newRow("echoes, keeps nothing")
            << StoreFault::StoresNothing << QByteArray() << true
            << QStringList{R"(Input 2, Double message: sent "Pump restored", the modem holds )"
                           R"("Pump running".)"};
        QTest::newRow("texts cut")
            << StoreFault::CutsTexts << QByteArray() << false
            << QStringList{"Phone position 7: sent +393331112222, the modem holds +39333111."};
        QTest::newRow("position 20 dropped")
            << StoreFault::DropsLastPosition << QByteArray() << false
            << QStringList{"Phone position 20: sent +3920, the modem holds nothing."};
        QTest::newRow("read-back cut")
            << StoreFault::None << QByteArray("\r\n+EGPHN: 1,\"+391\",128\r\n+EGPHN: 7,\"+39")
            << false
            << QStringList{"The phone book read back was not whole: what the modem holds is not "
                           "known for every position."};
    }
    void aWriteTheModemDidNotKeepIsFound() {
        QFETCH(StoreFault, fault);
        QFETCH(QByteArray, cutReadBack);
        QFETCH(bool, inputs);
        QFETCH(QStringList, differences);
        QVERIFY(session->connectModem());
        QVERIFY(!session->backupPath().isEmpty());
        modem->setStoreFault(fault);
        if (!cutReadBack.isEmpty())
            modem->setReplyFor("AT+EGPHN?", cutReadBack);
        // The user's edits.
        InputConfig two = shown->input(2);
        two.doubleMessage = typed("Pump restored");
        shown->setInput(2, two);
        shown->setNumber(7, "+393331112222");
        shown->setNumber(20, "+3920");
        const ModemConfiguration typedIn = shown->configuration();
        face->statuses.clear();
        const qsizetype before = linesSoFar();

        const SessionResult result = inputs ? session->sendInputs() : session->setNumbers();

        const int steps = inputs ? 9 : 20;
        const QString readBack = inputs ? "AT+EGINP?" : "AT+EGPHN?";
        QStringList wire = linesSince(before);
        QCOMPARE(wire.size(), steps + 1);
        QCOMPARE(wire.last(), readBack); // a verification writes nothing
        QCOMPARE(result.differences, differences);
        QCOMPARE(result.steps.size(), steps);
        QVERIFY(result.unconfirmed.isEmpty()); // every step was answered, by echo at least
        QCOMPARE(face->writeProblems,
                 differences.isEmpty() ? QList<QStringList>{} : QList<QStringList>{differences});
        QCOMPARE(face->statuses.mid(face->statuses.size() - 2),
                 (QStringList{"Modem Connected, verifying...", "Modem Connected"}));
        QVERIFY(face->statuses.filter("...OK").size() >= 1);
        QCOMPARE(shown->configuration(), typedIn);
        QCOMPARE(result.confirmed(), differences.isEmpty());
        // Proved, the half sent is no unsent edit any more; the other half still is.
        QCOMPARE(session->holdsUnsentChanges(), true);
    }

    // What the modem held is kept whole, by device and time, before anything
    // overwrites it: the newest 200, a user's own files in the folder untouched.
    void backupsAreKeptWholeAndRotated() {
        QVERIFY(session->connectModem());
        const QString first = session->backupPath();
        QVERIFY(QFileInfo(first).fileName().contains(QFileInfo(modem->devicePath()).fileName()));
        const ConfigurationFileReading kept = loadConfigurationFile(first);
        QVERIFY(kept.configuration);
        QCOMPARE(kept.configuration->phoneBook[6], QStringLiteral("+3977"));
        QCOMPARE(kept.configuration->inputs[1].singleMessage.text,
                 QStringLiteral("Pump stopped")); // at rest open: the closed contact's message
        QFile own(backupsFolder() + "/mine.tavek");
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.close();

        // Later than the connection's, to the millisecond as names keep it.
        const QDateTime start = QDateTime::currentDateTime().addDays(1);
        const QDateTime startMs =
            QDateTime::fromString(start.toString(Qt::ISODateWithMs), Qt::ISODateWithMs);
        for (int i = 0; i < BackupsKept + 1; ++i)
            QVERIFY(keepBackup(*kept.configuration, "/dev/ttyUSB3", start.addSecs(i), nullptr));
        const QList<BackupEntry> listed = listBackups();
        QCOMPARE(listed.size(), BackupsKept);
        QCOMPARE(listed.first().at, startMs.addSecs(BackupsKept)); // newest first
        QCOMPARE(listed.first().device, QStringLiteral("/dev/ttyUSB3"));
        QCOMPARE(listed.last().at, startMs.addSecs(1));
        QVERIFY(!QFileInfo::exists(first)); // the oldest went
        QVERIFY(own.exists());
    }

    // A backup that cannot be written is said plainly, and a write asks
    // first, No the answer that sends nothing.
    void aBackupThatCannotBeWrittenIsAskedAbout() {
        // A file where the folder should be: it cannot be made.
        QDir().mkpath(QFileInfo(backupsFolder()).path());
        QFile blocker(backupsFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(session->connectModem());
        QVERIFY(session->backupPath().isEmpty());
        QCOMPARE(session->backupProblem(),
                 "The folder " + QDir::toNativeSeparators(backupsFolder()) + " cannot be made.");
        const qsizetype before = linesSoFar();

        QVERIFY(!session->setNumbers().ran);
        QCOMPARE(face->warnings.size(), 1);
        QVERIFY(face->warnings[0].startsWith("No backup of the modem's configuration was kept: "
                                             "The folder "));
        QVERIFY(face->warnings[0].endsWith("Send anyway?"));
        QVERIFY(!modem->waitForLines(int(before) + 1, 300));

        face->goOn = true;
        QVERIFY(session->setNumbers().confirmed());
        QCOMPARE(linesSince(before).size(), 20 + 1);
        blocker.remove();
    }

    // A Double message that would go nowhere, because the Single box of its
    // input shows the placeholder, is asked about; Yes sends both empty.
    void aDoubleMessageIsNeverDroppedSilently() {
        QVERIFY(session->connectModem());
        InputConfig two = shown->input(2);
        two.singleMessage = {PlaceholderText, true};
        two.doubleMessage = typed("Pump restored");
        shown->setInput(2, two);
        const qsizetype before = linesSoFar();

        QVERIFY(!session->sendInputs().ran);
        QCOMPARE(face->warnings,
                 QStringList{"Input 2: the Double message is not sent, because the Single "
                             "message is empty.\nSend anyway?"});
        QVERIFY(!modem->waitForLines(int(before) + 1, 300));

        face->goOn = true;
        const SessionResult sent = session->sendInputs();
        QVERIFY2(sent.confirmed(), qPrintable(sent.differences.join('\n')));
        const QStringList wire = linesSince(before);
        QVERIFY(wire.contains(R"(AT+EGINP=2,"C","")"));
        QVERIFY(wire.contains(R"(AT+EGINP=2,"O","")"));
        QCOMPARE(shown->input(2).doubleMessage.text, QStringLiteral("Pump restored"));
    }
};

QTEST_GUILESS_MAIN(WriteProofTest)
#include "tst_write_proof.moc"
