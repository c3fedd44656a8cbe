// What the user meets when the modem or the line does not do as asked: a
// read that did not come back whole, steps the modem did not confirm, an
// adapter pulled out (and its device number given to another), the window
// closed midway, a text longer than typing allows. The window drives the
// real serial port; the virtual modem on a 9600 bit/s line answers.
#include "ModemWindowFixture.h"

#include "DeviceTakeover.h"

#include "MessageTextBox.h"
#include "OperationTexts.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

class FailureFlowsTest : public ModemWindowFixture {
    Q_OBJECT

private slots:
    // A reply that did not end in "OK" is said once, after both reads; a
    // "Set" of that frame asks first, with No as the answer that sends nothing.
    void incompleteReadIsSaidAndSetAsks() {
        modem->setReplyFor("AT+EGPHN?", "\r\n+EGPHN: 1,\"+391\",128\r\n+EGPHN: 7,\"+39"); // cut
        connectToTheModem();
        QCOMPARE(boxes.errors, QStringList{incompleteReadText(false, true)});
        QVERIFY(window->session().phoneBookReadIncomplete() &&
                !window->session().inputsReadIncomplete());
        QCOMPARE(window->model().number(1) + "|" + window->model().number(7), "+391|");

        QTest::mouseClick(cmdSetNumbers(*window), Qt::LeftButton);
        QCOMPARE(boxes.questions, QStringList{setNumbersAfterIncompleteReadQuestion()});
        // The inputs were read whole, but without the phone book no backup of
        // the modem was kept: that is asked too.
        QTest::mouseClick(cmdSendInputs(*window), Qt::LeftButton);
        QCOMPARE(boxes.warningTitles, (QStringList{"Incomplete read", "No backup"}));
        QVERIFY(boxes.questions.last().startsWith(
            "No backup of the modem's configuration was kept: No configuration was read whole "
            "from the modem."));
        QVERIFY(!modem->waitForLines(1, 300));

        boxes.goOn = true;
        QTest::mouseClick(cmdSetNumbers(*window), Qt::LeftButton);
        QCOMPARE(modemLines().size(), 20 + 1); // and the read-back
        QVERIFY(!window->session().phoneBookReadIncomplete());
        QCOMPARE(reachable(*window), Connected);
    }

    // Steps the modem did not confirm are listed in one box at the end.
    void unconfirmedStepsAreListedOnce() {
        connectToTheModem();
        modem->setErrorFor("AT+WIOW=0,0");
        clickToolbar(*window, QStringLiteral("relay-on"));
        QCOMPARE(boxes.errors,
                 QStringList{"The modem did not confirm the relay command AT+WIOW=0,0."});
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        QCOMPARE(reachable(*window), Connected);
    }

    // An adapter pulled out during an upload: nothing more is sent, the user
    // is told once, and the window is not connected any more but keeps what
    // it shows and the chosen port, ready to connect again.
    void lostDeviceReturnsToNotConnected() {
        connectToTheModem();
        modem->vanishAtLine(3);
        QTest::mouseClick(cmdSetNumbers(*window), Qt::LeftButton);
        QCOMPARE(boxes.errors.size(), 1);
        QVERIFY2(boxes.errors[0].startsWith("The serial port /dev/pts/") &&
                     boxes.errors[0].endsWith(" was lost (was the adapter unplugged?)"),
                 qPrintable(boxes.errors[0]));
        QCOMPARE(reachable(*window), NotConnected);
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QCOMPARE(window->model().number(7), QStringLiteral("+3977"));
        QCOMPARE(cmbSerial(*window)->currentIndex(), com - 1);
        QVERIFY(!window->connection().port().isOpen());

        QVERIFY(modem->comeBack());
        boxes.errors.clear();
        connectToTheModem();
        QCOMPARE(boxes.errors, QStringList{});
    }

    // The adapter pulled out while connected, and its device number given at
    // once to another modem, under the same "Com N". The window lets the
    // device go as soon as it is lost, so the number can be given again at
    // all; then no "Set" and no command of the toolbar reaches the modem in
    // its place, and the window says the port was lost and is not connected.
    void aDeviceTakenOverGetsNothing() {
        connectToTheModem();
        const QString device = modem->devicePath();
        modem->hangUp();
        QTRY_VERIFY_WITH_TIMEOUT(!window->connection().port().isOpen(), 10'000);
        modem.reset(); // its side of the pty let go too
        DeviceTakeover takeover;
        VirtualModem* other = takeover.takeNumberOf(device);
        QVERIFY2(other, qPrintable(QStringLiteral("no new pty got %1, but %2: another program "
                                                  "holds it")
                                       .arg(device, takeover.taken())));
        QCOMPARE(other->linkAs(com), com);

        QTest::mouseClick(cmdSendInputs(*window), Qt::LeftButton);
        QTest::mouseClick(cmdSetNumbers(*window), Qt::LeftButton);
        for (const char* command : {"relay-on", "relay-off", "factory-defaults", "clear"})
            clickToolbar(*window, QLatin1String(command));

        QVERIFY(!other->waitForLines(1, 300));
        QCOMPARE(other->receivedBytes(), QByteArray());
        QCOMPARE(boxes.errors.size(), 1);
        QVERIFY2(boxes.errors[0].startsWith("The serial port " + device + " was lost"),
                 qPrintable(boxes.errors[0]));
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Disconnected"));
        QCOMPARE(reachable(*window), NotConnected);
    }

    // Closing the window ends the work before the next command: the port is
    // let go at once and nothing more reaches the modem.
    void closingTheWindowStopsTheWork() {
        connectToTheModem();
        QElapsedTimer sinceClose;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (!sinceClose.isValid() && modem->received().size() >= 3) {
                sinceClose.start();
                window->close();
            }
        });
        poll.start(5);
        QTest::mouseClick(cmdSetNumbers(*window), Qt::LeftButton);
        QVERIFY(sinceClose.isValid());
        QVERIFY2(sinceClose.elapsed() < 500, qPrintable(QString::number(sinceClose.elapsed())));
        QVERIFY(!window->connection().port().isOpen());
        QTest::qWait(400);
        QCOMPARE(modemLines().size(), 3);
        QCOMPARE(boxes.errors, QStringList{});
    }

    // A text the modem holds that is longer than the boxes take by typing is
    // shown whole, and a "Set" sends it whole.
    void longMessageComesAndGoesWhole() {
        const QByteArray sixty = QByteArray(55, 'x') + " OK!!";
        modem->setInputs({VirtualModem::Input{1, 3, 'O', 'S', sixty, ""}, {}, {}});
        connectToTheModem();
        QCOMPARE(txtMessage(*window, 1)->text(), QString::fromLatin1(sixty));
        QTest::mouseClick(cmdSendInputs(*window), Qt::LeftButton);
        QCOMPARE(modemLines().value(1), "AT+EGINP=1,\"C\",\"" + QString::fromLatin1(sixty) + "\"");
        QCOMPARE(modem->inputs()[0].messageC, sixty);
    }
};

QTEST_MAIN(FailureFlowsTest)
#include "tst_failure_flows.moc"
