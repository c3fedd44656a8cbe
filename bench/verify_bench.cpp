// What proving a write costs: each "Set" of the window (inputs, phone book,
// "Set default settings") through the session as the window runs it, and
// each tavek-cli write, with the read-back and without, on the virtual
// modem's real line: 9600 bit/s byte by byte, and in a USB adapter's 16 ms
// bursts. The modem holds a full configuration (FullConfiguration.h), so
// every read-back carries as much as it ever does.
//
// Prints medians; a program, not a test.
// Usage: verify_bench [runs]   (default 3)
#include "CliCommands.h"
#include "ConfigFile.h"
#include "ConfigurationModel.h"
#include "Console.h"
#include "FullConfiguration.h"
#include "LinkEnvironment.h"
#include "ModemCommands.h"
#include "ModemConnection.h"
#include "ModemSession.h"
#include "SessionFace.h"
#include "VirtualModem.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The window, reduced to what a session asks of it: every question answered
// Yes, every problem printed (a benchmark of a write that failed is no figure).
class YesFace final : public SessionFace {
public:
    void setStatusText(const QString&) override {}
    void showModemError(const QString& text) override {
        std::fprintf(stderr, "Modem error: %s\n", qPrintable(text));
    }
    void showLinkState(LinkState) override {}
    void setControlsEnabled(bool) override {}
    bool confirm(const Question&) override { return true; }
    bool warn(Warning, const QString& text) override {
        std::fprintf(stderr, "Warning answered Yes: %s\n", qPrintable(text));
        return true;
    }
};

struct Line {
    const char* name;
    int usbLatencyMs; // 0: byte by byte
};

const Line lines[] = {{"9600 bit/s byte by byte", 0}, {"9600 bit/s in 16 ms USB bursts", 16}};

double medianSeconds(int runs, const std::function<bool()>& operation) {
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!operation())
            std::fprintf(stderr, "  (run %d did not end confirmed)\n", i + 1);
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

// A modem holding the full configuration, linked as a Com N of this home.
int linkedFullModem(VirtualModem& modem, const Line& line) {
    modem.setUsbLatencyMs(line.usbLatencyMs);
    fillModem(modem);
    const int com = modem.linkAs();
    if (com <= 0)
        qFatal("cannot link the virtual modem: %s", qPrintable(modem.linkError()));
    return com;
}

// The three "Set"s of the window, each from the full configuration shown.
void windowSets(const Line& line, int runs) {
    VirtualModem modem;
    const int com = linkedFullModem(modem, line);
    ModemConnection connection;
    connection.setCommPortNumber(qint16(com));
    ConfigurationModel shown;
    YesFace face;
    ModemSession session(connection, shown, face);
    if (!session.connectModem())
        qFatal("no connection to the virtual modem");
    const ModemConfiguration full = fullConfiguration();
    const ModemCommand* clear = findModemCommand(QStringLiteral("clear"));

    struct Set {
        const char* name;
        std::function<SessionResult()> run;
    } sets[] = {{"inputs Set (9 records)", [&] { return session.sendInputs(); }},
                {"phone-book Set (20 positions)", [&] { return session.setNumbers(); }},
                {"Set default settings", [&] { return session.run(*clear); }}};
    std::printf("The window's Sets, %s, median of %d:\n", line.name, runs);
    for (const Set& set : sets) {
        double seconds[2] = {};
        for (const bool verifying : {false, true}) {
            session.setVerifying(verifying);
            seconds[verifying] = medianSeconds(runs, [&] {
                shown.setConfiguration(full);
                return set.run().confirmed();
            });
        }
        std::printf("  %-30s %6.3f s unproved, %6.3f s read back: +%.3f s (+%.1f%%)\n", set.name,
                    seconds[0], seconds[1], seconds[1] - seconds[0],
                    100 * (seconds[1] / seconds[0] - 1));
    }
}

// tavek-cli write of the full configuration, as the program runs it (its
// start and end aside: about 60 ms, measured apart).
void cliWrites(const Line& line, int runs, const QString& file) {
    VirtualModem modem;
    const int com = linkedFullModem(modem, line);
    const struct {
        const char* name;
        QStringList options;
    } variants[] = {{"write (read back, backup)", {}},
                    {"write --no-verify", {QStringLiteral("--no-verify")}},
                    {"write --no-backup", {QStringLiteral("--no-backup")}},
                    {"write --no-verify --no-backup",
                     {QStringLiteral("--no-verify"), QStringLiteral("--no-backup")}}};
    std::printf("tavek-cli, %s, median of %d:\n", line.name, runs);
    for (const auto& variant : variants) {
        const QStringList arguments =
            QStringList{QStringLiteral("tavek-cli"), QStringLiteral("--port"),
                        QStringLiteral("com%1").arg(com)} +
            variant.options + QStringList{QStringLiteral("write"), file};
        const double seconds = medianSeconds(runs, [&] {
            Console silent(nullptr, nullptr);
            QBuffer input;
            input.open(QIODevice::ReadOnly);
            return runTavekCli(arguments, silent, LinkEnvironment{}, input) == 0;
        });
        std::printf("  %-30s %6.3f s\n", variant.name, seconds);
    }
}

} // namespace

int main(int argc, char** argv) {
    // A home of its own: its ports folder and backups folder are the bench's.
    QTemporaryDir home;
    const QString file = homeWithFullConfiguration(home);
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    for (const Line& line : lines)
        windowSets(line, runs);
    for (const Line& line : lines)
        cliWrites(line, runs, file);
    return 0;
}
