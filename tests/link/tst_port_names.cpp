// "Com N" to device, and how open failures reach the user: pure functions
// and the ports folder, no modem needed.
#include "LinkState.h"
#include "ModemLink.h"
#include "PortErrors.h"
#include "PortNames.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimeZone>
#include <QtTest>

#include <cerrno>
#include <cstring>

Q_DECLARE_METATYPE(PortError)

class PortNamesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(portsFolder()).removeRecursively();
        QVERIFY(QDir().mkpath(portsFolder()));
    }
    void cleanupTestCase() { QDir(portsFolder()).removeRecursively(); }

    void listedPortsAreUsbFirstInNaturalOrder_data() {
        QTest::addColumn<QList<ListedPort>>("listed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("numbers by value") << QList<ListedPort>{{"/dev/ttyS10", false},
                                                               {"/dev/ttyS2", false},
                                                               {"/dev/ttyS1", false}}
                                          << QStringList{"/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10"};
        QTest::newRow("usb before the rest")
            << QList<ListedPort>{{"/dev/ttyS0", false},
                                 {"/dev/ttyUSB1", true},
                                 {"/dev/ttyACM0", true}}
            << QStringList{"/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyS0"};
        QTest::newRow("usb group in natural order too")
            << QList<ListedPort>{{"/dev/ttyUSB10", true},
                                 {"/dev/ttyS3", false},
                                 {"/dev/ttyUSB9", true}}
            << QStringList{"/dev/ttyUSB9", "/dev/ttyUSB10", "/dev/ttyS3"};
        QTest::newRow("prefix before longer name")
            << QList<ListedPort>{{"/dev/ttyS1a", false}, {"/dev/ttyS1", false}}
            << QStringList{"/dev/ttyS1", "/dev/ttyS1a"};
        QTest::newRow("leading zeros compare by value")
            << QList<ListedPort>{{"/dev/ttyX010", false}, {"/dev/ttyX9", false}}
            << QStringList{"/dev/ttyX9", "/dev/ttyX010"};
        QTest::newRow("none") << QList<ListedPort>{} << QStringList{};
    }
    void listedPortsAreUsbFirstInNaturalOrder() {
        QFETCH(QList<ListedPort>, listed);
        QFETCH(QStringList, expected);
        QCOMPARE(orderListedPorts(listed), expected);
    }

    void comPortResolvesThroughLinksThenListing_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected"); // "<file>" stands for the linked file
        QTest::newRow("link wins over listing") << 2 << "<file>";
        QTest::newRow("listing where no link") << 1 << "/dev/ttyUSB0";
        QTest::newRow("second listed") << 3 << "/dev/ttyS0";
        QTest::newRow("dangling link names its target") << 4 << "/dev/tavek-gone";
        QTest::newRow("beyond the listing") << 5 << "";
        QTest::newRow("zero names nothing") << 0 << "";
    }
    void comPortResolvesThroughLinksThenListing() {
        QFETCH(int, number);
        QFETCH(QString, expected);
        QTemporaryFile file;
        QVERIFY(file.open());
        const QDir folder(portsFolder());
        QFile::remove(folder.filePath("com2"));
        QFile::remove(folder.filePath("com4"));
        QVERIFY(QFile::link(file.fileName(), folder.filePath("com2")));
        QVERIFY(QFile::link("/dev/tavek-gone", folder.filePath("com4")));

        const QStringList listed{"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS0"};
        if (expected == "<file>")
            expected = QFileInfo(file.fileName()).canonicalFilePath();
        QCOMPARE(deviceForComPort(number, listed), expected);

        QFile::remove(folder.filePath("com2"));
        QFile::remove(folder.filePath("com4"));
    }

    void linkThroughAnAliasOpensTheRealDevice() {
        // A stable alias such as /dev/serial/by-id/... resolves to the device
        // itself, whose lock file other programs use.
        QTemporaryFile device;
        QVERIFY(device.open());
        const QString alias = QDir(portsFolder()).filePath("alias");
        QFile::remove(alias);
        QVERIFY(QFile::link(device.fileName(), alias));
        const QString com7 = QDir(portsFolder()).filePath("com7");
        QFile::remove(com7);
        QVERIFY(QFile::link(alias, com7));
        QCOMPARE(linkedDevice(7), QFileInfo(device.fileName()).canonicalFilePath());
        QCOMPARE(deviceForComPort(7), QFileInfo(device.fileName()).canonicalFilePath());
        QFile::remove(com7);
        QFile::remove(alias);
    }

    void openFailuresAreClassified_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("accessDenied");
        const QString busy = QString::fromLocal8Bit(std::strerror(EBUSY));
        const QString denied = QString::fromLocal8Bit(std::strerror(EACCES));
        QTest::newRow("no such device")
            << int(QSerialPort::DeviceNotFoundError) << "No such file or directory"
            << PortNotValidError << false;
        QTest::newRow("lock file held")
            << int(QSerialPort::PermissionError) << "Permission error while locking the device"
            << PortInUseError << false;
        QTest::newRow("busy") << int(QSerialPort::PermissionError) << busy << PortInUseError
                              << false;
        QTest::newRow("permission denied")
            << int(QSerialPort::PermissionError) << denied << 0 << true;
        QTest::newRow("operation not permitted")
            << int(QSerialPort::PermissionError) << QString::fromLocal8Bit(std::strerror(EPERM))
            << 0 << true;
        QTest::newRow("not a terminal") << int(QSerialPort::UnsupportedOperationError)
                                        << "Inappropriate ioctl for device" << 0 << false;
        QTest::newRow("i/o error")
            << int(QSerialPort::ResourceError) << "Input/output error" << 0 << false;
    }
    void openFailuresAreClassified() {
        QFETCH(int, error);
        QFETCH(QString, text);
        QFETCH(int, number);
        QFETCH(bool, accessDenied);
        const PortError classified =
            classifyOpenFailure(QSerialPort::SerialPortError(error), text, "/dev/ttyUSB3");
        QCOMPARE(classified.number, number);
        QCOMPARE(classified.accessDenied, accessDenied);
        QCOMPARE(classified.device, QString("/dev/ttyUSB3"));
        QCOMPARE(classified.reason, text);
    }

    void errorBoxTexts_data() {
        QTest::addColumn<PortError>("error");
        QTest::addColumn<QStringList>("mustContain");
        QTest::addColumn<bool>("exact");
        QTest::newRow("8002") << PortError{PortNotValidError, "/dev/x", "gone"}
                              << QStringList{"Serial port not valid"} << true;
        QTest::newRow("8012") << PortError{PortInUseError, "/dev/x", "locked"}
                              << QStringList{"Modem already in use"} << true;
        QTest::newRow("permission")
            << PortError{0, "/dev/ttyUSB0", "Permission denied", true}
            << QStringList{"/dev/ttyUSB0", "Permission denied", "dialout"} << false;
        QTest::newRow("other") << PortError{0, "/dev/null", "Inappropriate ioctl for device"}
                               << QStringList{"/dev/null", "Inappropriate ioctl for device"}
                               << false;
        QTest::newRow("lost") << PortError{0, "/dev/ttyUSB0", "Input/output error", false, true}
                              << QStringList{"/dev/ttyUSB0", "Input/output error", "lost"} << false;
    }
    void errorBoxTexts() {
        QFETCH(PortError, error);
        QFETCH(QStringList, mustContain);
        QFETCH(bool, exact);
        const QString text = portErrorMessage(error);
        if (exact)
            QCOMPARE(text, mustContain.first());
        for (const QString& part : mustContain)
            QVERIFY2(text.contains(part), qPrintable(text));
        if (!error.accessDenied)
            QVERIFY(!text.contains("dialout"));
    }

    void portSelectorEntryIsPortNumber() {
        selectPortEntry(0);
        QCOMPARE(linkState().CommPortNumber, qint16(1));
        selectPortEntry(254);
        QCOMPARE(linkState().CommPortNumber, qint16(255));
    }

    void clockShowsShortDateAndTimeWithoutZone() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QDateTime now(QDate(2026, 12, 6), QTime(14, 3, 22), QTimeZone("Europe/Prague"));
        const QString text = clockText(now);
        QLocale::setDefault(QLocale::c());
        QVERIFY2(text.startsWith("12/6/26 2:03:22"), qPrintable(text));
        QVERIFY2(text.endsWith("PM"), qPrintable(text)); // no time zone after the time
    }
};

QTEST_GUILESS_MAIN(PortNamesTest)
#include "tst_port_names.moc"
