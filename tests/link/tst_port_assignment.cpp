// Giving a port a fixed "Com N": links made, replaced and removed in a ports
// folder of the test's own, the cases that must change nothing, and the
// number offered. (The catalog that lists the links is the ports dialog's test.)
#include "PortAssignment.h"
#include "PortNames.h"
#include "WithoutRootOverride.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class PortAssignmentTest : public QObject {
    Q_OBJECT

    QTemporaryDir devices;           // files that stand for devices, and a stable name
    QHash<QString, QString> targets; // what the rows call them: device, stable, other, gone

    // The folder in the rows' words, sorted: "com5>stable com6:file".
    QString folderText() const {
        QStringList entries;
        for (const QFileInfo& entry : QDir(portsFolder())
                                          .entryInfoList(QDir::AllEntries | QDir::System |
                                                             QDir::Hidden | QDir::NoDotAndDotDot,
                                                         QDir::Name))
            entries << entry.fileName() +
                           (entry.isSymLink() ? '>' + targets.key(entry.symLinkTarget()) : ":file");
        return entries.join(' ');
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        targets = {{"device", devices.filePath("ttyUSB0")},
                   {"other", devices.filePath("ttyUSB1")},
                   {"stable", devices.filePath("usb-FTDI_FT232R_USB_UART_A1234567-if00-port0")},
                   {"gone", "/dev/tavek-gone"}};
        for (const char* name : {"device", "other"})
            QVERIFY(QFile(targets[name]).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(targets["device"], targets["stable"]));
    }
    void init() {
        QDir(portsFolder()).removeRecursively();
        QVERIFY(QDir().mkpath(portsFolder()));
    }

    // Every change is whole or nothing: a failure says why, and the folder is
    // as it was.
    void changeLinks_data() {
        QTest::addColumn<QString>("before"); // the folder, as folderText() puts it
        QTest::addColumn<QString>("action"); // on the device: assign N / remove N...
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("error"); // a pattern; empty for none
        const QString nothing = " Nothing was changed\\.$", both = "com5>device com6>other";
        const auto row = [](const char* name, const QString& before, const char* action,
                            const char* after, const QString& error) {
            QTest::newRow(name) << before << QString(action) << QString(after) << error;
        };
        row("a free number", "", "assign 5", "com5>device", "");
        // The link is made under a name of Tavek's own and renamed: a user's
        // file of any other name stays, one like Tavek's own too.
        row("other names untouched", ".tavek-link-0000000000000000:file com5.new:file", "assign 5",
            ".tavek-link-0000000000000000:file com5>device com5.new:file", "");
        row("its own link replaced", "com5>device", "assign 5 stable", "com5>stable", "");
        row("taken by a device not plugged in", "com5>gone", "assign 5", "",
            "^Com 5 is already taken by /dev/tavek-gone\\. Remove that link first, or");
        row("a file in the way", "com5:file", "assign 5", "",
            "^Com 5 cannot be assigned: .*/com5 is there and is not a link\\." + nothing);
        row("a read-only folder keeps the old link", "com5>device", "assign 5 stable read-only", "",
            "^The ports folder .*/tavek/ports cannot be written: Permission denied\\." + nothing);
        row("a number without a link is passed over", both, "remove 7 5", "com6>other", "");
        row("a read-only folder keeps both", both, "remove 5 6 read-only", "",
            "^com5 cannot be removed from the ports folder .*: Permission denied\\." + nothing);
    }
    void changeLinks() {
        QFETCH(QString, before);
        QFETCH(QString, action);
        QFETCH(QString, after);
        QFETCH(QString, error);
        for (const QString& entry : before.split(' ', Qt::SkipEmptyParts)) {
            const qsizetype cut = entry.indexOf(QRegularExpression("[:>]"));
            const QString path = portsFolder() + '/' + entry.left(cut);
            QVERIFY(entry.endsWith(":file") ? QFile(path).open(QIODevice::WriteOnly)
                                            : QFile::link(targets[entry.mid(cut + 1)], path));
        }
        QStringList words = action.split(' ');
        CatalogPort port;
        port.device = targets["device"];
        port.present = true;
        if (words.removeAll("stable"))
            port.byIdPath = targets["stable"];
        const bool readOnly = words.removeAll("read-only");
        QList<int> numbers;
        for (const QString& word : words.mid(1))
            numbers << word.toInt();

        const WithoutRootOverride asAnyUser; // root writes into read-only folders
        ::chmod(QFile::encodeName(portsFolder()).constData(), readOnly ? 0555 : 0755);
        const std::optional<QString> result =
            words[0] == "assign" ? assignComNumber(port, numbers[0]) : removeComLinks(numbers);
        ::chmod(QFile::encodeName(portsFolder()).constData(), 0755);

        QCOMPARE(result.has_value(), !error.isEmpty());
        if (result)
            QVERIFY2(QRegularExpression(error).match(*result).hasMatch(), qPrintable(*result));
        QCOMPARE(folderText(), error.isEmpty() ? after : before);
        if (after.startsWith("com5>")) // the device, by either name
            QCOMPARE(deviceForComPort(5, {}), port.device);
    }

    // The number the port has, or else the lowest that reaches no port: a
    // link whose device is not there takes its number too.
    void numberOffered() {
        QVERIFY(QFile::link("/dev/tavek-gone", comLinkPath(2)));
        CatalogPort first, listed, neither;
        first.comNumbers = {1};
        listed.comNumbers = {3};
        neither.device = targets["device"];
        QCOMPARE(suggestedComNumber(listed, {first, listed, neither}), 3);
        QCOMPARE(suggestedComNumber(neither, {first, listed, neither}), 4);
    }
};

QTEST_GUILESS_MAIN(PortAssignmentTest)
#include "tst_port_assignment.moc"
