// How close the uploads come to the floor that their pauses set: against a
// virtual modem that answers at once, the 20-position phone-book upload
// (floor 20 x 0.2 s) and the 9-record input upload (floor 9 x 0.2 s), and the
// two reads (floor: the 0.4 s first wait). Prints the figures; a program, not
// a test. Usage: config_bench [runs]
#include "ConfigOperations.h"
#include "ConfigView.h"
#include "LinkState.h"
#include "PortsFolderLink.h"
#include "SerialPort.h"
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

// The window, reduced to what the operations read and write.
class QuietView : public ConfigView {
public:
    InputsConfig inputs{};
    std::array<QString, PhoneBookSize + 1> grid{};

    void setStatusText(const QString&) override {}
    void setFramesEnabled(bool) override {}
    void showModemError(const QString& text) override {
        std::fprintf(stderr, "Modem error: %s\n", qPrintable(text));
    }
    InputConfig inputConfig(int input) const override { return inputs.at(input - 1); }
    void setInputConfig(int input, const InputConfig& config) override {
        inputs.at(input - 1) = config;
    }
    QString phoneNumber(int position) const override { return grid.at(position); }
    void setPhoneNumber(int position, const QString& number) override {
        grid.at(position) = number;
    }
    void setToolbarEnabled(bool) override {}
};

struct Figures {
    double best = 0;
    double median = 0;
};

Figures timeRuns(int runs, const std::function<void()>& operation) {
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        operation();
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return {seconds.front(), seconds[seconds.size() / 2]};
}

void report(const char* what, const Figures& f, double floor) {
    std::printf("%-34s best %.3f s  median %.3f s  floor %.3f s  median over floor %+.1f%%\n", what,
                f.best, f.median, floor, (f.median / floor - 1) * 100);
}

} // namespace

int main(int argc, char** argv) {
    // The ports folder of a home of its own, so no other program's "Com 1" is met.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    VirtualModem modem;
    PortsFolderLink comLink(modem.devicePath(), 1);
    linkState().CommPortNumber = 1;
    SerialPort port;
    QuietView view;
    for (int p = 1; p <= PhoneBookSize; p += 2)
        view.grid[p] = QStringLiteral("+3933512345%1").arg(p, 2, 10, QLatin1Char('0'));
    for (InputConfig& input : view.inputs)
        input.singleMessage = input.doubleMessage =
            MessageText{QStringLiteral("ALLARME  1 ON"), false};

    std::printf("config_bench: %d runs each, virtual modem answering at once\n", runs);
    report("phone book upload (20 positions)", timeRuns(runs, [&] { SetNumbers(port, view); }),
           PhoneBookSize * 0.2);
    report("input upload (9 records)", timeRuns(runs, [&] { SendInputs(port, view); }), 9 * 0.2);
    report("phone book read", timeRuns(runs, [&] { GetNumbers(port, view); }), 0.4);
    report("input read", timeRuns(runs, [&] { GetInputs(port, view); }), 0.4);
    return 0;
}
