#pragma once

#include "ModemCommandSet.h"
#include "SimulatedLine.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// What one simulated run does, and everything about the line it does it on,
// drawn from a seed: the same seed gives the same run, byte for byte.
enum class SimFlow {
    Check,                 // the connection check alone
    Relay,                 // the check, then "Set reley on"
    FactoryDefaults,       // the check, then "Reset Modem"'s five commands
    SendInputs,            // the check, then the input upload of a configuration of its own
    SetNumbers,            // the check, then the phone-book upload of numbers of its own
    GetInputs,             // the check, then the input read
    GetNumbers,            // the check, then the phone-book read
    DefaultSettings,       // the check, then "Set default settings"
    ReadThenSet,           // the check, both reads, and when whole, both uploads of what was read
    WindowReadThenSet,     // the same through the main window: the plug, then both "Set" buttons
    WindowEditAndSet,      // the plug, edits in the panels and the grid, both "Set" buttons
    WindowDefaultSettings, // the plug, then "Set default settings" from the toolbar
    CliRead,               // tavek-cli read, into a file or onto standard output
    CliWrite,              // tavek-cli write of a file of its own
    CliVerify,             // tavek-cli verify against the modem's own store or another
    CliClear,              // tavek-cli clear --yes
};
QString flowName(SimFlow flow);
inline bool isWindowFlow(SimFlow flow) {
    return flow >= SimFlow::WindowReadThenSet && flow <= SimFlow::WindowDefaultSettings;
}
inline bool isCliFlow(SimFlow flow) {
    return flow >= SimFlow::CliRead;
}

// How tavek-cli is called in its flows.
struct CliOptions {
    bool json = false;            // --json
    bool standardStreams = false; // "-": read onto standard output, write from standard input
    bool fileThere = false;       // read: a file of the user's is already at its path
    bool noVerify = false;        // write: --no-verify
    bool noBackup = false;        // write, clear: --no-backup
    bool fileIsTheStore = false;  // verify: the file holds what the modem holds
};

// A byte of a listing reply that the line damaged, and what it hit: a value
// (a message or number text, a setting) that the reader cannot tell from a
// real one, or the structure of the line, which the reader must notice.
struct ReplyDamage {
    QByteArray command;              // "AT+EGINP?" or "AT+EGPHN?"
    qsizetype index = 0;             // in the reply, after the echo
    std::optional<char> replacement; // none: the byte is lost
    // The fields a damaged value may change: inputs 1 to 3 and phone-book
    // positions 1 to 20 (a damaged position digit moves its number).
    QList<int> inputs, positions;
};

struct Schedule {
    quint64 seed = 0;
    SimFlow flow = SimFlow::Check;

    // What the modem holds at the start.
    std::array<ModemStoreInput, 3> inputs;
    std::array<QByteArray, 20> phoneBook;
    // What an upload of its own sends (SendInputs, SetNumbers, the edits).
    std::array<ModemStoreInput, 3> newInputs;
    std::array<QByteArray, 20> newPhoneBook;

    // The modem.
    bool echo = true;
    bool echoLineFeed = false;
    int processingMs = 20;
    std::map<QByteArray, int> processingFor;
    int lateResultMs = 0;
    std::map<QByteArray, int> lateResultFor;
    std::vector<QByteArray> errorFor; // exact command lines answered ERROR
    QList<std::pair<int, QByteArray>> strayLinesInListings;
    std::vector<std::pair<int, QByteArray>> unsolicited; // ms from the start, line
    std::optional<ReplyDamage> damage;
    std::optional<int> vanishAfterBytes;
    bool answerOnlySecondAttempt = false;
    ModemCommandSet::StoreFault storeFault = ModemCommandSet::StoreFault::None;

    // Between the modem and the program.
    AdapterTiming adapter;

    // The program: the window is closed (or the operation cancelled) at this time.
    std::optional<int> cancelAfterMs;
    CliOptions cli;

    // One line for a failure report.
    QString describe() const;
};

// Draws the schedule of one seed. Most runs meet one or two troubles of a
// real line; some meet many at once, and some none.
Schedule drawSchedule(quint64 seed);
