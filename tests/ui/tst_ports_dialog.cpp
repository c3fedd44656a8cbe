// The "Serial ports" dialog against a ports folder of the test's own and the
// virtual modem linked in it: what it lists, a number given and removed with
// the port selector following at once, a refused change that changes
// nothing, and what it shows while connected. Which links are made and
// refused, and in what words, is met in tests/link.
#include "ModemWindowFixture.h"

#include "PortAssignment.h"
#include "PortsDialog.h"

#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

class PortsDialogTest : public ModemWindowFixture {
    Q_OBJECT

    PortsDialog* dialog = nullptr;
    QStringList dialogSaid; // its error boxes

    QString cell(const QString& device, int column) const {
        for (int row = 0; row < dialog->ports().size(); ++row)
            if (dialog->ports()[row].device == device)
                return dialog->table()->item(row, column)->text();
        return "no row for " + device;
    }
    QString tooltipOfCom(int number) const {
        return cmbSerial(*window)->itemData(number - 1, Qt::ToolTipRole).toString();
    }

private slots:
    // The dialog open, the user giving Com 9 when asked.
    void init() {
        ModemWindowFixture::init();
        dialogSaid.clear();
        clickToolbar(*window, QStringLiteral("serial-ports"));
        QVERIFY((dialog = window->findChild<PortsDialog*>()) &&
                QTest::qWaitForWindowExposed(dialog));
        dialog->askComNumber = [](const CatalogPort&, int) { return std::optional<int>(9); };
        dialog->showError = [this](const QString& text) { dialogSaid << text; };
    }
    void cleanup() {
        for (int number : {9, 200, 201})
            QFile::remove(comLinkPath(number));
        ModemWindowFixture::cleanup();
    }

    // The modem by its link, a link whose device is gone, a port plugged in
    // since the dialog opened.
    void listsWhatTheLinksName() {
        VirtualModem plugged;
        QVERIFY(QFile::link(plugged.devicePath(), comLinkPath(201)));
        QVERIFY(QFile::link("/dev/tavek-gone", comLinkPath(200)));
        QTest::mouseClick(dialog->refreshButton(), Qt::LeftButton);
        const QString device = modem->devicePath(), gone = "/dev/tavek-gone";
        QCOMPARE(cell(device, PortsDialog::ComColumn) + " | " +
                     cell(device, PortsDialog::AccessColumn),
                 QString("Com %1 (link) | yes").arg(com));
        QCOMPARE(cell(gone, PortsDialog::DeviceColumn) + " | " +
                     cell(gone, PortsDialog::AccessColumn),
                 "/dev/tavek-gone (missing) | missing");
        QCOMPARE(cell(plugged.devicePath(), PortsDialog::ComColumn), "Com 201 (link)");
    }

    // A number given and removed: the dialog, the selector's tooltips and
    // the opens follow each change at once.
    void assignAndRemove() {
        const QString device = modem->devicePath();
        QVERIFY(dialog->choose(device));
        QTest::mouseClick(dialog->assignButton(), Qt::LeftButton);
        QCOMPARE(tooltipOfCom(9), device);
        cmbSerial(*window)->setCurrentIndex(8);
        QCOMPARE(window->connection().deviceForCommPort(), device);

        QTest::mouseClick(dialog->removeButton(), Qt::LeftButton);
        QCOMPARE(dialogSaid, QStringList{});
        QVERIFY(tooltipOfCom(9) != device && tooltipOfCom(com) != device);
        // The system does not list a pseudo-terminal without its link.
        QCOMPARE(cell(device, PortsDialog::ComColumn), "no row for " + device);
    }

    void aRefusedNumberIsSaidAndChangesNothing() {
        VirtualModem other;
        QVERIFY(QFile::link(other.devicePath(), comLinkPath(9)));
        const QString tooltips = tooltipOfCom(9) + " " + tooltipOfCom(com);
        QVERIFY(dialog->choose(modem->devicePath()));
        QTest::mouseClick(dialog->assignButton(), Qt::LeftButton);
        QCOMPARE(dialogSaid.size(), 1); // its words are met in tests/link
        QCOMPARE(tooltipOfCom(9) + " " + tooltipOfCom(com), tooltips);
    }

    // While connected the dialog shows the device in use and changes nothing.
    void whileConnectedShowsTheDeviceInUse() {
        connectToTheModem();
        const QString device = modem->devicePath();
        QTest::mouseClick(dialog->refreshButton(), Qt::LeftButton);
        QVERIFY(dialog->choose(device));
        QCOMPARE(cell(device, PortsDialog::AccessColumn), "connected");
        QVERIFY(!dialog->assignButton()->isEnabled() && !dialog->removeButton()->isEnabled());
    }
};

QTEST_MAIN(PortsDialogTest)
#include "tst_ports_dialog.moc"
