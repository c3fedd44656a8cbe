// How close the two uploads and the two reads come to their floor.
//
// Against a virtual modem on a 9600 bit/s line (byte by byte, 20 ms of
// processing before each result code), the floor of a step is what cannot be
// avoided: its command's characters on the wire (the echo runs alongside,
// one character behind), the modem's processing, the characters of the reply
// up to the end of its result code line, and the pause of 0.2 s after it; a
// read's floor is the later of its 0.4 s first wait and the end of the reply.
// Against a modem that answers at once (a pure pipe), the floor is the pauses
// and first waits alone. The connection check that every connect begins with
// is timed first, from the port's opening.
//
// Prints the figures; a program, not a test.
// Usage: config_bench [runs] [--traffic-recorder | --traffic-window] (TrafficWatching.h)
#include "ConfigOperations.h"
#include "InputRecords.h"
#include "ModemConnection.h"
#include "ModemLink.h"
#include "OperationObserver.h"
#include "PhoneRecords.h"
#include "TrafficWatching.h"
#include "VirtualModem.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr double CharacterMs = 10.0 / 9.6; // 10 bits at 9600 bit/s
constexpr double ProcessingMs = 20;
constexpr double PauseMs = 200;
constexpr double FirstWaitMs = 400;
// What follows a command's echo up to the end of its result code: CR LF "OK" CR.
constexpr int ResultCharacters = 5;

// The window, reduced to what the operations read and write.
class QuietView : public OperationObserver {
public:
    InputsConfig inputs{};
    PhoneBook phoneBook{};

    void setStatusText(const QString&) override {}
    void showModemError(const QString& text) override {
        std::fprintf(stderr, "Modem error: %s\n", qPrintable(text));
    }
};

struct Figures {
    double best = 0;
    double median = 0;
};

Figures timeRuns(int runs, const std::function<void()>& operation) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        operation();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

void report(const char* what, const Figures& f, double floorMs) {
    std::printf("  %-26s median %8.1f ms  best %8.1f ms  floor %8.1f ms  median/floor %.3f\n", what,
                f.median, f.best, floorMs, f.median / floorMs);
}

// One upload step on the line: the command, the modem's thought, the result, the pause.
double stepFloorMs(const QString& command) {
    return (command.size() + 1) * CharacterMs + ProcessingMs + ResultCharacters * CharacterMs +
           PauseMs;
}

double readFloorMs(const QString& query, int replyCharacters) {
    return std::max(FirstWaitMs, (query.size() + 1 + replyCharacters) * CharacterMs + ProcessingMs);
}

// "AT" CR on the wire, the modem's thought, CR LF "OK" CR.
double checkFloorMs() {
    return 3 * CharacterMs + ProcessingMs + ResultCharacters * CharacterMs;
}

// The modem's listing after the echo, as it frames it: CR LF, the lines, CR LF "OK" CR.
int listingCharacters(const QStringList& lines) {
    int characters = 2 + 5;
    for (const QString& line : lines)
        characters += int(line.size()) + 2;
    return characters;
}

// A full modem: twenty numbers, and messages of 45 to 50 characters.
void fill(VirtualModem& modem, QuietView& view) {
    std::array<QByteArray, 20> book;
    for (int p = 1; p <= PhoneBookSize; ++p) {
        book[p - 1] = "+3933512345" + QByteArray::number(p).rightJustified(2, '0');
        view.phoneBook[p - 1] = QString::fromLatin1(book[p - 1]);
    }
    modem.setPhoneBook(book);
    std::array<VirtualModem::Input, 3> inputs;
    for (int n = 0; n < InputCount; ++n) {
        const QByteArray text = "ALLARME " + QByteArray::number(n + 1) + ": " + QByteArray(37, 'x');
        inputs[n] = {1, n + 1, 'O', 'S', text + "ON", text + "OF"};
        view.inputs[n] = {InputStatus::Active,
                          RestState::NormallyOpen,
                          BitMode::Single,
                          n + 1,
                          MessageText{QString::fromLatin1(text + "ON"), false},
                          MessageText{QString::fromLatin1(text + "OF"), false}};
    }
    modem.setInputs(inputs);
}

void runAgainst(bool instant, int runs, Watching watching) {
    VirtualModem modem;
    modem.setInstant(instant);
    ModemConnection connection;
    const TrafficWatch watch(watching, connection);
    connection.setNamedDevice(modem.devicePath());
    QuietView view;
    fill(modem, view);

    // The listings as the modem sends them, for the read floors.
    QStringList phoneLines, inputLines;
    for (int p = 1; p <= PhoneBookSize; ++p)
        phoneLines << QStringLiteral("+EGPHN: %1,\"%2\",128").arg(p).arg(view.phoneBook[p - 1]);
    for (int n = 1; n <= InputCount; ++n) {
        const InputConfig& in = view.inputs[n - 1];
        inputLines << QStringLiteral("+EGINP: %1,1,%2,\"O\",\"S\"")
                          .arg(n)
                          .arg(in.delayIndex, 5, 10, QLatin1Char('0'))
                   << QStringLiteral("+EGINP: %1,\"C\",\"%2\"").arg(n).arg(in.singleMessage.text)
                   << QStringLiteral("+EGINP: %1,\"O\",\"%2\"").arg(n).arg(in.doubleMessage.text);
    }
    double phoneFloor = 0, inputFloor = 0;
    for (int p = 1; p <= PhoneBookSize; ++p)
        phoneFloor += instant ? PauseMs : stepFloorMs(phoneBookCommand(p, view.phoneBook[p - 1]));
    for (const QString& record : inputRecords(view.inputs))
        inputFloor += instant ? PauseMs : stepFloorMs(record);
    const double phoneReadFloor =
        instant ? FirstWaitMs : readFloorMs("AT+EGPHN?", listingCharacters(phoneLines));
    const double inputReadFloor =
        instant ? FirstWaitMs : readFloorMs("AT+EGINP?", listingCharacters(inputLines));

    std::printf("%s, %d runs each, %s:\n",
                instant ? "a modem that answers at once"
                        : "a modem on a 9600 bit/s line, byte by byte, 20 ms processing",
                runs, watchingName(watching));
    // The check as every connect begins with it: the port opened afresh,
    // "AT" and its reply to the end. It leaves the port open for the rest.
    const Figures check = timeRuns(runs, [&] {
        if (!connectModem(connection, view))
            qFatal("the virtual modem did not answer the connection check");
    });
    std::printf("  %-26s median %8.1f ms  best %8.1f ms  floor %8.1f ms\n", "connection check",
                check.median, check.best, instant ? 0.0 : checkFloorMs());
    report("phone book upload (20)",
           timeRuns(runs, [&] { setNumbers(connection, view, view.phoneBook); }), phoneFloor);
    report("input upload (9 records)",
           timeRuns(runs, [&] { sendInputs(connection, view, view.inputs); }), inputFloor);
    report("phone book read (20)", timeRuns(runs, [&] { getNumbers(connection, view); }),
           phoneReadFloor);
    report("input read", timeRuns(runs, [&] { getInputs(connection, view); }), inputReadFloor);
}

} // namespace

int main(int argc, char** argv) {
    // The ports folder of a home of its own, so no other program's "Com N" is met.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    const Watching watching = takeWatching(argc, argv);
    const auto app = benchApplication(watching, argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    runAgainst(true, runs, watching);
    runAgainst(false, runs, watching);
    return 0;
}
