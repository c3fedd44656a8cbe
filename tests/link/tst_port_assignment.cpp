// Giving a port a fixed "Com N": links made, replaced and removed in a ports
// folder of the test's own, the cases that must change nothing, and what the
// catalog and "Com N" make of the result.
#include "PortAssignment.h"
#include "PortNames.h"
#include "VirtualModem.h"
#include "WithoutRootOverride.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// The folder as "name -> target" (or "name: file"), sorted.
QStringList folderEntries() {
    QStringList entries;
    const QDir folder(portsFolder());
    for (const QFileInfo& entry : folder.entryInfoList(
             QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        entries << (entry.isSymLink() ? entry.fileName() + " -> " + entry.symLinkTarget()
                                      : entry.fileName() + ": file");
    return entries;
}

void makeLink(const QString& target, int number) {
    QVERIFY(QFile::link(target, comLinkPath(number)));
}

// The folder is read-only for as long as this lives, for root too.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(bool on) : on_(on) {
        if (on_)
            ::chmod(QFile::encodeName(portsFolder()).constData(), 0555);
    }
    ~ReadOnlyFolder() {
        if (on_)
            ::chmod(QFile::encodeName(portsFolder()).constData(), 0755);
    }

private:
    bool on_;
    WithoutRootOverride asAnyUser_;
};

} // namespace

class PortAssignmentTest : public QObject {
    Q_OBJECT

    QTemporaryDir devices; // files that stand for devices, and a stable name
    QString device, stableName, other;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        device = devices.filePath("ttyUSB0");
        other = devices.filePath("ttyUSB1");
        for (const QString& path : {device, other}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        stableName = devices.filePath("usb-FTDI_FT232R_USB_UART_A1234567-if00-port0");
        QVERIFY(QFile::link(device, stableName));
    }
    void init() {
        QDir(portsFolder()).removeRecursively();
        QVERIFY(QDir().mkpath(portsFolder()));
    }

    void assign_data() {
        QTest::addColumn<QString>("before"); // what com5 is: none, own, other, gone, file
        QTest::addColumn<bool>("stable");    // the port has a /dev/serial/by-id name
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("after"); // com5's target afterwards
        QTest::addColumn<QString>("error"); // a pattern; empty for none
        const QString nothing = " Nothing was changed\\.$";
        const QString taken = "^Com 5 is already taken by %1\\. Remove that link first, or "
                              "choose another number\\." +
                              nothing;
        const QString notWritable =
            "^The ports folder .*/tavek/ports cannot be written: Permission denied\\." + nothing;
        QTest::newRow("a free number") << "none" << false << false << 5 << "device"
                                       << "";
        QTest::newRow("by its stable name") << "none" << true << false << 5 << "stable"
                                            << "";
        QTest::newRow("its own link replaced") << "own" << true << false << 5 << "stable"
                                               << "";
        QTest::newRow("taken by another device")
            << "other" << false << false << 5 << "other" << taken.arg(".*/ttyUSB1");
        QTest::newRow("taken by a device not plugged in")
            << "gone" << false << false << 5 << "gone" << taken.arg("/dev/tavek-gone");
        QTest::newRow("a file in the way")
            << "file" << false << false << 5 << "file"
            << "^Com 5 cannot be assigned: .*/com5 is there and is not a link\\." + nothing;
        QTest::newRow("a read-only folder")
            << "none" << false << true << 5 << "none" << notWritable;
        QTest::newRow("a read-only folder keeps the old link")
            << "own" << true << true << 5 << "device" << notWritable;
        QTest::newRow("no Com 0") << "none" << false << false << 0 << "none"
                                  << "^Com numbers go from 1 to 255\\." + nothing;
        QTest::newRow("no Com 256") << "none" << false << false << 256 << "none"
                                    << "^Com numbers go from 1 to 255\\." + nothing;
    }
    void assign() {
        QFETCH(QString, before);
        QFETCH(bool, stable);
        QFETCH(bool, readOnly);
        QFETCH(int, number);
        QFETCH(QString, after);
        QFETCH(QString, error);
        const QHash<QString, QString> targets{{"device", device},
                                              {"stable", stableName},
                                              {"other", other},
                                              {"gone", "/dev/tavek-gone"}};
        if (before == "own")
            makeLink(device, 5);
        else if (targets.contains(before))
            makeLink(targets[before], 5);
        else if (before == "file")
            QVERIFY(QFile(comLinkPath(5)).open(QIODevice::WriteOnly));
        CatalogPort port;
        port.device = device;
        port.present = true;
        if (stable)
            port.byIdPath = stableName;
        const QStringList entriesBefore = folderEntries();

        std::optional<QString> result;
        {
            const ReadOnlyFolder folder(readOnly);
            result = assignComNumber(port, number);
        }

        if (error.isEmpty()) {
            QVERIFY2(!result, qPrintable(result.value_or("")));
            QCOMPARE(folderEntries(), QStringList{"com5 -> " + targets[after]});
            QCOMPARE(deviceForComPort(5, {}), device); // the device, by either name
        } else {
            QVERIFY(result);
            QVERIFY2(QRegularExpression(error).match(*result).hasMatch(), qPrintable(*result));
            QCOMPARE(folderEntries(), entriesBefore);
        }
    }

    void remove_data() {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("error");
        QTest::newRow("both links") << QList<int>{5, 6} << false << QStringList{} << "";
        QTest::newRow("one, the other stays")
            << QList<int>{6} << false << QStringList{"com5"} << "";
        QTest::newRow("a number without a link is passed over")
            << QList<int>{7, 5} << false << QStringList{"com6"} << "";
        QTest::newRow("a read-only folder keeps both")
            << QList<int>{5, 6} << true << QStringList{"com5", "com6"}
            << "^com5 cannot be removed from the ports folder .*: Permission denied\\. Nothing "
               "was changed\\.$";
    }
    void remove() {
        QFETCH(QList<int>, numbers);
        QFETCH(bool, readOnly);
        QFETCH(QStringList, left);
        QFETCH(QString, error);
        makeLink(device, 5);
        makeLink(other, 6);

        std::optional<QString> result;
        {
            const ReadOnlyFolder folder(readOnly);
            result = removeComLinks(numbers);
        }

        QCOMPARE(result.has_value(), !error.isEmpty());
        if (result)
            QVERIFY2(QRegularExpression(error).match(*result).hasMatch(), qPrintable(*result));
        QCOMPARE(QDir(portsFolder()).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot),
                 left);
    }

    void numberOffered() {
        makeLink("/dev/tavek-gone", 3); // taken, though its device is not there
        CatalogPort linked, listed, neither;
        linked.linkPaths = {comLinkPath(4)};
        linked.comNumbers = {4};
        listed.comNumbers = {2};
        neither.device = device;
        CatalogPort first;
        first.device = "/dev/ttyS0";
        first.comNumbers = {1};
        first.listed = true;
        const QList<CatalogPort> catalog{first, listed, linked, neither};
        QCOMPARE(suggestedComNumber(linked, catalog), 4);
        QCOMPARE(suggestedComNumber(listed, catalog), 2);
        QCOMPARE(suggestedComNumber(neither, catalog), 5);
    }

    // A virtual modem, a pseudo-terminal the system does not list, given a
    // number and had it taken away again.
    void catalogAndComNumberFollow() {
        VirtualModem modem;
        CatalogPort port;
        port.device = modem.devicePath();
        port.present = true;
        const auto find = [&]() -> std::optional<CatalogPort> {
            for (const CatalogPort& p : portCatalog())
                if (p.device == modem.devicePath())
                    return p;
            return std::nullopt;
        };
        QVERIFY(!find());

        QVERIFY(!assignComNumber(port, 12));
        QCOMPARE(deviceForComPort(12), modem.devicePath());
        const std::optional<CatalogPort> listed = find();
        QVERIFY(listed);
        QCOMPARE(listed->comNumbers, QList<int>{12});
        QCOMPARE(linkedNumbers(*listed), QList<int>{12});
        QVERIFY(listed->present && listed->accessible);

        QVERIFY(!removeComLinks(linkedNumbers(*listed)));
        QVERIFY(!find());
        QVERIFY(deviceForComPort(12) != modem.devicePath());
    }
};

QTEST_GUILESS_MAIN(PortAssignmentTest)
#include "tst_port_assignment.moc"
