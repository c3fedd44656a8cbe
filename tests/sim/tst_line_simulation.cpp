// The line simulation: every operation, whole flows through the window and
// tavek-cli's commands, each on a schedule of the line drawn from a seed,
// with the properties of SimRun.h and SimCliFlow.h checked on every run.
//
//   TAVEK_SIM_FIRST=N       the first seed (default: the test's own)
//   TAVEK_SIM_SCHEDULES=N   how many runs (default: the test's budget)
//   TAVEK_SIM_SEED=N        replays one seed and prints its exchange
//   TAVEK_SIM_FLOW=TEXT     runs only the schedules whose flow's name holds TEXT
#include "Backups.h"
#include "SimRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

quint64 environmentNumber(const char* name, quint64 fallback) {
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

void report(const Schedule& schedule, const SimOutcome& outcome) {
    std::fprintf(stderr, "\nSchedule: %s\n", qPrintable(schedule.describe()));
    for (const QString& violation : outcome.violations)
        std::fprintf(stderr, "  violated: %s\n", qPrintable(violation));
    std::fprintf(stderr, "The exchange:\n");
    for (const QString& row : outcome.trafficRows())
        std::fprintf(stderr, "  %s\n", qPrintable(row));
    std::fprintf(stderr, "Replay it alone with TAVEK_SIM_SEED=%llu\n",
                 static_cast<unsigned long long>(schedule.seed));
}

} // namespace

class LineSimulationTest : public QObject {
    Q_OBJECT

    QTemporaryDir home{QDir(QStringLiteral("/dev/shm")).exists()
                           ? QStringLiteral("/dev/shm/tavek-sim-home-XXXXXX")
                           : QDir::tempPath() + QStringLiteral("/tavek-sim-home-XXXXXX")};

private slots:
    // A home of the process's own, in memory where the system has a folder
    // there: tavek-cli's backups and the window's settings go into it, never
    // into the developer's home, nor into another part's running beside.
    void initTestCase() {
        QVERIFY2(home.isValid(), qPrintable(home.errorString()));
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(backupsFolder().startsWith(home.path()), qPrintable(backupsFolder()));
    }

    void everyScheduleKeepsTheProperties_data() {
        QTest::addColumn<quint64>("first");
        QTest::addColumn<quint64>("count");
        if (qEnvironmentVariableIsSet("TAVEK_SIM_SEED")) {
            QTest::newRow("replay") << environmentNumber("TAVEK_SIM_SEED", 0) << quint64(1);
            return;
        }
        // ctest runs each part in a process of its own, side by side.
        const quint64 count = environmentNumber("TAVEK_SIM_SCHEDULES", 50'000);
        const quint64 first = environmentNumber("TAVEK_SIM_FIRST", 1);
        QTest::newRow("schedules") << first << count;
    }
    void everyScheduleKeepsTheProperties() {
        QFETCH(quint64, first);
        QFETCH(quint64, count);
        const bool replay = qEnvironmentVariableIsSet("TAVEK_SIM_SEED");
        SimRunner runner;
        QElapsedTimer took;
        took.start();
        int failed = 0;
        quint64 firstFailure = 0;
        const QString flow = qEnvironmentVariable("TAVEK_SIM_FLOW");
        for (quint64 seed = first; seed < first + count; ++seed) {
            const Schedule schedule = drawSchedule(seed);
            if (!flow.isEmpty() && !flowName(schedule.flow).contains(flow))
                continue;
            const SimOutcome outcome = runner.run(schedule);
            if (replay)
                report(schedule, outcome);
            if (!outcome.violations.isEmpty()) {
                if (failed++ < 3 && !replay)
                    report(schedule, outcome);
                if (!firstFailure)
                    firstFailure = seed;
            }
        }
        const double seconds = took.nsecsElapsed() / 1e9;
        std::printf("%llu schedules from seed %llu in %.1f s: %.0f a second, %d failed\n",
                    static_cast<unsigned long long>(count), static_cast<unsigned long long>(first),
                    seconds, double(count) / seconds, failed);
        QVERIFY2(failed == 0, qPrintable(QStringLiteral("%1 schedules failed; the first is seed %2")
                                             .arg(failed)
                                             .arg(firstFailure)));
    }
};

QTEST_MAIN(LineSimulationTest)
#include "tst_line_simulation.moc"
