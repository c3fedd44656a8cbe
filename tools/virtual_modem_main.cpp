// tavek-virtual-modem: a KVZ modem on a pseudo-terminal, to try Tavek without
// hardware. It links itself in the ports folder as "Com N" and removes the
// link when it ends (Ctrl+C or a termination signal).

#include "PortsFolderLink.h"
#include "VirtualModem.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

void printUsage(std::FILE* to) {
    std::fprintf(to,
                 "Usage: tavek-virtual-modem [N]\n"
                 "Starts a virtual KVZ modem on a pseudo-terminal and links it as Com N\n"
                 "(default: the first free number) in %s.\n"
                 "It prints every command line it receives; Ctrl+C ends it.\n",
                 qPrintable(PortsFolderLink::folder()));
}

// A small configuration, so that reading the modem shows something.
void loadDemoConfiguration(VirtualModem& modem) {
    std::array<VirtualModem::Input, 3> inputs;
    inputs[0] = {1, 3, 'O', 'S', "Alarm on input 1", "Input 1 back to normal"};
    inputs[1] = {1, 0, 'C', 'D', "Door opened", "Door closed"};
    inputs[2] = {0, 0, 'O', 'S', "", ""};
    modem.setInputs(inputs);
    std::array<QByteArray, 20> phoneBook;
    phoneBook[0] = "+393351234567";
    phoneBook[3] = "+390612345678";
    modem.setPhoneBook(phoneBook);
}

// Command lines as text, with the control characters of the line made visible.
QByteArray printable(const QByteArray& line) {
    QByteArray text;
    for (char c : line)
        text += (c >= 32 && c < 127) ? QByteArray(1, c) : "\\x" + QByteArray::number(uchar(c), 16);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int number = 0;
    if (argc > 2) {
        printUsage(stderr);
        return 2;
    }
    if (argc == 2) {
        if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
            printUsage(stdout);
            return 0;
        }
        bool ok = false;
        number = QByteArray(argv[1]).toInt(&ok);
        if (!ok || number < 1 || number > 255) {
            std::fprintf(stderr, "tavek-virtual-modem: N is a port number from 1 to 255\n");
            printUsage(stderr);
            return 2;
        }
    }

    // Blocked before the modem starts its thread, so that only sigtimedwait below sees them.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    sigaddset(&endSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN); // a closed output must not end it without removing its link

    VirtualModem modem;
    loadDemoConfiguration(modem);
    const PortsFolderLink link(modem.devicePath(), number);
    if (!link.isLinked()) {
        std::fprintf(stderr, "tavek-virtual-modem: %s\n", qPrintable(link.errorString()));
        return 1;
    }
    std::printf("Virtual modem on %s, linked as Com %d (%s). Ctrl+C ends it.\n",
                qPrintable(modem.devicePath()), link.number(), qPrintable(link.linkPath()));
    std::fflush(stdout);

    const timespec tick{0, 200 * 1000 * 1000};
    size_t shown = 0;
    while (sigtimedwait(&endSignals, nullptr, &tick) < 0) {
        const auto lines = modem.received();
        for (; shown < lines.size(); ++shown)
            std::printf("<- %s\n", printable(lines[shown].line).constData());
        std::fflush(stdout);
    }
    std::printf("Virtual modem ends; Com %d removed.\n", link.number());
    return 0;
}
