// The "Modem traffic" window against the virtual modem on a 9600 bit/s line:
// the rows of a relay command, one line of the modem's a row, in the log
// file and the logging category too; the line still arriving, the hex view,
// finding, pausing, their colours, the buttons, how it follows new rows, its
// bound, and a log that can no longer be written.
#include "ModemWindowFixture.h"

#include "FileSizeLimit.h"
#include "TrafficFindBar.h"
#include "TrafficRecorder.h"
#include "TrafficWindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QtTest>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// What the category tavek.modem says, while a test listens.
QStringList categoryMessages;
void captureCategory(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (QByteArray(context.category) == "tavek.modem")
        categoryMessages << message;
}

// Rows past their time stamps.
QStringList withoutStamps(const QStringList& rows) {
    QStringList texts;
    for (const QString& row : rows)
        texts << row.mid(13);
    return texts;
}

// What this process writes on standard error while it lives.
class StandardErrorCapture {
public:
    StandardErrorCapture() {
        std::fflush(stderr);
        if (file_.open()) {
            saved_ = ::dup(STDERR_FILENO);
            ::dup2(file_.handle(), STDERR_FILENO);
        }
    }
    ~StandardErrorCapture() { restore(); }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;
    // Everything written so far; standard error is its own again.
    QString text() {
        restore();
        file_.seek(0);
        return QString::fromLocal8Bit(file_.readAll());
    }

private:
    void restore() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
            saved_ = -1;
        }
    }
    QTemporaryFile file_;
    int saved_ = -1;
};

} // namespace

class TrafficWindowTest : public ModemWindowFixture {
    Q_OBJECT

    TrafficWindow* traffic = nullptr;
    // The rows once the window has taken what was recorded.
    QStringList shownRows() {
        traffic->catchUp();
        return traffic->shownRows();
    }
    TrafficRecorder& recorder() { return window->trafficRecorder(); }
    int chosenRow() const { return traffic->text()->textCursor().blockNumber(); }

private slots:
    void init() {
        ModemWindowFixture::init();
        clickToolbar(*window, QStringLiteral("modem-traffic"));
        // The window as the window system gives it the keys: its own, not its owner's.
        QVERIFY((traffic = window->findChild<TrafficWindow*>()) &&
                QTest::qWaitFor([this] { return traffic->isActiveWindow(); }));
    }

    // One record, three outputs: the window, the file of "tavek --log FILE"
    // and the tavek.modem logging category show the same rows, line by line,
    // of a relay command on the line, its bytes handed over one by one or in
    // an adapter's bursts: the port's events, the line sent, what came back
    // one line a row with its control characters made visible (however the
    // reads cut it), and how the collection ended, also when the adapter is
    // pulled out in the middle of the reply.
    void logFileAndCategoryShowTheRowsOfACommand_data() {
        QTest::addColumn<int>("usbLatencyMs");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("hangUpAfter");  // bytes of the answer; -1: never
        QTest::addColumn<QStringList>("rows"); // {device} filled in; (<LF>)? as it may be
        // Byte by byte, the reply is complete with the CR after "OK": the LF
        // that follows may still be on the wire when the row is finished. The
        // port stays open from the connection on, until the disconnect.
        const QStringList complete{"→ AT+WIOW=0,0<CR>", "← AT+WIOW=0,0<CR>",
                                   "← <CR><LF>OK<CR>(<LF>)?", "· end of reply: complete",
                                   "· port closed: {device}"};
        QTest::newRow("byte by byte") << 0 << QByteArray() << -1 << complete;
        QTest::newRow("FTDI bursts of 16 ms") << 16 << QByteArray() << -1 << complete;
        QTest::newRow("bursts of 3 ms") << 3 << QByteArray() << -1 << complete;
        // Its echo, then CR LF and the two controls.
        QTest::newRow("unplugged in the reply")
            << 0 << QByteArray("\r\n\x1A\x7F and the rest") << 16
            << QStringList{"→ AT+WIOW=0,0<CR>",         "← AT+WIOW=0,0<CR>",
                           "← <CR><LF><0x1A><0x7F>",    "· port lost: {device}",
                           "· end of reply: port lost", "· port closed: {device}"};
    }
    void logFileAndCategoryShowTheRowsOfACommand() {
        QFETCH(int, usbLatencyMs);
        QFETCH(QByteArray, reply);
        QFETCH(int, hangUpAfter);
        QFETCH(QStringList, rows);
        modem->setUsbLatencyMs(usbLatencyMs);
        connectToTheModem();
        QTemporaryDir folder;
        const QString path = folder.filePath("modem.log");
        TrafficLogFile::open(path, nullptr)
            ->write("an earlier run"); // given again, it starts empty
        window->setTrafficLog(TrafficLogFile::open(path, nullptr));
        QTest::mouseClick(traffic->clearButton(), Qt::LeftButton); // the connect's rows go
        if (!reply.isEmpty())
            modem->setReplyFor("AT+WIOW=0,0", reply);
        modem->hangUpAfterBytes(hangUpAfter);
        const QString device = modem->devicePath(); // a vanished modem has none
        QLoggingCategory::setFilterRules("tavek.modem=true");
        categoryMessages.clear();
        const QtMessageHandler before = qInstallMessageHandler(captureCategory);

        clickToolbar(*window, QStringLiteral("relay-on"));
        window->connection().disconnect(); // a line arriving is finished by the close

        qInstallMessageHandler(before);
        QLoggingCategory::setFilterRules("tavek.modem=false");
        const QStringList shown = shownRows();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), shown.join('\n') + '\n');
        QCOMPARE(categoryMessages, shown);
        const QStringList texts = withoutStamps(shown);
        QVERIFY2(texts.size() == rows.size(), qPrintable(texts.join('\n')));
        for (int row = 0; row < rows.size(); ++row) {
            const QString pattern =
                QRegularExpression::escape(QString(rows[row]).replace("{device}", device))
                    .replace(R"(\(\<LF\>\)\?)", "(<LF>)?");
            QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern))
                         .match(texts[row])
                         .hasMatch(),
                     qPrintable(texts.join('\n')));
        }
    }

    // The program says so at once when the log cannot be written, and starts
    // no window; a link at the log's path is refused and left as it is, and
    // what it points to too.
    void programRefusesALogItCannotWrite_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("said");
        QTest::newRow("no such folder") << "missing/modem.log"
                                        << "No such file or directory";
        QTest::newRow("a symbolic link")
            << "link.log"
            << "it is a symbolic link, and a log is not written through one";
    }
    void programRefusesALogItCannotWrite() {
        QFETCH(QString, name);
        QFETCH(QString, said);
        QTemporaryDir folder;
        const QString precious = folder.filePath("precious.txt");
        QFile file(precious);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("keep me\n") == 8);
        file.close();
        QVERIFY(QFile::link(precious, folder.filePath("link.log")));
        QProcess tavek;
        tavek.start(TAVEK_PROGRAM, {"--log", folder.filePath(name)});
        QVERIFY(tavek.waitForFinished(20000));
        QCOMPARE(tavek.exitCode(), 1);
        const QString error = QString::fromLocal8Bit(tavek.readAllStandardError());
        QVERIFY2(error.split('\n').contains("tavek: cannot write the log " + folder.filePath(name) +
                                            ": " + said),
                 qPrintable(error));
        QVERIFY(QFileInfo(folder.filePath("link.log")).isSymLink());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "keep me\n");
    }

    // On a full disk (here a file size limit) the log stops with its last
    // whole row; the status bar and standard error say so once, and the
    // program goes on: the window takes the rows that follow.
    void aLogThatCannotBeWrittenIsSaidOnce() {
        QTemporaryDir folder;
        const QString path = folder.filePath("modem.log");
        window->setTrafficLog(TrafficLogFile::open(path, nullptr));
        StandardErrorCapture standardError;
        {
            const FileSizeLimit limit(500);
            QVERIFY(limit.set());
            for (int i = 0; i < 30; ++i)
                recorder().sent(QStringLiteral("AT+EGPHN=%1,\"+3933512345\"\r").arg(i + 1));
        }
        recorder().sent("AT\r");
        const QString said = standardError.text();
        const QString message = "The modem traffic log " + path +
                                " could not be written: File too large. The log stops here; "
                                "the traffic window still shows the traffic.";
        QCOMPARE(window->findChild<QStatusBar*>("StatusBar1")->currentMessage(), message);
        QCOMPARE(said, "tavek: " + message + "\n");
        const QStringList rows = shownRows();
        QCOMPARE(rows.size(), 31);
        QVERIFY(rows.last().endsWith("→ AT<CR>"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.size() <= 500 && written.endsWith("<CR>\n"));
        QCOMPARE(QString::fromUtf8(written).split('\n').size() - 1,
                 written.size() / (rows[0].toUtf8().size() + 1));
    }

    // The line still arriving is the last row and grows as bytes come; its
    // line break finishes it, and what follows is the next row.
    void aLineArrivingShowsAsItGrows() {
        recorder().sent("AT+EGPHN?\r");
        recorder().received("AT+EG");
        QCOMPARE(withoutStamps(shownRows()), (QStringList{"→ AT+EGPHN?<CR>", "← AT+EG"}));
        const QString stamp = traffic->shownRows().last().left(12);
        recorder().received("PHN?\r");
        QCOMPARE(withoutStamps(shownRows()), (QStringList{"→ AT+EGPHN?<CR>", "← AT+EGPHN?<CR>"}));
        QCOMPARE(traffic->shownRows().last().left(12), stamp); // of its first byte
        recorder().received("\r\n+EGPHN: 1,\"+391\",128\r\n\r\nO");
        QCOMPARE(withoutStamps(shownRows()),
                 (QStringList{"→ AT+EGPHN?<CR>", "← AT+EGPHN?<CR>",
                              "← <CR><LF>+EGPHN: 1,\"+391\",128<CR><LF>", "← <CR><LF>O"}));
        recorder().received("K\r\n");
        recorder().collectionEnded(ModemTraffic::CollectionEnd::ReplyComplete);
        QCOMPARE(withoutStamps(shownRows()).mid(3),
                 (QStringList{"← <CR><LF>OK<CR><LF>", "· end of reply: complete"}));
    }

    // The hex view shows the bytes on the line in hex, with the same stamps
    // and markers, the line arriving too; what happened stays words. Off
    // again, the rows are as they were.
    void hexViewShowsTheBytes() {
        recorder().portOpened("/dev/ttyUSB0");
        recorder().sent("AT\r");
        recorder().received("AT\r\r\nOK\r\n" + QString(QChar(0xe9)));
        const QStringList text = shownRows();
        QTest::mouseClick(traffic->hexBox(), Qt::LeftButton);
        const QStringList hex = shownRows();
        QCOMPARE(withoutStamps(hex), (QStringList{"· port opened: /dev/ttyUSB0", "→ 41 54 0D",
                                                  "← 41 54 0D", "← 0D 0A 4F 4B 0D 0A", "← E9"}));
        for (int row = 0; row < hex.size(); ++row)
            QCOMPARE(hex[row].left(13), text[row].left(13));
        recorder().received("\r");
        QCOMPARE(withoutStamps(shownRows()).last(), "← E9 0D");
        QTest::mouseClick(traffic->hexBox(), Qt::LeftButton);
        QCOMPARE(withoutStamps(shownRows()).last(), "← é<CR>");
        QCOMPARE(shownRows().mid(0, 4), text.mid(0, 4));
    }

    // Ctrl+F reaches the find field; typing finds the first match, Enter and
    // F3 the next, Shift+Enter and Shift+F3 the one before, around either
    // end, case ignored; every match is marked and the rows holding one counted.
    void findMovesBetweenMatches_data() {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QList<int>>("keys"); // after typing
        QTest::addColumn<int>("row");         // where the match chosen is
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("marks");
        const int enter = Qt::Key_Return, f3 = Qt::Key_F3;
        const int back = int(Qt::ShiftModifier);
        QTest::newRow("typed") << "egphn" << QList<int>{} << 0 << "5 rows" << 5;
        QTest::newRow("Enter") << "EGPHN" << QList<int>{enter} << 1 << "5 rows" << 5;
        QTest::newRow("F3 twice") << "+EGPHN:" << QList<int>{f3, f3} << 4 << "3 rows" << 3;
        QTest::newRow("around the end")
            << "+EGPHN:" << QList<int>{f3, f3, f3} << 2 << "3 rows" << 3;
        QTest::newRow("Shift+Enter around the start")
            << "EGPHN" << QList<int>{back | enter} << 4 << "5 rows" << 5;
        QTest::newRow("Shift+F3") << "OK" << QList<int>{back | f3} << 5 << "1 row" << 1;
        QTest::newRow("none") << "ERROR" << QList<int>{enter} << 0 << "Not found" << 0;
    }
    void findMovesBetweenMatches() {
        QFETCH(QString, term);
        QFETCH(QList<int>, keys);
        QFETCH(int, row);
        QFETCH(QString, result);
        QFETCH(int, marks);
        recorder().sent("AT+EGPHN?\r");
        recorder().received("AT+EGPHN?\r\r\n+EGPHN: 1,\"+391\",128\r\n+EGPHN: 7,\"+3977\",128\r\n"
                            "+EGPHN: 8,\"+3988\",128\r\n\r\nOK\r\n");
        shownRows();
        traffic->text()->setFocus();
        QTest::keyClick(traffic, Qt::Key_F, Qt::ControlModifier);
        QLineEdit* field = traffic->findBar()->field();
        QVERIFY(field->hasFocus());
        QTest::keyClicks(field, term);
        for (int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key & ~Qt::KeyboardModifierMask),
                            Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
        QCOMPARE(traffic->findBar()->result()->text(), result);
        QCOMPARE(traffic->text()->extraSelections().size(), marks);
        QCOMPARE(chosenRow(), row);
        if (marks > 0)
            QCOMPARE(traffic->text()->textCursor().selectedText().toUpper(), term.toUpper());
    }

    // Paused, the view stands still and says so, how many rows wait, while
    // the recorder goes on; shown anew (in hex here) it stays where it was.
    // Resumed, it takes what came meanwhile, the line arriving too.
    void pauseHoldsTheViewAndResumeCatchesUp() {
        recorder().sent("AT\r");
        const QStringList before = shownRows();
        QTest::mouseClick(traffic->pauseButton(), Qt::LeftButton);
        QVERIFY(traffic->pausedNote()->isVisible());
        QCOMPARE(traffic->windowTitle(), "Modem traffic (paused)");
        QCOMPARE(traffic->pauseButton()->text(), "Resume");
        recorder().received("AT\r\r\nOK\r\n");
        recorder().collectionEnded(ModemTraffic::CollectionEnd::ReplyComplete);
        recorder().received("RI");
        QCOMPARE(shownRows(), before);
        QCOMPARE(traffic->pausedNote()->text(),
                 "Paused: the traffic is still recorded; 3 new rows are shown when you resume.");
        QTest::mouseClick(traffic->hexBox(), Qt::LeftButton);
        QCOMPARE(withoutStamps(shownRows()), QStringList{"→ 41 54 0D"});
        QTest::mouseClick(traffic->hexBox(), Qt::LeftButton);
        QCOMPARE(recorder().rows().size(), std::size_t(4));

        QTest::mouseClick(traffic->pauseButton(), Qt::LeftButton);
        QVERIFY(!traffic->pausedNote()->isVisible());
        QCOMPARE(traffic->windowTitle(), "Modem traffic");
        QCOMPARE(withoutStamps(traffic->shownRows()),
                 (QStringList{"→ AT<CR>", "← AT<CR>", "← <CR><LF>OK<CR><LF>",
                              "· end of reply: complete", "← RI"}));
    }

    // Sent, received and other rows in colours of the palette, shown anew
    // when a dark one is set while the window is open.
    void coloursComeFromThePalette() {
        recorder().portOpened("/dev/ttyUSB0");
        recorder().sent("AT\r");
        recorder().received("OK");
        shownRows();
        const QColor grey(0x90, 0x90, 0x90), blue(0x80, 0xb0, 0xff), white(0xe0, 0xe0, 0xe0);
        QPalette dark = traffic->palette();
        dark.setColor(QPalette::PlaceholderText, grey);
        dark.setColor(QPalette::Link, blue);
        dark.setColor(QPalette::Text, white);
        traffic->setPalette(dark);
        QCOMPARE(
            (QList<QColor>{traffic->rowColour(0), traffic->rowColour(1), traffic->rowColour(2)}),
            (QList<QColor>{grey, blue, white}));
    }

    // Copy takes the chosen text, or every row when none is chosen; "Save
    // as" writes every row or says why it could not. (Clear is met above.)
    void copyAndSaveAs() {
        recorder().sent("AT\r");
        recorder().received("AT\r\r\nOK\r\n");
        const QStringList rows = shownRows();
        QTest::mouseClick(traffic->copyButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), rows.join('\n') + '\n');
        QTextCursor chosen(traffic->text()->document()->findBlockByNumber(1)); // the second row
        chosen.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        traffic->text()->setTextCursor(chosen);
        QTest::mouseClick(traffic->copyButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), rows[1]);

        QTemporaryDir folder;
        QString path = folder.filePath("traffic.txt");
        traffic->askSaveFileName = [&] { return path; };
        QStringList errors;
        traffic->showError = [&](const QString& text) { errors << text; };
        QTest::mouseClick(traffic->saveButton(), Qt::LeftButton);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), rows.join('\n') + '\n');
        path = folder.filePath("missing/traffic.txt");
        QTest::mouseClick(traffic->saveButton(), Qt::LeftButton);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith("The modem traffic could not be saved as " + path + ": "),
                 qPrintable(errors[0]));
        // A pipe (another program reading, say) is no file to replace.
        path = folder.filePath("pipe");
        QCOMPARE(::mkfifo(QFile::encodeName(path), 0644), 0);
        QTest::mouseClick(traffic->saveButton(), Qt::LeftButton);
        QCOMPARE(errors.value(1), "The modem traffic could not be saved as " + path +
                                      ": It is a pipe (FIFO), not a file.");
        QVERIFY(!QFileInfo(path).isFile());
    }

    // New rows come in by themselves while the window is open, followed at
    // the end, but not while the user reads further up.
    void followsUnlessScrolledUp() {
        for (int i = 0; i < 300; ++i)
            recorder().received(QStringLiteral("+EGPHN: %1\r\n").arg(i));
        QTRY_COMPARE(traffic->shownRows().size(), 300);
        QScrollBar* bar = traffic->text()->verticalScrollBar();
        QCOMPARE(bar->value(), bar->maximum());
        bar->setValue(10);
        recorder().received("+EGPHN: 300\r\n");
        QTRY_COMPARE(traffic->shownRows().size(), 301);
        QCOMPARE(bar->value(), 10);
    }

    // The last 10,000 rows, also when the oldest shown must make room, and
    // when a modem never breaks its lines: rows of 256 characters, the line
    // still arriving the last of them.
    void keepsTheLast10000Rows_data() {
        QTest::addColumn<bool>("lines");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("command lines") << true << "→ AT50<CR>"
                                       << "→ AT10049<CR>";
        QTest::newRow("no line breaks")
            << false << "← " + QString::number(51).rightJustified(256, '0')
            << "← " + QString(50, '9');
    }
    void keepsTheLast10000Rows() {
        QFETCH(bool, lines);
        QFETCH(QString, first);
        QFETCH(QString, last);
        for (int i = 0; i < 10050; ++i) {
            if (lines)
                recorder().sent(QStringLiteral("AT%1\r").arg(i));
            else // one row each, its number in it
                recorder().received(QString::number(i).rightJustified(256, '0'));
            if (i == 6000)
                traffic->catchUp();
        }
        if (!lines)
            recorder().received(QString(50, '9'));
        const QStringList rows = withoutStamps(shownRows());
        QCOMPARE(rows.size(), 10000);
        QCOMPARE(rows.first(), first);
        QCOMPARE(rows.last(), last);
    }
};

QTEST_MAIN(TrafficWindowTest)
#include "tst_traffic_window.moc"
