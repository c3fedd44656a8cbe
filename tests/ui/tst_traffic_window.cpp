// The "Modem traffic" window against the virtual modem on a 9600 bit/s line:
// the rows of a connect, of relay commands answered, cut, paused and lost,
// the bound, the buttons, and the log file and logging category that get
// the same rows.
#include "ModemWindowFixture.h"

#include "TrafficRecorder.h"
#include "TrafficWindow.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QRegularExpression rowPattern("^(\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d) ([→←·]) (.*)$");

// The rows apart from what was received, and all that was received in one
// text: how a reply is cut into reads depends on the line's timing. Late
// characters thrown away are in the received text already.
struct Seen {
    QStringList events;
    QString received;
};
Seen seen(const QStringList& rows) {
    Seen out;
    for (const QString& row : rows) {
        const QRegularExpressionMatch match = rowPattern.match(row);
        if (!match.hasMatch())
            out.events << "not a row: " + row;
        else if (match.captured(2) == "←")
            out.received += match.captured(3);
        else if (!match.captured(3).endsWith(" thrown away"))
            out.events << match.captured(2) + " " + match.captured(3);
    }
    return out;
}

QTime timeOf(const QString& row) {
    return QTime::fromString(row.left(12), "hh:mm:ss.zzz");
}

// What the category tavek.modem says, while a test listens.
QStringList categoryMessages;
void captureCategory(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (QByteArray(context.category) == "tavek.modem")
        categoryMessages << message;
}

} // namespace

class TrafficWindowTest : public ModemWindowFixture {
    Q_OBJECT

    TrafficWindow* openTrafficWindow() {
        clickToolbar(*window, ToolbarCommand::ModemTraffic);
        TrafficWindow* traffic = window->trafficWindow();
        return traffic && QTest::qWaitForWindowExposed(traffic) ? traffic : nullptr;
    }
    // The rows once the window has taken what was recorded.
    QStringList shownRows(TrafficWindow& traffic) {
        traffic.catchUp();
        return traffic.shownRows();
    }
    QString device() const { return modem->devicePath(); }
    QStringList opened(const QString& command) const {
        return {"· port opened: " + device(), "→ " + command + "<CR>"};
    }

private slots:
    // The new buttons sit after the relays, About stays last, and they work
    // whether a modem is connected or not.
    void buttonsBetweenTheRelaysAndAbout() {
        const QList<QAction*> actions = window->toolbar()->actions();
        const auto at = [&](ToolbarCommand command) {
            return actions.indexOf(window->toolbar()->action(command));
        };
        QVERIFY(at(ToolbarCommand::ModemTraffic) > at(ToolbarCommand::RelayOff));
        QCOMPARE(at(ToolbarCommand::SerialPorts), at(ToolbarCommand::ModemTraffic) + 1);
        QCOMPARE(at(ToolbarCommand::About), actions.size() - 1);
        for (ToolbarCommand command : {ToolbarCommand::ModemTraffic, ToolbarCommand::SerialPorts}) {
            QVERIFY(window->toolbar()->button(command)->isEnabled());
            QVERIFY(!MainToolbar::needsConnection(command));
        }
        QCOMPARE(window->toolbar()->button(ToolbarCommand::ModemTraffic)->toolTip(),
                 QStringLiteral("Modem traffic"));
        QCOMPARE(window->toolbar()->button(ToolbarCommand::SerialPorts)->toolTip(),
                 QStringLiteral("Serial ports"));
        connectToTheModem();
        TrafficWindow* traffic = openTrafficWindow();
        QVERIFY(traffic);
        QCOMPARE(traffic->windowTitle(), QStringLiteral("Modem traffic"));
        QVERIFY(!traffic->isModal());
        clickToolbar(*window, ToolbarCommand::ModemTraffic); // once only
        QCOMPARE(window->findChildren<TrafficWindow*>().size(), 1);
    }

    // Each exchange of the check and the two reads: the port, each line
    // sent, what came, and how each collection ended.
    void rowsOfAConnectAndItsTwoReads() {
        TrafficWindow* traffic = openTrafficWindow();
        QVERIFY(traffic);
        connectToTheModem();
        const QStringList rows = shownRows(*traffic);

        const Seen traffic_ = seen(rows);
        const QString end = "· end of reply: complete", closed = "· port closed: " + device();
        const QStringList expected = opened("AT") + QStringList{end, end, closed} +
                                     opened("AT+EGINP?") + QStringList{end, closed} +
                                     opened("AT+EGPHN?") + QStringList{end, closed};
        QCOMPARE(traffic_.events, expected);
        // Every character the modem sent, in order; a bit of the check's
        // "OK" may have gone with the close after it.
        const QRegularExpression received(
            "^AT<CR><CR><LF>O.*AT\\+EGINP\\?<CR><CR><LF>\\+EGINP: 1,1,00003,\"O\",\"S\"<CR><LF>"
            "\\+EGINP: 1,\"C\",\"Alarm one\"<CR><LF>.*<CR><LF>OK<CR>(<LF>)?"
            "AT\\+EGPHN\\?<CR><CR><LF>\\+EGPHN: 1,\"\\+391\",128<CR><LF>"
            "\\+EGPHN: 7,\"\\+3977\",128<CR><LF><CR><LF>OK<CR>(<LF>)?$");
        QVERIFY2(received.match(traffic_.received).hasMatch(), qPrintable(traffic_.received));
        for (int i = 1; i < rows.size(); ++i)
            QVERIFY2(timeOf(rows[i - 1]) <= timeOf(rows[i]), qPrintable(rows[i]));
    }

    void rowsOfARelayCommand_data() {
        QTest::addColumn<QString>("line"); // what the modem or the line does
        QTest::addColumn<QString>("end");  // how the collection ends
        QTest::addColumn<QString>("received");
        const QString echo = "^(<LF>)?AT\\+WIOW=0,0<CR>"; // an LF of the read before may come late
        QTest::newRow("answered") << ""
                                  << "complete" << echo + "<CR><LF>OK<CR>(<LF>)?$";
        QTest::newRow("cut short") << "cut"
                                   << "time-out" << echo + "<CR><LF>O$";
        QTest::newRow("paused midway") << "pause"
                                       << "complete" << echo + "<CR><LF>OK<CR>(<LF>)?$";
        QTest::newRow("control characters")
            << "controls"
            << "complete" << echo + "<CR><LF><0x1A><0x7F><CR><LF>OK<CR>(<LF>)?$";
        QTest::newRow("port lost") << "lost"
                                   << "port lost"
                                   << "^(<LF>)?AT\\+WIOW=0,0(<CR>)?$";
    }
    void rowsOfARelayCommand() {
        QFETCH(QString, line);
        QFETCH(QString, end);
        QFETCH(QString, received);
        connectToTheModem();
        TrafficWindow* traffic = openTrafficWindow();
        QVERIFY(traffic);
        QTest::mouseClick(traffic->clearButton(), Qt::LeftButton);
        QCOMPARE(shownRows(*traffic), QStringList{});
        if (line == "cut")
            modem->setReplyFor("AT+WIOW=0,0", "\r\nO");
        else if (line == "pause")
            modem->setChunks(3, 700); // "\r\nO", 0.7 s of nothing, "K\r\n"
        else if (line == "controls")
            modem->setReplyFor("AT+WIOW=0,0", "\r\n\x1A\x7F\r\nOK\r\n");
        else if (line == "lost")
            modem->vanishAtLine(1);
        const QString before = device(); // a vanished modem has none

        clickToolbar(*window, ToolbarCommand::RelayOn);

        const QStringList rows = shownRows(*traffic);
        const Seen traffic_ = seen(rows);
        QStringList events{"· port opened: " + before, "→ AT+WIOW=0,0<CR>"};
        if (line == "lost")
            events << "· port lost: " + before;
        events << "· end of reply: " + end << "· port closed: " + before;
        QCOMPARE(traffic_.events, events);
        QVERIFY2(QRegularExpression(received).match(traffic_.received).hasMatch(),
                 qPrintable(traffic_.received));
        if (line == "pause") {
            // The pause shows between two received rows: one ends where the
            // reply stopped, the next begins where it went on.
            qsizetype cut = -1;
            for (qsizetype i = 0; i + 1 < rows.size(); ++i)
                if (rows[i].endsWith("O") && rows[i + 1].contains("← K"))
                    cut = i;
            QVERIFY2(cut >= 0, qPrintable(rows.join('\n')));
            QVERIFY2(timeOf(rows[cut]).msecsTo(timeOf(rows[cut + 1])) > 300,
                     qPrintable(rows.join('\n')));
        }
        if (line == "cut") // the time-out is the relay command's 1.5 s
            QVERIFY(timeOf(rows[1]).msecsTo(timeOf(rows.value(rows.size() - 2))) >= 1500);
    }

    // Sent and received rows in different colours of the palette, so a
    // dark theme keeps them apart too.
    void coloursComeFromThePalette() {
        TrafficWindow* traffic = openTrafficWindow();
        QVERIFY(traffic);
        TrafficRecorder& recorder = window->trafficRecorder();
        recorder.portOpened("/dev/ttyUSB0");
        recorder.sent("AT\r");
        recorder.received("OK");
        shownRows(*traffic);
        const auto colours = [&] {
            return QList<QColor>{traffic->rowColour(0), traffic->rowColour(1),
                                 traffic->rowColour(2)};
        };
        const QPalette light = traffic->palette();
        QCOMPARE(colours(),
                 (QList<QColor>{light.color(QPalette::PlaceholderText), light.color(QPalette::Link),
                                light.color(QPalette::Text)}));
        QVERIFY(light.color(QPalette::Link) != light.color(QPalette::Text));

        QPalette dark = light;
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
        dark.setColor(QPalette::Link, QColor(0x80, 0xb0, 0xff));
        dark.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
        traffic->setPalette(dark);
        QCOMPARE(colours(), (QList<QColor>{QColor(0x90, 0x90, 0x90), QColor(0x80, 0xb0, 0xff),
                                           QColor(0xe0, 0xe0, 0xe0)}));
        QVERIFY(QFontInfo(traffic->text()->font()).fixedPitch());
    }

    // New rows come into the window by themselves while it is open, in a
    // moment (at most 0.1 s after the first); while it is closed the
    // recorder goes on alone.
    void followsTheRecorderByItself() {
        TrafficWindow* traffic = openTrafficWindow();
        QVERIFY(traffic);
        window->trafficRecorder().sent("AT\r");
        window->trafficRecorder().received("OK");
        QCOMPARE(traffic->shownRows().size(), 0);
        QTRY_COMPARE(traffic->shownRows().size(), 2);
        traffic->hide();
        window->trafficRecorder().sent("ATI\r");
        QTest::qWait(300);
        QCOMPARE(traffic->shownRows().size(), 2);
        traffic->show();
        QCOMPARE(traffic->shownRows().size(), 3);
    }

    // The last 10,000 rows, also for a window opened after them; a clear
    // empties it, and what comes next shows alone.
    void keepsTheLast10000Rows() {
        TrafficWindow* traffic = openTrafficWindow();
        QVERIFY(traffic);
        TrafficRecorder& recorder = window->trafficRecorder();
        for (int i = 0; i < 10050; ++i)
            recorder.sent(QStringLiteral("AT%1\r").arg(i));
        QStringList rows = shownRows(*traffic);
        QCOMPARE(rows.size(), 10000);
        QVERIFY2(rows.first().endsWith("→ AT50<CR>"), qPrintable(rows.first()));
        QVERIFY2(rows.last().endsWith("→ AT10049<CR>"), qPrintable(rows.last()));

        traffic->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window->trafficWindow()); // gone with its close
        recorder.sent("AT10050\r");
        traffic = openTrafficWindow();
        QVERIFY(traffic);
        rows = shownRows(*traffic);
        QCOMPARE(rows.size(), 10000);
        QVERIFY(rows.first().endsWith("→ AT51<CR>") && rows.last().endsWith("→ AT10050<CR>"));

        QTest::mouseClick(traffic->clearButton(), Qt::LeftButton);
        QCOMPARE(shownRows(*traffic), QStringList{});
        recorder.sent("ATI\r");
        rows = shownRows(*traffic);
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows[0].endsWith("→ ATI<CR>"));
    }

    // New rows are followed at the end, not while the user reads further up.
    void scrollsAlongUnlessScrolledUp() {
        TrafficWindow* traffic = openTrafficWindow();
        QVERIFY(traffic);
        TrafficRecorder& recorder = window->trafficRecorder();
        const auto add = [&](int rows) {
            for (int i = 0; i < rows; ++i)
                recorder.received(QStringLiteral("+EGPHN: %1\r\n").arg(i));
            shownRows(*traffic);
        };
        QScrollBar* bar = traffic->text()->verticalScrollBar();
        add(300);
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        const int before = bar->maximum();
        add(20);
        QVERIFY(bar->maximum() > before);
        QCOMPARE(bar->value(), bar->maximum());
        bar->setValue(10);
        add(20);
        QCOMPARE(bar->value(), 10);
    }

    void saveAsWritesWhatIsShown_data() {
        QTest::addColumn<QString>("name"); // in a folder of the test's own
        QTest::addColumn<bool>("saved");
        QTest::newRow("a file") << "traffic.txt" << true;
        QTest::newRow("a folder that is not there") << "missing/traffic.txt" << false;
    }
    void saveAsWritesWhatIsShown() {
        QFETCH(QString, name);
        QFETCH(bool, saved);
        TrafficWindow* traffic = openTrafficWindow();
        QVERIFY(traffic);
        connectToTheModem();
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        traffic->askSaveFileName = [&] { return path; };
        QStringList errors;
        traffic->showError = [&](const QString& text) { errors << text; };
        const QStringList rows = shownRows(*traffic);
        QVERIFY(rows.size() > 10);

        QTest::mouseClick(traffic->saveButton(), Qt::LeftButton);

        QFile file(path);
        QCOMPARE(file.open(QIODevice::ReadOnly), saved);
        if (saved) {
            QCOMPARE(QString::fromUtf8(file.readAll()), rows.join('\n') + '\n');
            QCOMPARE(errors, QStringList{});
        } else {
            QCOMPARE(errors.size(), 1);
            QVERIFY2(errors[0].startsWith("The modem traffic could not be saved as " + path + ": "),
                     qPrintable(errors[0]));
        }
    }

    void copyTakesTheChosenTextOrEveryRow() {
        TrafficWindow* traffic = openTrafficWindow();
        QVERIFY(traffic);
        window->trafficRecorder().sent("AT\r");
        window->trafficRecorder().received("AT\r\r\nOK\r\n");
        const QStringList rows = shownRows(*traffic);
        QTest::mouseClick(traffic->copyButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), rows.join('\n') + '\n');
        QTextCursor chosen = traffic->text()->textCursor();
        chosen.setPosition(int(rows[0].size()) + 1); // the second row, whole
        chosen.setPosition(int(rows[0].size() + 1 + rows[1].size()), QTextCursor::KeepAnchor);
        traffic->text()->setTextCursor(chosen);
        QTest::mouseClick(traffic->copyButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), rows[1]);
    }

    // One record, three outputs: the window, the file of "tavek --log FILE"
    // and the tavek.modem logging category show the same rows, line by
    // line, through a whole connect.
    void logFileAndCategoryFollowAWholeConnect() {
        QTemporaryDir folder;
        const QString path = folder.filePath("modem.log");
        QFile earlier(path); // a log given again starts empty
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("an earlier run\n") > 0);
        earlier.close();
        QString reason;
        std::unique_ptr<TrafficLogFile> log = TrafficLogFile::open(path, &reason);
        QVERIFY2(log, qPrintable(reason));
        window->setTrafficLog(std::move(log));
        TrafficWindow* traffic = openTrafficWindow();
        QVERIFY(traffic);
        QLoggingCategory::setFilterRules("tavek.modem=true");
        categoryMessages.clear();
        const QtMessageHandler before = qInstallMessageHandler(captureCategory);

        connectToTheModem();

        qInstallMessageHandler(before);
        QLoggingCategory::setFilterRules("tavek.modem=false");
        const QStringList rows = shownRows(*traffic);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        QCOMPARE(lines.last(), QString()); // every line ended
        QCOMPARE(lines.mid(0, lines.size() - 1), rows);
        QCOMPARE(categoryMessages, rows);
        QVERIFY(rows.first().endsWith("· port opened: " + device()));
        QVERIFY(rows.last().endsWith("· port closed: " + device()));
    }

    // The program says so at once when the log cannot be written, and starts no window.
    void programRefusesALogItCannotWrite() {
        QProcess tavek;
        tavek.start(TAVEK_PROGRAM, {"--log", "/nonexistent-folder/modem.log"});
        QVERIFY(tavek.waitForFinished(20000));
        QCOMPARE(tavek.exitCode(), 1);
        QCOMPARE(QString::fromLocal8Bit(tavek.readAllStandardError()).split('\n').last(2).first(),
                 "tavek: cannot write the log /nonexistent-folder/modem.log: No such file or "
                 "directory");
    }
};

QTEST_MAIN(TrafficWindowTest)
#include "tst_traffic_window.moc"
