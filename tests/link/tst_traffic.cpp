// The traffic record: how the events become rows and how a row reads, the
// rows a recorder keeps, and its log file. (The window and the logging
// category are tested with the window, through a whole command.)
#include "FileSizeLimit.h"
#include "TrafficRecorder.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// What follows the time stamp: the marker and the text.
QStringList rowTexts(const std::deque<TrafficRow>& rows,
                     TrafficNotation notation = TrafficNotation::Text) {
    QStringList texts;
    for (const TrafficRow& row : rows)
        texts << trafficRowText(row, notation).mid(13);
    return texts;
}

// The received rows that the bytes make when they come in reads of these
// sizes (the last read takes the rest), ended by the end of the collection.
QStringList linesFromReads(const QByteArray& bytes, const QList<int>& sizes) {
    TrafficRecorder recorder;
    qsizetype at = 0;
    for (int size : sizes) {
        recorder.received(QString::fromLatin1(bytes.mid(at, size)));
        at += size;
    }
    recorder.received(QString::fromLatin1(bytes.mid(at)));
    recorder.collectionEnded(ModemTraffic::CollectionEnd::ReplyComplete);
    QStringList lines;
    for (const QString& row : rowTexts(recorder.rows()))
        if (row.startsWith("← "))
            lines << row.mid(2);
    return lines;
}

QString fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "(unreadable)";
}

} // namespace

class TrafficTest : public QObject {
    Q_OBJECT

private slots:
    // Every event besides received text is a row of its own, and ends the
    // line arriving; the line ends and other controls by name or code (DEL
    // and C1 too), Latin-1 letters as they are; in hex, only the characters
    // on the line become bytes.
    void eventsBecomeRows() {
        TrafficRecorder recorder;
        recorder.portOpened("/dev/pts/3");
        recorder.sent("AT\r");
        recorder.received(QString("AT\r\r\n\x1A\x1B\t") + QChar(0) + QChar(0x7f) + QChar(0x85) +
                          "caf" + QChar(0xe9));
        recorder.collectionEnded(ModemTraffic::CollectionEnd::ReplyComplete);
        recorder.received("OK");
        recorder.discarded(4);
        recorder.received("\r\nOK\r\n");
        recorder.lateResultCode("OK");
        recorder.collectionEnded(ModemTraffic::CollectionEnd::TimedOut);
        recorder.portLost("/dev/pts/3");
        recorder.collectionEnded(ModemTraffic::CollectionEnd::PortLost);
        recorder.discarded(1);
        recorder.portClosed("/dev/pts/3");
        QCOMPARE(rowTexts(recorder.rows()),
                 (QStringList{"· port opened: /dev/pts/3", "→ AT<CR>", "← AT<CR>",
                              "← <CR><LF><0x1A><0x1B><0x09><0x00><0x7F><0x85>café",
                              "· end of reply: complete", "← OK", "· 4 late characters thrown away",
                              "← <CR><LF>OK<CR><LF>",
                              "! late result code OK: it belongs to an earlier command and "
                              "confirms nothing",
                              "· end of reply: time-out", "· port lost: /dev/pts/3",
                              "· end of reply: port lost", "· 1 late character thrown away",
                              "· port closed: /dev/pts/3"}));
        QCOMPARE(
            rowTexts(recorder.rows(), TrafficNotation::Hex).mid(0, 5),
            (QStringList{"· port opened: /dev/pts/3", "→ 41 54 0D", "← 41 54 0D",
                         "← 0D 0A 1A 1B 09 00 7F 85 63 61 66 E9", "· end of reply: complete"}));
        QCOMPARE(trafficRowText({QTime(9, 5, 7, 42), TrafficKind::Sent, "AT\r"}),
                 "09:05:07.042 → AT<CR>");
        QCOMPARE(
            trafficRowText({QTime(9, 5, 7, 42), TrafficKind::Sent, "AT\r"}, TrafficNotation::Hex),
            "09:05:07.042 → 41 54 0D");
    }

    // Received bytes are joined into lines, the same however they were cut
    // into reads: one read, reads of every equal size, and cuts at random.
    // A line break after text ends a line (CR LF, a lone CR, a lone LF); line
    // breaks before any text begin one. A line is at most 256 characters.
    void linesAreTheSameHoweverTheBytesCome_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        const QString full(256, 'x');
        QTest::newRow("echo and OK")
            << QByteArray("AT\r\r\nOK\r\n") << QStringList{"AT<CR>", "<CR><LF>OK<CR><LF>"};
        QTest::newRow("echo, information and OK")
            << QByteArray("AT+EGPHN?\r\r\n+EGPHN: 1,\"+391\",128\r\n+EGPHN: 7,\"+3977\",128\r\n"
                          "\r\nOK\r\n")
            << QStringList{"AT+EGPHN?<CR>", R"(<CR><LF>+EGPHN: 1,"+391",128<CR><LF>)",
                           R"(+EGPHN: 7,"+3977",128<CR><LF>)", "<CR><LF>OK<CR><LF>"};
        QTest::newRow("result code ending in CR, cut by the event")
            << QByteArray("AT\r\r\nOK\r") << QStringList{"AT<CR>", "<CR><LF>OK<CR>"};
        QTest::newRow("lone LFs") << QByteArray("OK\nERROR\n")
                                  << QStringList{"OK<LF>", "ERROR<LF>"};
        QTest::newRow("lone CRs") << QByteArray("OK\rERROR\r")
                                  << QStringList{"OK<CR>", "ERROR<CR>"};
        QTest::newRow("a doubled CR shows")
            << QByteArray("OK\r\r\nRING\r\n") << QStringList{"OK<CR>", "<CR><LF>RING<CR><LF>"};
        QTest::newRow("LF before CR")
            << QByteArray("OK\n\rRING\n") << QStringList{"OK<LF>", "<CR>RING<LF>"};
        QTest::newRow("line breaks alone")
            << QByteArray("\r\n\r\n") << QStringList{"<CR><LF><CR><LF>"};
        QTest::newRow("no line break") << QByteArray("+EGPHN: 1") << QStringList{"+EGPHN: 1"};
        QTest::newRow("controls and Latin-1 inside a line")
            << QByteArray("\x1A\x7F"
                          "caf\xE9\r\n")
            << QStringList{"<0x1A><0x7F>café<CR><LF>"};
        QTest::newRow("a line past the bound")
            << QByteArray(600, 'x') << QStringList{full, full, QString(88, 'x')};
        QTest::newRow("a line break at the bound")
            << QByteArray(255, 'x') + "\r\nOK\r\n"
            << QStringList{QString(255, 'x') + "<CR>", "<LF>OK<CR><LF>"};
    }
    void linesAreTheSameHoweverTheBytesCome() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(linesFromReads(bytes, {}), lines);
        for (int size = 1; size < bytes.size(); ++size) {
            const QList<int> sizes(bytes.size() / size, size);
            QCOMPARE(linesFromReads(bytes, sizes), lines);
        }
        // Fixed seeds: a failure comes back as it was.
        for (quint32 seed = 1; seed <= 50; ++seed) {
            QRandomGenerator random(seed);
            QList<int> sizes;
            for (qsizetype at = 0; at < bytes.size(); at += sizes.last())
                sizes << random.bounded(1, 20);
            QCOMPARE(linesFromReads(bytes, sizes), lines);
        }
    }

    // A line is shown as it arrives, stamped with the time of its first
    // byte; it is finished by its line break or by what comes after a CR.
    void aLineArrivingGrowsWithTheTimeOfItsFirstByte() {
        TrafficRecorder recorder;
        QTime now(10, 0, 0, 0);
        recorder.setClock([&] { return now; });
        recorder.received("A");
        now = now.addMSecs(5);
        recorder.received("T\r");
        QVERIFY(recorder.rows().empty());
        QCOMPARE(recorder.lineArriving()->text, "AT\r"); // an LF may still come
        QCOMPARE(recorder.lineArriving()->time, QTime(10, 0, 0, 0));
        now = now.addMSecs(20);
        recorder.received("\r\nO");
        QCOMPARE(rowTexts(recorder.rows()), QStringList{"← AT<CR>"});
        QCOMPARE(recorder.rows().back().time, QTime(10, 0, 0, 0));
        QCOMPARE(recorder.lineArriving()->text, "\r\nO");
        QCOMPARE(recorder.lineArriving()->time, QTime(10, 0, 0, 25));
        recorder.received("K\r\n");
        QVERIFY(!recorder.lineArriving());
        QCOMPARE(rowTexts(recorder.rows()), (QStringList{"← AT<CR>", "← <CR><LF>OK<CR><LF>"}));
        QCOMPARE(recorder.rows().back().time, QTime(10, 0, 0, 25));
    }

    // The last rows are kept, the line arriving among them, numbered on
    // through the dropping and a clear; a modem that never breaks its lines
    // stays within the bound too. The listener is told of every change.
    void keepsTheLastRows() {
        TrafficRecorder recorder(3);
        int told = 0;
        recorder.setChangeListener([&] { ++told; });
        for (int i = 0; i < 5; ++i)
            recorder.sent(QString::number(i));
        QCOMPARE(recorder.rows().front().text, "2");
        QCOMPARE(recorder.firstNumber(), 2);
        QCOMPARE(recorder.endNumber(), 5);
        recorder.received("no line break yet");
        QCOMPARE(rowTexts(recorder.rows()), (QStringList{"→ 3", "→ 4"}));
        recorder.clear(); // the line goes on arriving
        QCOMPARE(recorder.clears(), 1);
        QCOMPARE(recorder.lineArriving()->text, "no line break yet");
        recorder.sent("5");
        QCOMPARE(told, 8);
        QCOMPARE(recorder.firstNumber(), 5);
        QCOMPARE(rowTexts(recorder.rows()), (QStringList{"← no line break yet", "→ 5"}));

        recorder.received(QString(100000, 'x'));
        QCOMPARE(recorder.rows().size(), std::size_t(2));
        QCOMPARE(recorder.endNumber(), 7 + 100000 / TrafficRowMaker::MaxLineCharacters);
        for (const TrafficRow& row : recorder.rows())
            QCOMPARE(row.text.size(), TrafficRowMaker::MaxLineCharacters);
        QCOMPARE(recorder.lineArriving()->text.size(), 100000 % TrafficRowMaker::MaxLineCharacters);
    }

    // The log gets each row once it is finished, in the words of the rows;
    // a line still arriving when the recorder ends goes to it as it is.
    void logGetsFinishedRows() {
        QTemporaryDir folder;
        const QString path = folder.filePath("modem.log");
        QStringList rows;
        {
            TrafficRecorder recorder;
            recorder.setLogFile(TrafficLogFile::open(path, nullptr));
            recorder.sent("AT\r");
            recorder.received("AT\r\r\nOK\r\n\r\nRI");
            rows = rowTexts(recorder.rows());
            QCOMPARE(rows, (QStringList{"→ AT<CR>", "← AT<CR>", "← <CR><LF>OK<CR><LF>"}));
            QStringList written = fileText(path).split('\n');
            QCOMPARE(written.takeLast(), "");
            for (QString& row : written)
                row = row.mid(13);
            QCOMPARE(written, rows);
        }
        QVERIFY2(fileText(path).endsWith("← <CR><LF>RI\n"), qPrintable(fileText(path)));
    }

    // At a full disk (here a file size limit) the log says why, once, and
    // stops with its last whole row; the recording goes on.
    void aLogThatCannotBeWrittenSaysSoOnce() {
        QTemporaryDir folder;
        const QString path = folder.filePath("modem.log");
        TrafficRecorder recorder;
        recorder.setLogFile(TrafficLogFile::open(path, nullptr));
        QStringList messages;
        recorder.setLogFailureListener([&](const QString& message) { messages << message; });
        const QString row = "AT+EGPHN=1,\"+393351234567\"\r";
        const int rowBytes =
            int(trafficRowText({QTime(0, 0), TrafficKind::Sent, row}).toUtf8().size());
        {
            const FileSizeLimit limit(1000);
            QVERIFY(limit.set());
            for (int i = 0; i < 40; ++i)
                recorder.sent(row);
        }
        recorder.sent(row);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0], "The modem traffic log " + path +
                                  " could not be written: File too large. The log stops here; "
                                  "the traffic window still shows the traffic.");
        QVERIFY(!recorder.logFile());
        QCOMPARE(recorder.rows().size(), std::size_t(41));
        // The rows that fitted whole, each with its line's end.
        QCOMPARE(QFileInfo(path).size(), 1000 / (rowBytes + 1) * (rowBytes + 1));
        QVERIFY(fileText(path).endsWith("→ AT+EGPHN=1,\"+393351234567\"<CR>\n"));
    }

    // A symbolic link at the log's path is refused and left as it is, as is
    // what it points to, or not created where it points to nothing.
    void aLogIsNotWrittenThroughALink_data() {
        QTest::addColumn<bool>("targetThere");
        QTest::newRow("link to a file") << true;
        QTest::newRow("link to nothing") << false;
    }
    void aLogIsNotWrittenThroughALink() {
        QFETCH(bool, targetThere);
        QTemporaryDir folder;
        const QString target = folder.filePath("precious.txt");
        const QString path = folder.filePath("modem.log");
        if (targetThere) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("keep me\n") == 8);
        }
        QVERIFY(QFile::link(target, path));
        QString error;
        QVERIFY(!TrafficLogFile::open(path, &error));
        QCOMPARE(error, "it is a symbolic link, and a log is not written through one");
        QCOMPARE(QFileInfo(path).symLinkTarget(), target);
        QCOMPARE(QFileInfo::exists(target), targetThere);
        if (targetThere)
            QCOMPARE(fileText(target), "keep me\n");
    }
};

QTEST_GUILESS_MAIN(TrafficTest)
#include "tst_traffic.moc"
