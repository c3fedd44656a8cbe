// "Com N" to device, and what the user is told about a port that fails.
#include "ModemLink.h"
#include "PortErrors.h"
#include "PortNames.h"

#include <QTemporaryFile>
#include <QTimeZone>
#include <QtTest>

#include <cerrno>
#include <cstring>

class PortNamesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QDir(portsFolder()).removeRecursively();
        QVERIFY(QDir().mkpath(portsFolder()));
    }

    void listedPortsComeUsbFirstInNaturalOrder_data() {
        QTest::addColumn<QList<ListedPort>>("listed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("by value") << QList<ListedPort>{{"ttyS10"},
                                                       {"ttyS2"},
                                                       {"ttyS1"},
                                                       {"ttyX010"}}
                                  << QStringList{"ttyS1", "ttyS2", "ttyS10", "ttyX010"};
        QTest::newRow("usb first") << QList<ListedPort>{{"ttyS0"},
                                                        {"ttyUSB10", true},
                                                        {"ttyACM0", true},
                                                        {"ttyUSB9", true}}
                                   << QStringList{"ttyACM0", "ttyUSB9", "ttyUSB10", "ttyS0"};
        QTest::newRow("prefix first")
            << QList<ListedPort>{{"ttyS1a"}, {"ttyS1"}} << QStringList{"ttyS1", "ttyS1a"};
    }
    void listedPortsComeUsbFirstInNaturalOrder() {
        QFETCH(QList<ListedPort>, listed);
        QFETCH(QStringList, expected);
        QCOMPARE(orderListedPorts(listed), expected);
    }

    void comPortResolvesThroughLinksThenListing() {
        QTemporaryFile device;
        QVERIFY(device.open());
        const QDir folder(portsFolder());
        QVERIFY(QFile::link(device.fileName(), folder.filePath("alias")));
        QVERIFY(QFile::link(folder.filePath("alias"), folder.filePath("com2"))); // resolved fully
        QVERIFY(QFile::link("/dev/tavek-gone", folder.filePath("com4")));
        const QStringList listed{"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS0"};
        const QStringList expected{
            "",           "/dev/ttyUSB0",    QFileInfo(device).canonicalFilePath(),
            "/dev/ttyS0", "/dev/tavek-gone", ""};
        for (int n = 0; n < expected.size(); ++n)
            QCOMPARE(deviceForComPort(n, listed), expected[n]);
        QDir(portsFolder()).removeRecursively();
    }

    void openFailuresAreClassified_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("accessDenied");
        const auto system = [](int code) { return QString::fromLocal8Bit(std::strerror(code)); };
        const int permission = QSerialPort::PermissionError;
        QTest::newRow("missing") << int(QSerialPort::DeviceNotFoundError) << system(ENOENT)
                                 << PortNotValidError << false;
        QTest::newRow("lock file held")
            << permission << "Permission error while locking the device" << PortInUseError << false;
        QTest::newRow("busy") << permission << system(EBUSY) << PortInUseError << false;
        QTest::newRow("denied") << permission << system(EACCES) << 0 << true;
        QTest::newRow("not permitted") << permission << system(EPERM) << 0 << true;
        QTest::newRow("no tty") << int(QSerialPort::UnsupportedOperationError) << system(ENOTTY)
                                << 0 << false;
    }
    void openFailuresAreClassified() {
        QFETCH(int, error);
        QFETCH(QString, text);
        QFETCH(int, number);
        QFETCH(bool, accessDenied);
        const PortError got =
            classifyOpenFailure(QSerialPort::SerialPortError(error), text, "/dev/x");
        QCOMPARE(got.number, number);
        QCOMPARE(got.accessDenied, accessDenied);
        QCOMPARE(got.reason, text);
        // The box names the device and the reason, and says how to get access only when denied.
        const QString box = portErrorMessage(got);
        if (number == 0)
            QVERIFY2(box.contains("/dev/x") && box.contains(text), qPrintable(box));
        QCOMPARE(box.contains("dialout"), accessDenied);
    }

    void clockShowsShortDateAndLongTimeWithoutZone() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString text =
            clockText(QDateTime({2026, 12, 6}, {14, 3, 22}, QTimeZone("Europe/Prague")));
        QLocale::setDefault(QLocale::c());
        QVERIFY2(text.startsWith("12/6/26 2:03:22") && text.endsWith("PM"), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(PortNamesTest)
#include "tst_port_names.moc"
