// The "Modem traffic" window against the virtual modem on a 9600 bit/s line:
// the rows of a relay command, in the log file and the logging category too,
// their colours, the buttons, how it follows new rows, and its bound.
#include "ModemWindowFixture.h"

#include "TrafficRecorder.h"
#include "TrafficWindow.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include <sys/stat.h>

namespace {

// What the category tavek.modem says, while a test listens.
QStringList categoryMessages;
void captureCategory(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (QByteArray(context.category) == "tavek.modem")
        categoryMessages << message;
}

} // namespace

class TrafficWindowTest : public ModemWindowFixture {
    Q_OBJECT

    TrafficWindow* traffic = nullptr;
    // The rows once the window has taken what was recorded.
    QStringList shownRows() {
        traffic->catchUp();
        return traffic->shownRows();
    }

private slots:
    void init() {
        ModemWindowFixture::init();
        clickToolbar(*window, ToolbarCommand::ModemTraffic);
        QVERIFY((traffic = window->trafficWindow()) && QTest::qWaitForWindowExposed(traffic));
    }

    // One record, three outputs: the window, the file of "tavek --log FILE"
    // and the tavek.modem logging category show the same rows, line by line,
    // of a relay command whose reply is cut by the adapter pulled out: the
    // port's events, the line sent, what came with its control characters
    // made visible, and how the collection ended.
    void logFileAndCategoryShowTheRowsOfACommand() {
        connectToTheModem();
        QTemporaryDir folder;
        const QString path = folder.filePath("modem.log");
        TrafficLogFile::open(path, nullptr)
            ->write("an earlier run"); // given again, it starts empty
        window->setTrafficLog(TrafficLogFile::open(path, nullptr));
        QTest::mouseClick(traffic->clearButton(), Qt::LeftButton); // the connect's rows go
        modem->setReplyFor("AT+WIOW=0,0", "\r\n\x1A\x7F and the rest");
        modem->hangUpAfterBytes(16);                // its echo, then CR LF and the two controls
        const QString device = modem->devicePath(); // a vanished modem has none
        QLoggingCategory::setFilterRules("tavek.modem=true");
        categoryMessages.clear();
        const QtMessageHandler before = qInstallMessageHandler(captureCategory);

        clickToolbar(*window, ToolbarCommand::RelayOn);

        qInstallMessageHandler(before);
        QLoggingCategory::setFilterRules("tavek.modem=false");
        const QStringList rows = shownRows();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), rows.join('\n') + '\n');
        QCOMPARE(categoryMessages, rows);
        // Past the time stamp: what was received, in reads cut by the line's
        // timing (late characters thrown away are in it already), and the rest.
        QStringList events;
        QString received;
        for (const QString& row : rows) {
            if (row.mid(13, 2) == "← ")
                received += row.mid(15);
            else if (!row.endsWith(" thrown away"))
                events << row.mid(13);
        }
        QCOMPARE(events, (QStringList{"· port opened: " + device, "→ AT+WIOW=0,0<CR>",
                                      "· port lost: " + device, "· end of reply: port lost",
                                      "· port closed: " + device}));
        QVERIFY2(received.contains("AT+WIOW=0,0<CR><CR><LF><0x1A><0x7F>"), qPrintable(received));
    }

    // The program says so at once when the log cannot be written, and starts no window.
    void programRefusesALogItCannotWrite() {
        QProcess tavek;
        tavek.start(TAVEK_PROGRAM, {"--log", "/nonexistent-folder/modem.log"});
        QVERIFY(tavek.waitForFinished(20000));
        QCOMPARE(tavek.exitCode(), 1);
        QVERIFY(tavek.readAllStandardError().contains(
            "tavek: cannot write the log /nonexistent-folder/modem.log: No such file"));
    }

    // Sent, received and other rows in colours of the palette, shown anew
    // when a dark one is set while the window is open.
    void coloursComeFromThePalette() {
        window->trafficRecorder().portOpened("/dev/ttyUSB0");
        window->trafficRecorder().sent("AT\r");
        window->trafficRecorder().received("OK");
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
        window->trafficRecorder().sent("AT\r");
        window->trafficRecorder().received("AT\r\r\nOK\r\n");
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
            window->trafficRecorder().received(QStringLiteral("+EGPHN: %1\r\n").arg(i));
        QTRY_COMPARE(traffic->shownRows().size(), 300);
        QScrollBar* bar = traffic->text()->verticalScrollBar();
        QCOMPARE(bar->value(), bar->maximum());
        bar->setValue(10);
        window->trafficRecorder().received("+EGPHN: 300\r\n");
        QTRY_COMPARE(traffic->shownRows().size(), 301);
        QCOMPARE(bar->value(), 10);
    }

    // The last 10,000 rows, also when the oldest shown must make room.
    void keepsTheLast10000Rows() {
        for (int i = 0; i < 10050; ++i) {
            window->trafficRecorder().sent(QStringLiteral("AT%1\r").arg(i));
            if (i == 6000)
                traffic->catchUp();
        }
        const QStringList rows = shownRows();
        QCOMPARE(rows.size(), 10000);
        QVERIFY2(rows.first().endsWith("→ AT50<CR>") && rows.last().endsWith("→ AT10049<CR>"),
                 qPrintable(rows.first() + '\n' + rows.last()));
    }
};

QTEST_MAIN(TrafficWindowTest)
#include "tst_traffic_window.moc"
