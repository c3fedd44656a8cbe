#include "SimCliFlow.h"

#include "Backups.h"
#include "CliCommands.h"
#include "ConfigFile.h"
#include "ConfigOperations.h"
#include "Console.h"
#include "ExitCodes.h"
#include "PhoneRecords.h"
#include "SimChecks.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstdlib>

namespace {

// A stream in memory that a Console writes into, as the process's would be.
class MemoryStream {
public:
    MemoryStream() : file_(open_memstream(&data_, &size_)) {}
    ~MemoryStream() {
        if (file_)
            std::fclose(file_);
        std::free(data_);
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;
    std::FILE* file() const { return file_; }
    QByteArray bytes() {
        std::fflush(file_);
        return QByteArray(data_, qsizetype(size_));
    }

private:
    char* data_ = nullptr;
    size_t size_ = 0;
    std::FILE* file_;
};

ModemConfiguration configurationOf(const std::array<ModemStoreInput, 3>& inputs,
                                   const std::array<QByteArray, 20>& phoneBook) {
    ModemConfiguration configuration;
    configuration.inputs = panelsOf(inputs);
    for (int p = 1; p <= PhoneBookSize; ++p)
        configuration.phoneBook[p - 1] = QString::fromLatin1(phoneBook[p - 1]);
    return configuration;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isOverwriting(const QByteArray& line) {
    return line.startsWith("AT+EGINP=") || line.startsWith("AT+EGPHN=");
}

// The lines of the check and of the two reads: all that verify may send.
bool isCheckOrRead(const QByteArray& line) {
    return line == "AT\r" || line == "\r" || line == "AT+EGINP?\r" || line == "AT+EGPHN?\r";
}

// The records a write of the configuration sends, in order.
QStringList recordsOf(const ModemConfiguration& configuration) {
    QStringList records = inputRecords(configuration.inputs);
    for (int p = 1; p <= PhoneBookSize; ++p)
        records << phoneBookCommand(p, configuration.phoneBook[p - 1]);
    return records;
}

// A user's own file where read is told to write: left as it is unless the
// read is whole.
const QByteArray UsersFile = "{\"the user's\": \"own file\"}\n";

} // namespace

void runCliFlow(const Schedule& s, SimWorld& world, SimDevice& device, const QString& path,
                const QString& folder, Checker& check, std::vector<SimOutcome::Row>& rows) {
    const CliOptions& o = s.cli;
    const QString file = QDir(folder).filePath(QStringLiteral("modem.tavek"));
    QFile::remove(file);
    // Each run starts with no backups: the one a write keeps is its own.
    QDir(backupsFolder()).removeRecursively();

    QStringList arguments{QStringLiteral("tavek-cli"), QStringLiteral("--port"), path};
    if (o.json)
        arguments << QStringLiteral("--json");
    QByteArray input;
    const QString stream = QStringLiteral("-");
    std::optional<ModemConfiguration> given; // the file of write and verify
    const auto giveFile = [&](const ModemConfiguration& configuration) {
        given = configuration;
        const QByteArray text = configurationFileText(configuration);
        if (o.standardStreams) {
            input = text;
            arguments << stream;
        } else {
            if (!writeFile(file, text))
                check.fail(QStringLiteral("%1 could not be written for the run").arg(file));
            arguments << file;
        }
    };
    const bool backup = !o.noBackup;
    switch (s.flow) {
    case SimFlow::CliRead:
        if (o.fileThere && !o.standardStreams && !writeFile(file, UsersFile))
            check.fail(QStringLiteral("%1 could not be written for the run").arg(file));
        arguments << QStringLiteral("read") << (o.standardStreams ? stream : file);
        break;
    case SimFlow::CliWrite:
        if (o.noVerify)
            arguments << QStringLiteral("--no-verify");
        if (o.noBackup)
            arguments << QStringLiteral("--no-backup");
        arguments << QStringLiteral("write");
        giveFile(configurationOf(s.newInputs, s.newPhoneBook));
        break;
    case SimFlow::CliVerify:
        arguments << QStringLiteral("verify");
        giveFile(o.fileIsTheStore ? configurationOf(s.inputs, s.phoneBook)
                                  : configurationOf(s.newInputs, s.newPhoneBook));
        break;
    case SimFlow::CliClear:
        if (o.noBackup)
            arguments << QStringLiteral("--no-backup");
        arguments << QStringLiteral("clear") << QStringLiteral("--yes");
        break;
    default:
        return;
    }
    const bool overwrites = s.flow == SimFlow::CliWrite || s.flow == SimFlow::CliClear;

    // Before the first command that overwrites the modem, what it held is
    // kept whole: the backup is looked at then, not after.
    bool overwritten = false;
    device.onWrite = [&](const QByteArray& line) {
        if (overwritten || !isOverwriting(line))
            return;
        overwritten = true;
        if (!overwrites || !backup)
            return;
        const QList<BackupEntry> kept = listBackups();
        if (kept.isEmpty())
            return check.fail(QStringLiteral("the modem was overwritten before a backup was kept"));
        const ConfigurationFileReading reading = loadConfigurationFile(kept.first().path);
        if (!reading.configuration)
            return check.fail(QStringLiteral("the backup kept does not open: ") +
                              reading.problems.join(u' '));
        check.backupIsTheModems(*reading.configuration);
    };

    MemoryStream out, err;
    Console console(out.file(), err.file());
    QBuffer standardInput(&input);
    SimClock& clock = world.clock();
    const qint64 began = clock.nowNs();
    const int exitCode = runTavekCli(arguments, console, world.environment(), standardInput);
    const qint64 took = clock.nowNs() - began;
    device.onWrite = nullptr;
    const QByteArray printed = out.bytes(), said = err.bytes();
    const QString command = arguments.mid(3).join(u' ');
    const auto& received = device.line.received();
    for (size_t k = 0; k < device.writes.size(); ++k) {
        rows.push_back(
            {device.writes[k].at, QChar(0x2192), QString::fromLatin1(device.writes[k].bytes)});
        if (k < received.size() && !received[k].answer.isEmpty())
            rows.push_back({SimClock::nanoseconds(received[k].answeredAt.value_or(received[k].at)),
                            QChar(0x2190), QString::fromLatin1(received[k].answer)});
    }
    rows.push_back({clock.nowNs(), QChar(0xB7),
                    QStringLiteral("tavek-cli %1: exit %2; standard output: %3; standard error: %4")
                        .arg(arguments.mid(1).join(u' '))
                        .arg(exitCode)
                        .arg(QString::fromUtf8(printed), QString::fromUtf8(said))});
    const auto fail = [&](const QString& what) {
        check.fail(
            QStringLiteral("tavek-cli %1 ended %2: %3").arg(command).arg(exitCode).arg(what));
    };

    // Every step waits at most its time-out and pause: the check, a read of
    // what the modem holds, both uploads, and their read-back.
    qint64 boundMs = checkBoundMs + 2 * readBoundMs;
    if (overwrites)
        boundMs += uploadBoundMs(9, 1500) + uploadBoundMs(20, 500) + 2 * readBoundMs;
    check.bounded(flowName(s.flow), took, boundMs);

    QJsonObject report;
    if (o.json) {
        QJsonParseError error;
        report = QJsonDocument::fromJson(printed, &error).object();
        if (error.error != QJsonParseError::NoError || report.isEmpty())
            fail(QStringLiteral("--json printed no report: ") + QString::fromUtf8(printed));
    }
    QStringList differences;
    if (o.json) {
        for (const QJsonValue& difference : report[QStringLiteral("differences")].toArray())
            differences << difference.toString();
    } else if (exitCode == ExitDifferent) {
        differences = QString::fromUtf8(printed).split(u'\n', Qt::SkipEmptyParts);
    }

    // A step reported confirmed was confirmed by its own reply; a command
    // that ended with 0 reports every step it sent confirmed.
    QList<std::pair<QString, bool>> steps;
    if (o.json) {
        for (const QJsonValue& step : report[QStringLiteral("steps")].toArray())
            steps << std::pair{step[QStringLiteral("command")].toString(),
                               step[QStringLiteral("confirmed")].toBool()};
    } else if (exitCode == ExitConfirmed) {
        for (const SimDevice::Write& write : device.writes)
            if (isStepLine(QString::fromLatin1(write.bytes)))
                steps << std::pair{QString::fromLatin1(write.bytes.chopped(1)), true};
    }
    check.reportedSteps(steps, device);

    // Why, on standard error; or with --json, in the report's errors and differences.
    if (exitCode != ExitConfirmed && said.trimmed().isEmpty() && differences.isEmpty() &&
        report[QStringLiteral("errors")].toArray().isEmpty())
        fail(QStringLiteral("and said nothing of why"));
    if (device.vanishedInUseAt) {
        if (exitCode == ExitConfirmed)
            fail(QStringLiteral("though the modem vanished under it"));
        for (const SimDevice::Write& write : device.writes)
            if (write.at > *device.vanishedInUseAt)
                fail(QStringLiteral("and wrote %1 to the modem after it vanished")
                         .arg(visibleControls(QString::fromLatin1(write.bytes))));
    }
    if (overwrites && !backup && !device.writes.empty() && overwritten) {
        // --no-backup: nothing was read first.
        for (const SimDevice::Write& write : device.writes) {
            if (isOverwriting(write.bytes))
                break;
            if (write.bytes != "AT\r" && write.bytes != "\r")
                fail(QStringLiteral("--no-backup, and %1 went before the first write")
                         .arg(visibleControls(QString::fromLatin1(write.bytes))));
        }
    }

    const ModemCommandSet& store = device.line.commands();
    switch (s.flow) {
    case SimFlow::CliRead: {
        QList<ModemConfiguration> gave;
        if (exitCode == ExitConfirmed) {
            const QByteArray text = o.standardStreams ? printed : fileBytes(file);
            if (!o.standardStreams || !o.json) {
                const ConfigurationFileReading reading = readConfigurationFile(text);
                if (!reading.configuration)
                    fail(QStringLiteral("and what it gave does not open: ") +
                         reading.problems.join(u' '));
                else
                    gave << *reading.configuration;
            }
            if (o.json) {
                const QJsonObject object = report[QStringLiteral("configuration")].toObject();
                const ConfigurationFileReading reading =
                    readConfigurationFile(QJsonDocument(object).toJson());
                if (!reading.configuration)
                    fail(QStringLiteral("and its report's configuration does not open"));
                else
                    gave << *reading.configuration;
            }
            for (const ModemConfiguration& configuration : gave) {
                check.inputsRead(true, configuration.inputs);
                check.numbersRead(true, [&](int p) { return configuration.phoneBook[p - 1]; });
            }
        } else if (o.standardStreams) {
            if (!o.json && !printed.isEmpty())
                fail(QStringLiteral("and still printed %1 bytes").arg(printed.size()));
        } else if (o.fileThere ? fileBytes(file) != UsersFile : QFile::exists(file)) {
            fail(QStringLiteral("and still wrote the file"));
        }
        break;
    }
    case SimFlow::CliWrite:
        if (exitCode == ExitConfirmed) {
            QStringList sent;
            for (const SimDevice::Write& write : device.writes)
                if (isOverwriting(write.bytes))
                    sent << QString::fromLatin1(write.bytes.chopped(1));
            if (sent != recordsOf(*given))
                fail(QStringLiteral("but sent %1 lines that are not the file's 29 records")
                         .arg(sent.size()));
            if (!o.noVerify)
                for (const QString& difference : check.storeDifferences(store, *given, false))
                    fail(QStringLiteral("but the modem holds ") + difference);
        }
        break;
    case SimFlow::CliVerify: {
        for (const SimDevice::Write& write : device.writes)
            if (!isCheckOrRead(write.bytes))
                fail(QStringLiteral("and sent %1")
                         .arg(visibleControls(QString::fromLatin1(write.bytes))));
        const QStringList other = check.storeDifferences(store, *given, true);
        if (exitCode == ExitConfirmed)
            for (const QString& difference : other)
                fail(QStringLiteral("but the modem holds ") + difference);
        // A 4 for a modem that holds the file: only a damaged or cut read.
        if (exitCode == ExitDifferent && check.storeDifferences(store, *given, false).isEmpty())
            for (const QString& difference : differences)
                if (!difference.contains(u"not whole") && !check.aboutDamagedField(difference))
                    fail(QStringLiteral("for a modem that holds the file: ") + difference);
        break;
    }
    case SimFlow::CliClear:
        if (exitCode == ExitConfirmed) {
            // The phone book empty, the default inputs on what was read.
            ModemConfiguration cleared;
            cleared.inputs =
                loadDefaultMessages(backup ? panelsOf(s.inputs) : ModemConfiguration{}.inputs);
            for (const QString& difference : check.storeDifferences(store, cleared, true))
                fail(QStringLiteral("but the modem holds ") + difference);
        }
        break;
    default:
        break;
    }
}
