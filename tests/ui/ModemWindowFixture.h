#pragma once

#include "WindowFixture.h"

#include "VirtualModem.h"

#include <QLabel>
#include <QObject>

#include <memory>

// A main window in front of the user and a virtual modem on a 9600 bit/s
// line, linked as a "Com N" of its own. The modal boxes are answered here,
// and what they said is kept.
class ModemWindowFixture : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<VirtualModem> modem;
    int com = 0;
    std::unique_ptr<MainWindow> window;
    // What the boxes said, how they are answered, and the connection
    // button's image while the error box was up.
    struct {
        QStringList errors, confirmations, questions, warningTitles;
        // The confirmations' answer, and the warnings' (No, their default).
        bool answerYes = true, goOn = false;
        int imageAtError = 0;
    } boxes;

    QStringList modemLines() const {
        QStringList lines;
        for (const auto& received : modem->received())
            lines << QString::fromLatin1(received.line);
        return lines;
    }
    void chooseTheModemsPort() { cmbSerial(*window)->setCurrentIndex(com - 1); }
    void connectToTheModem() {
        chooseTheModemsPort();
        clickToolbar(*window, QStringLiteral("connection"));
        QCOMPARE(window->statusLine()->text(), QStringLiteral("Modem Connected"));
        modem->clearReceived();
    }

protected slots:
    void init() {
        modem = std::make_unique<VirtualModem>();
        modem->setInputs({VirtualModem::Input{1, 3, 'O', 'S', "Alarm one", "Back one"},
                          // Resting closed, its Single message is the one for an opening contact.
                          VirtualModem::Input{1, 10, 'C', 'D', "Door shut", "Door open"},
                          VirtualModem::Input{0, 0, 'O', 'S', "", ""}});
        modem->setPhoneBook({"+391", "", "", "", "", "", "+3977"});
        QVERIFY(window = shownWindow());
        // Any free number: other test programs may hold a modem of their own.
        QVERIFY((com = modem->linkAs()) > 0);
        boxes = {};
        window->dialogs().modemError = [this](const QString& text) {
            boxes.errors << text;
            boxes.imageAtError = window->toolbar()->connectionImage();
        };
        window->dialogs().confirm = [this](const QString& text) {
            boxes.confirmations << text;
            return boxes.answerYes;
        };
        window->dialogs().warn = [this](const QString& title, const QString& text) {
            boxes.warningTitles << title;
            boxes.questions << text;
            return boxes.goOn;
        };
    }
    void cleanup() {
        window.reset();
        modem.reset();
    }
};
