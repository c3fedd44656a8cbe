// The "Serial ports" dialog against a ports folder of the test's own and the
// virtual modem linked in it: what it lists, numbers assigned, replaced and
// removed with the port selector following at once, the changes that must
// change nothing, and what it says while connected or with no port at all.
#include "ModemWindowFixture.h"

#include "PortAssignment.h"
#include "PortNames.h"
#include "PortsDialog.h"
#include "WithoutRootOverride.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>

class PortsDialogTest : public ModemWindowFixture {
    Q_OBJECT

    PortsDialog* dialog = nullptr;
    QList<int> offered;     // the numbers the dialog offered
    int answer = 9;         // the number the user gives
    QStringList dialogSaid; // its error boxes

    PortsDialog* openDialog() {
        clickToolbar(*window, ToolbarCommand::SerialPorts);
        dialog = window->portsDialog();
        if (!dialog || !QTest::qWaitForWindowExposed(dialog))
            return nullptr;
        offered.clear();
        dialogSaid.clear();
        dialog->askComNumber = [this](const CatalogPort&, int number) -> std::optional<int> {
            offered << number;
            return answer;
        };
        dialog->showError = [this](const QString& text) { dialogSaid << text; };
        return dialog;
    }
    int rowOf(const QString& device) const {
        for (int row = 0; row < dialog->ports().size(); ++row)
            if (dialog->ports()[row].device == device)
                return row;
        return -1;
    }
    QString cell(const QString& device, int column) const {
        const QTableWidgetItem* item = dialog->table()->item(rowOf(device), column);
        return item ? item->text() : QString("no row for ") + device;
    }
    QString tooltipOfCom(int number) const {
        return window->cmbSerial()->itemData(number - 1, Qt::ToolTipRole).toString();
    }
    QString linkOf(int number) const { return QFileInfo(comLinkPath(number)).symLinkTarget(); }

private slots:
    // The modem by its link, a link whose device is gone, what a refresh finds.
    void listsWhatTheSystemAndTheLinksName() {
        QVERIFY(QFile::link("/dev/tavek-gone", comLinkPath(200)));
        QVERIFY(openDialog());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Serial ports"));
        const QString device = modem->devicePath();
        QCOMPARE(cell(device, PortsDialog::ComColumn), QString("Com %1 (link)").arg(com));
        QCOMPARE(cell(device, PortsDialog::DeviceColumn), device);
        QCOMPARE(cell(device, PortsDialog::AccessColumn), "yes");
        QCOMPARE(cell("/dev/tavek-gone", PortsDialog::DeviceColumn), "/dev/tavek-gone (missing)");
        QCOMPARE(cell("/dev/tavek-gone", PortsDialog::AccessColumn), "missing");
        QCOMPARE(cell("/dev/tavek-gone", PortsDialog::ComColumn), "Com 200 (link)");
        QVERIFY(dialog->refreshTimer()->isActive());
        QCOMPARE(dialog->refreshTimer()->interval(), 2000);

        VirtualModem plugged;
        QVERIFY(QFile::link(plugged.devicePath(), comLinkPath(201)));
        QTest::mouseClick(dialog->refreshButton(), Qt::LeftButton);
        QCOMPARE(cell(plugged.devicePath(), PortsDialog::ComColumn), "Com 201 (link)");
        QFile::remove(comLinkPath(200));
        QFile::remove(comLinkPath(201));
        dialog->close();
        QVERIFY(!dialog->refreshTimer()->isActive());
    }

    // A number given, given again by the port's stable name, and removed: the
    // selector's tooltips and the opens follow each change at once.
    void assignReplaceAndRemove() {
        QVERIFY(openDialog());
        const QString device = modem->devicePath();
        QVERIFY(dialog->choose(device));
        QTest::mouseClick(dialog->assignButton(), Qt::LeftButton);
        QCOMPARE(offered, QList<int>{com}); // the number it has
        QCOMPARE(dialogSaid, QStringList{});
        QCOMPARE(linkOf(9), device);
        QCOMPARE(tooltipOfCom(9), device);
        QCOMPARE(cell(device, PortsDialog::ComColumn),
                 QString("Com %1 (link), Com 9 (link)").arg(com));
        window->selectPort(8);
        QCOMPARE(window->connection().deviceForCommPort(), device);

        // As if udev gave it a stable name: the link is made to that one.
        QTemporaryDir byId;
        const QString stable = byId.filePath("usb-Tavek_Virtual_Modem_0001-if00-port0");
        QVERIFY(QFile::link(device, stable));
        dialog->catalog = [stable] {
            QList<CatalogPort> ports = portCatalog();
            for (CatalogPort& port : ports)
                if (port.device == QFileInfo(stable).canonicalFilePath())
                    port.byIdPath = stable;
            return ports;
        };
        dialog->refresh();
        QTest::mouseClick(dialog->assignButton(), Qt::LeftButton);
        QCOMPARE(dialogSaid, QStringList{});
        QCOMPARE(linkOf(9), stable);
        QCOMPARE(tooltipOfCom(9), device);

        QTest::mouseClick(dialog->removeButton(), Qt::LeftButton);
        QCOMPARE(dialogSaid, QStringList{});
        QVERIFY(!QFileInfo(comLinkPath(9)).isSymLink() && !QFileInfo(comLinkPath(com)).isSymLink());
        QVERIFY(tooltipOfCom(9) != device && tooltipOfCom(com) != device);
        QCOMPARE(rowOf(device), -1); // the system does not list a pseudo-terminal
    }

    void failuresChangeNothing_data() {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("error"); // a pattern
        QTest::newRow("assign, read-only folder")
            << "read-only"
            << "^The ports folder .* cannot be written: Permission denied\\. Nothing was "
               "changed\\.$";
        QTest::newRow("remove, read-only folder")
            << "read-only, remove"
            << "^com\\d+ cannot be removed from the ports folder .*: Permission denied\\. Nothing "
               "was changed\\.$";
        QTest::newRow("a number another device has")
            << "taken"
            << "^Com 9 is already taken by /dev/pts/\\d+\\. Remove that link first";
    }
    void failuresChangeNothing() {
        QFETCH(QString, situation);
        QFETCH(QString, error);
        VirtualModem other;
        if (situation == "taken")
            QVERIFY(QFile::link(other.devicePath(), comLinkPath(9)));
        QVERIFY(openDialog());
        QVERIFY(dialog->choose(modem->devicePath()));
        const QStringList tooltips{tooltipOfCom(com), tooltipOfCom(9)};
        const QStringList links{linkOf(com), linkOf(9)};
        {
            const bool readOnly = situation.startsWith("read-only");
            if (readOnly)
                QCOMPARE(::chmod(QFile::encodeName(portsFolder()), 0555), 0);
            const WithoutRootOverride asAnyUser;
            QTest::mouseClick(situation.endsWith("remove") ? dialog->removeButton()
                                                           : dialog->assignButton(),
                              Qt::LeftButton);
            if (readOnly)
                ::chmod(QFile::encodeName(portsFolder()), 0755);
        }
        QCOMPARE(dialogSaid.size(), 1);
        QVERIFY2(QRegularExpression(error).match(dialogSaid[0]).hasMatch(),
                 qPrintable(dialogSaid[0]));
        QCOMPARE((QStringList{linkOf(com), linkOf(9)}), links);
        QCOMPARE((QStringList{tooltipOfCom(com), tooltipOfCom(9)}), tooltips);
        QFile::remove(comLinkPath(9));
    }

    // While connected the dialog shows the device in use and changes nothing.
    void whileConnectedShowsTheDeviceInUse() {
        connectToTheModem();
        QVERIFY(openDialog());
        const QString device = modem->devicePath();
        QVERIFY(dialog->choose(device));
        QCOMPARE(cell(device, PortsDialog::AccessColumn), "connected");
        QVERIFY(dialog->table()->item(rowOf(device), PortsDialog::DeviceColumn)->font().bold());
        QVERIFY2(dialog->stateLabel()->text().startsWith("Connected to " + device + "."),
                 qPrintable(dialog->stateLabel()->text()));
        QVERIFY(!dialog->assignButton()->isEnabled());
        QVERIFY(!dialog->removeButton()->isEnabled());
    }

    void noPortSaysWhatToCheck() {
        QVERIFY(openDialog());
        dialog->catalog = [] { return QList<CatalogPort>{}; };
        QTest::mouseClick(dialog->refreshButton(), Qt::LeftButton);
        QCOMPARE(dialog->table()->rowCount(), 0);
        const QString said = dialog->stateLabel()->text();
        QVERIFY2(said.startsWith("No serial port was found.") && said.contains("cable") &&
                     said.contains("driver") && said.contains("dmesg"),
                 qPrintable(said));
        QVERIFY(!dialog->assignButton()->isEnabled());
    }
};

QTEST_MAIN(PortsDialogTest)
#include "tst_ports_dialog.moc"
