// The configuration file: what it keeps, what it refuses and where, how it
// is written to disk, and what the window holds that it cannot (said in the
// window's words, and exactly what the file's own reader would refuse).
#include "ConfigFile.h"
#include "ConfigText.h"
#include "ConfigurationCheck.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

Q_DECLARE_METATYPE(ModemConfiguration)

namespace {

// While it lives, no file of this process may grow beyond a limit, and a
// write past it fails (EFBIG) instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &before_);
        const rlimit limit{bytes, before_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit before_{};
    void (*handler_)(int) = nullptr;
};

// A small file system of its own at a folder, for as long as it lives
// (root only: mounted() is false elsewhere).
class SmallDisk {
public:
    explicit SmallDisk(const QString& folder) : folder_(QFile::encodeName(folder)) {
        mounted_ = QDir().mkpath(folder) &&
                   ::mount("tavek-test", folder_.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    // Takes every byte that is left.
    void fill() const {
        QFile filler(QString::fromLocal8Bit(folder_) + "/filler");
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, '0');
        while (filler.write(block) == block.size()) {
        }
    }

private:
    QByteArray folder_;
    bool mounted_ = false;
};

// What is at a path, in the words of the rows: file, link, pipe, folder,
// socket, device, gone.
QString kindAt(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return "gone";
    if (S_ISLNK(status.st_mode))
        return "link";
    if (S_ISREG(status.st_mode))
        return "file";
    if (S_ISDIR(status.st_mode))
        return "folder";
    if (S_ISFIFO(status.st_mode))
        return "pipe";
    if (S_ISSOCK(status.st_mode))
        return "socket";
    return "device";
}

// A small configuration, as a user might type it, with notes of the user's
// own that the program ignores.
const QByteArray shopFile =
    R"({"format": "tavek-configuration", "version": 1, "note": {}, "inputs": [
    {"input": 1, "status": "active", "restState": "normally-open", "bit": "single",
     "delayMs": 0, "singleMessage": "ALLARME INTRUSIONE", "doubleMessage": null},
    {"input": 2, "zone": "garage", "status": "inactive", "restState": "normally-closed",
     "bit": "double", "delayMs": 300, "singleMessage": null, "doubleMessage": "RIPRISTINO"},
    {"input": 3, "status": "none", "restState": "normally-open", "bit": "single",
     "delayMs": 1000, "singleMessage": "", "doubleMessage": null}],
  "phoneBook": [{"position": 1, "number": "+393351234567"}, {"position": 20, "number": "06"}]})";
const QStringList shopShown{"1 0 O S [ALLARME INTRUSIONE] [Type here your message]*",
                            "0 3 C D [Type here your message]* [RIPRISTINO]",
                            "- 10 O S [] [Type here your message]*", "+393351234567", "06"};

QByteArray edited(std::initializer_list<std::pair<QByteArray, QByteArray>> changes) {
    QByteArray text = shopFile;
    for (const auto& [from, to] : changes) // each row lists what it must find
        text.replace(from, to);
    return text;
}

} // namespace

class ConfigFileTest : public QObject {
    Q_OBJECT

private slots:
    // Every state of every field comes back exactly; what the window holds
    // and a file cannot, the check and the reader refuse alike, problem for
    // problem, and nothing is saved.
    void configurationsComeBackOrBothRefuse_data() {
        QTest::addColumn<ModemConfiguration>("configuration");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("as the window starts") << ModemConfiguration{} << QStringList{};
        QTest::newRow("every other state, quotes, Latin-1 to its ends, 20-character numbers")
            << ModemConfiguration{{InputConfig{InputStatus::Active, RestState::NormallyClosed,
                                               BitMode::Double, 10,
                                               typed(R"(Sirena "zona 12" \ 3° piano, Straße!)"),
                                               typed(PlaceholderText)},
                                   InputConfig{InputStatus::Neither, RestState::NormallyOpen,
                                               BitMode::Double, 1, typed(" ~\u00a0"),
                                               typed(QString(50, u'\u00ff'))}},
                                  {"+393351234567", "+1234567890123456789", "06123456789012345678"}}
            << QStringList{};
        // Counted as the modem counts, 26 emoji are no more than 50 characters;
        // they are refused as characters the line cannot carry.
        QTest::newRow("characters the line cannot carry, a lone +, 21 characters")
            << ModemConfiguration{{InputConfig{{},
                                               {},
                                               {},
                                               0,
                                               typed("Say \"hi\" café € Ł"),
                                               typed(QString(26, u'x').replace(
                                                   "x", QString::fromUtf8("😀")))}},
                                  {"", "+", "061234567890123456789"}}
            << QStringList{
                   R"(Input 1, Single message: character 15 ("€") cannot be sent to the modem)",
                   R"(Input 1, Double message: character 1 ("😀") cannot be sent to the modem)",
                   R"(Position 2: "+" is a "+" without digits)",
                   R"(Position 3: "061234567890123456789" is 21 characters long; a number holds )"
                   "at most 20"};
        QTest::newRow("a C1 control, 161 characters in the placeholder colour, a + inside")
            << ModemConfiguration{{InputConfig{}, InputConfig{},
                                   InputConfig{
                                       {}, {}, {}, 0, typed("x\u0085"), {QString(161, u'y'), true}}},
                                  {"", "", "++39+1"}}
            << QStringList{
                   "Input 3, Single message: holds a control character (code 133) at "
                   "character 2",
                   "Input 3, Double message: 161 characters long; a message holds at most 160",
                   R"(Position 3: "++39+1" holds something other than digits and one leading "+")"};
    }
    void configurationsComeBackOrBothRefuse() {
        QFETCH(ModemConfiguration, configuration);
        QFETCH(QStringList, problems);
        QCOMPARE(unsavableParts(configuration), problems);
        const QByteArray text = configurationFileText(configuration);
        const ConfigurationFileReading reading = readConfigurationFile(text);
        QCOMPARE(reading.problems.size(), problems.size());
        QCOMPARE(reading.configuration == configuration, problems.isEmpty());
        // Saved over a longer file: it is replaced whole, or not at all.
        QTemporaryDir dir;
        QFile file(dir.filePath("modem.tavek"));
        const QByteArray old(10000, 'x');
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        file.close();
        QCOMPARE(saveConfigurationFile(file.fileName(), configuration, nullptr),
                 problems.isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), problems.isEmpty() ? text : old);
    }

    // A file, and the start of each problem it must list, each at its place;
    // a file without problems must read as the shop.
    void filesAndTheirProblems_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("the shop") << shopFile << QStringList{};
        QTest::newRow("broken JSON: only that, with line and column")
            << edited({{"\"bit\": \"double\",", "\"bit\" \"double\","}, {"300", "7"}})
            << QStringList{"line 5, column 13: not valid JSON (missing name separator)"};
        QTest::newRow("a list") << QByteArray("[]") << QStringList{"the file: must be one JSON"};
        QTest::newRow("foreign format, no version: nothing else judged")
            << edited({{"-configuration", "-phonebook"}, {"\"version\": 1,", ""}, {"300", "7"}})
            << QStringList{R"(format: must be "tavek-configuration", not "tavek-phonebook")",
                           "version: missing; it must be a whole number from 1 up"};
        QTest::newRow("newer version")
            << edited({{"\"version\": 1,", "\"version\": 3,"}})
            << QStringList{"version: this file was written by a newer Tavek (version 3)"};
        QTest::newRow("every problem listed")
            << edited({{"ALLARME INTRUSIONE", QByteArray(160, 'A') + R"(\u007f)"},
                       {"\"restState\": \"normally-closed\",", ""},
                       {"\"double\"", "\"dual\""},
                       {"300", "250"},
                       {"\"singleMessage\": \"\"", R"("singleMessage": "\u0085")"},
                       {"+393351234567", "+39 335 1234567"},
                       {"\"position\": 20", "\"position\": 21"}})
            << QStringList{
                   "inputs[0].singleMessage (input 1): is 161 characters long",
                   "inputs[0].singleMessage (input 1): holds a control character (code 127)",
                   "inputs[1].restState (input 2): missing; it must be \"normally-open\"",
                   R"(inputs[1].bit (input 2): must be "single" or "double", not "dual")",
                   "inputs[1].delayMs (input 2): must be 0 (no delay), 100, 200, ... or 1000",
                   "inputs[2].singleMessage (input 3): holds a control character (code 133)",
                   R"(phoneBook[0].number (position 1): "+39 335 1234567" holds something)",
                   "phoneBook[1].position: must be a whole number from 1 to 20, not 21"};
        QTest::newRow("inputs not 1, 2, 3 once each; an empty number, a position twice, a number")
            << edited({{"\"input\": 2", "\"input\": 1"},
                       {"\"input\": 3", "\"input\": 4"},
                       {"\"+393351234567\"", "\"\""},
                       {"\"position\": 20", "\"position\": 1"},
                       {"\"06\"", "6"}})
            << QStringList{"inputs[1].input: input 1 is listed twice",
                           "inputs[2].input: must be 1, 2 or 3, not 4",
                           "inputs: input 2 is missing",
                           "inputs: input 3 is missing",
                           "phoneBook[0].number (position 1): is empty",
                           "phoneBook[1].position: position 1 is listed twice",
                           "phoneBook[1].number (position 1): must be a number in quotes"};
        QTest::newRow("characters the line cannot carry, numbers too short and too long")
            << edited({{"ALLARME INTRUSIONE", "Say \\\"hi\\\" café € Ł"},
                       {"RIPRISTINO", "\\ud83d\\ude00"},
                       {"+393351234567", "+"},
                       {"\"06\"", "\"+39335123456789012345\""}})
            << QStringList{R"(inputs[0].singleMessage (input 1): character 15 ("€") cannot be )"
                           "sent to the modem",
                           R"(inputs[1].doubleMessage (input 2): character 1 ("😀") cannot be )"
                           "sent to the modem",
                           R"(phoneBook[0].number (position 1): "+" is a "+" without digits)",
                           R"(phoneBook[1].number (position 20): "+39335123456789012345" is 21 )"
                           "characters long; a number holds at most 20"};
        // Qt keeps the last of two equal keys; which one was meant cannot be
        // told, so the file is refused with both places and nothing else.
        QTest::newRow("a key twice in one object, also when written with an escape")
            << edited({{"\"phoneBook\": [", "\"phoneBook\": [], \"phoneBook\": ["},
                       {"\"bit\": \"double\",", "\"bit\": \"double\", \"b\\u0069t\": 0,"},
                       {"300", "7"}})
            << QStringList{"inputs[1].bit: given twice in the same object (again at line 5, "
                           "column 23); keep one of them",
                           "phoneBook: given twice in the same object (again at line 8, column "
                           "20); keep one of them"};
        QTest::newRow("a NUL byte")
            << edited({{"RIPRISTINO", QByteArray("RIPRI\0STINO", 11)}})
            << QStringList{"inputs[1].doubleMessage (input 2): holds a control "
                           "character (code 0) at character 6"};
        QTest::newRow("invalid UTF-8") << edited({{"RIPRISTINO", "RIPRI\xc3STINO"}})
                                       << QStringList{"line 5, column 85: not valid JSON"};
        QTest::newRow("nested too deeply")
            << edited(
                   {{"\"note\": {}", "\"note\": " + QByteArray(2000, '[') + QByteArray(2000, ']')}})
            << QStringList{"line 1, column 1081: not valid JSON (too deeply nested"};
        QTest::newRow("no inputs, phone book not a list")
            << QByteArray(R"({"format": "tavek-configuration", "version": 1, "phoneBook": {}})")
            << QStringList{"inputs: missing; it must be", "phoneBook: must be the list"};
    }
    void filesAndTheirProblems() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        const ConfigurationFileReading reading = readConfigurationFile(file);
        QStringList starts;
        for (qsizetype i = 0; i < reading.problems.size(); ++i)
            starts << reading.problems[i].left(expected.value(i).size());
        QCOMPARE(starts, expected);
        if (expected.isEmpty()) {
            const ModemConfiguration& shop = reading.configuration.value();
            QCOMPARE(describe(shop.inputs) << shop.phoneBook[0] << shop.phoneBook[19], shopShown);
        }
    }

    // Only a whole file replaces a file, and only a file is replaced or
    // opened: whatever stops a save midway leaves the old file, and a pipe, a
    // device, a socket or a folder is refused and left as it is, without
    // waiting on it. A link to a file is followed: the file it names is
    // saved over, and the link stays.
    void savingAndOpeningTakeOnlyFiles_data() {
        QTest::addColumn<QString>("target"); // what is at the path first
        QTest::addColumn<QString>("opened"); // the problem of opening it; empty when it opens
        QTest::addColumn<QString>("saved");  // the reason a save fails; empty when it saves
        const auto row = [](const char* name, const char* target, const QString& opened,
                            const QString& saved) {
            QTest::newRow(name) << QString(target) << opened << saved;
        };
        const QString notAFile = "cannot be read \\(It is %1, not a file\\)$";
        const QString refused = "^Could not save .*: It is %1, not a file\\.$";
        row("a file", "file", "", "");
        row("a link to a file", "link to file", "", "");
        row("a file of 100 MB", "file of 100 MB", "over 1 MB, far more than", "");
        row("a file-size limit of 1 kB", "file, 1 kB limit", "",
            "^Could not save .*: The file would be larger than this user may write\\.$");
        row("a full disk", "file on a full disk", "", "^Could not save .*: The disk is full\\.$");
        row("a pipe", "pipe", notAFile.arg("a pipe \\(FIFO\\)"), refused.arg("a pipe \\(FIFO\\)"));
        row("a link to a pipe", "link to pipe", notAFile.arg("a pipe \\(FIFO\\)"),
            refused.arg("a pipe \\(FIFO\\)"));
        row("a folder", "folder", notAFile.arg("a folder"), refused.arg("a folder"));
        row("a socket", "socket", notAFile.arg("a socket"), refused.arg("a socket"));
        row("a device", "device", notAFile.arg("a device"), refused.arg("a device"));
    }
    void savingAndOpeningTakeOnlyFiles() {
        QFETCH(QString, target);
        QFETCH(QString, opened);
        QFETCH(QString, saved);
        QTemporaryDir dir;
        QString folder = dir.path();
        std::unique_ptr<SmallDisk> disk;
        if (target.endsWith("full disk")) {
            folder = dir.filePath("disk");
            disk = std::make_unique<SmallDisk>(folder);
            if (!disk->mounted())
                QSKIP("no file system of the test's own can be mounted here (root only)");
        }
        const QString path = folder + "/modem.tavek", real = folder + "/real.tavek";
        const QByteArray old = configurationFileText(ModemConfiguration{});
        const auto writeOld = [&old](const QString& name) {
            QFile file(name);
            return file.open(QIODevice::WriteOnly) && file.write(old) == old.size();
        };
        int socket = -1;
        if (target.startsWith("file"))
            QVERIFY(writeOld(path));
        if (target == "file of 100 MB")
            QVERIFY(QFile(path).resize(100 << 20));
        if (target == "link to file")
            QVERIFY(writeOld(real) && QFile::link(real, path));
        if (target.endsWith("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(target == "pipe" ? path : real), 0644), 0);
        if (target == "link to pipe")
            QVERIFY(QFile::link(real, path));
        if (target == "folder")
            QVERIFY(QDir().mkdir(path));
        if (target == "socket") {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrncpy(address.sun_path, QFile::encodeName(path), sizeof address.sun_path);
            socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
            QCOMPARE(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        }
        if (target == "device" && ::mknod(QFile::encodeName(path), S_IFCHR | 0666, makedev(1, 3)))
            QSKIP("no device can be made here (root only)");
        const QString kind = kindAt(path);
        const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);

        const QStringList problems = loadConfigurationFile(path).problems;
        QVERIFY2(opened.isEmpty() ? problems.isEmpty()
                                  : problems.size() == 1 &&
                                        QRegularExpression(opened).match(problems[0]).hasMatch(),
                 qPrintable(problems.join('\n')));

        // More than a kilobyte: the limit falls inside the file.
        ModemConfiguration configuration;
        configuration.phoneBook.fill("+393351234567");
        QString error;
        bool done = false;
        {
            const std::unique_ptr<FileSizeLimit> limit(
                target.endsWith("1 kB limit") ? new FileSizeLimit(1024) : nullptr);
            if (disk)
                disk->fill();
            done = saveConfigurationFile(path, configuration, &error);
        }
        if (socket >= 0)
            ::close(socket);
        QCOMPARE(done, saved.isEmpty());
        QVERIFY2(saved.isEmpty() || QRegularExpression(saved).match(error).hasMatch(),
                 qPrintable(error));
        QCOMPARE(kindAt(path), kind);
        if (disk)
            QFile::remove(folder + "/filler");
        // Nothing left beside it: no cut file, no temporary one.
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), entries);
        if (kind == "file" || target == "link to file") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray now = file.readAll();
            QCOMPARE(now, saved.isEmpty() ? configurationFileText(configuration) : old);
        }
    }

    // The documented example is in the program's own layout, key for key; the
    // colour of a text is not kept, only whether a box shows the placeholder.
    // A path that cannot be read or written is one problem.
    void theExampleIsWrittenBackExactly() {
        QFile example(TAVEK_EXAMPLE_FILE);
        QVERIFY(example.open(QIODevice::ReadOnly));
        const QByteArray text = example.readAll();
        ModemConfiguration configuration = readConfigurationFile(text).configuration.value();
        configuration.inputs[0].singleMessage.placeholderColour = true;
        QCOMPARE(QString::fromUtf8(configurationFileText(configuration)), QString::fromUtf8(text));

        const QString path = "/nonexistent/modem.tavek";
        const QStringList problems = loadConfigurationFile(path).problems;
        QVERIFY2(problems.size() == 1 && problems[0].startsWith(path + ": cannot be read"),
                 qPrintable(problems.join(u'\n')));
        QVERIFY(!saveConfigurationFile(path, configuration, nullptr));
    }
};

QTEST_APPLESS_MAIN(ConfigFileTest)
#include "tst_config_file.moc"
