// tavek-virtual-modem: a KVZ modem on a pseudo-terminal, to try Tavek without
// hardware. It behaves like a modem on a 9600 bit/s line unless told
// otherwise, links itself in the ports folder as "Com N" and removes the link
// when it ends (Ctrl+C or a termination signal).

#include "PortsFolderLink.h"
#include "VirtualModem.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <optional>

namespace {

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
    for (char c : line) {
        if (c >= 32 && c < 127)
            text += c;
        else
            text += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
    }
    return text;
}

int usageError(const QCommandLineParser& parser, const QString& message) {
    std::fprintf(stderr, "tavek-virtual-modem: %s\n%s", qPrintable(message),
                 qPrintable(parser.helpText()));
    return 2;
}

// A whole number from lowest to highest, or nothing.
std::optional<int> numberIn(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Starts a virtual KVZ modem on a pseudo-terminal and links it as Com N "
                       "(default: the first free number) in %1.\n"
                       "It answers as a modem on a 9600 bit/s line would: each character "
                       "echoed as it arrives, the reply after the processing time.\n"
                       "It prints every command line it receives; Ctrl+C ends it.")
            .arg(PortsFolderLink::folder()));
    const QCommandLineOption help({"h", "help"}, QStringLiteral("Shows this help."));
    const QCommandLineOption instant(
        "instant", QStringLiteral("Answers at once, echo and reply in one write, no pacing."));
    const QCommandLineOption usbLatency(
        "usb-latency",
        QStringLiteral("Hands bytes over in bursts, as a USB adapter with this latency timer "
                       "(1 to 255 ms; 0, the default, is byte by byte)."),
        "MS");
    const QCommandLineOption processing(
        "processing", QStringLiteral("Time between a command line and its reply (default 20)."),
        "MS");
    const QCommandLineOption replyDelay(
        "reply-delay", QStringLiteral("Extra time before each reply (default 0)."), "MS");
    const QCommandLineOption errorFor(
        "error-for",
        QStringLiteral("Answers ERROR to command lines that start with PREFIX (repeatable)."),
        "PREFIX");
    const QCommandLineOption noEcho("no-echo", QStringLiteral("Does not echo command lines."));
    const QCommandLineOption lateResult(
        "late-result",
        QStringLiteral("Sends each final result code (OK, ERROR) so much later than the rest of "
                       "its reply (default 0)."),
        "MS");
    const QCommandLineOption lateResultFor(
        "late-result-for",
        QStringLiteral("The same for one command line only, e.g. AT=30 (repeatable)."),
        "COMMAND=MS");
    const QCommandLineOption strayLines(
        "stray-lines",
        QStringLiteral("Puts unsolicited lines (RING, +CREG: 1) in the middle of the input and "
                       "phone-book listings, as a modem with calls and network news may."));
    const QCommandLineOption storeFault(
        "store-fault",
        QStringLiteral("Does not keep writes as sent: 'nothing' echoes them, never answers and "
                       "keeps nothing; 'cut' keeps messages and numbers cut to 9 characters; "
                       "'drop-last' answers OK to phone-book position 20 and keeps nothing."),
        "FAULT");
    parser.addOptions({help, instant, usbLatency, processing, replyDelay, errorFor, noEcho,
                       lateResult, lateResultFor, strayLines, storeFault});
    parser.addPositionalArgument("N", QStringLiteral("The port number, 1 to 255."), "[N]");

    if (!parser.parse(app.arguments()))
        return usageError(parser, parser.errorText());
    if (parser.isSet(help)) {
        std::printf("%s", qPrintable(parser.helpText()));
        return 0;
    }
    int number = 0;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return usageError(parser, QStringLiteral("one port number at most"));
    if (positional.size() == 1) {
        const auto given = numberIn(positional[0], 1, 255);
        if (!given)
            return usageError(parser, QStringLiteral("N is a port number from 1 to 255"));
        number = *given;
    }
    int latencyMs = 0;
    if (parser.isSet(usbLatency)) {
        const auto given = numberIn(parser.value(usbLatency), 0, 255);
        if (!given)
            return usageError(parser, QStringLiteral("--usb-latency takes 0 to 255 ms"));
        latencyMs = *given;
    }
    int processingMs = -1;
    if (parser.isSet(processing)) {
        const auto given = numberIn(parser.value(processing), 0, 60000);
        if (!given)
            return usageError(parser, QStringLiteral("--processing takes 0 to 60000 ms"));
        processingMs = *given;
    }
    int lateResultMs = 0;
    if (parser.isSet(lateResult)) {
        const auto given = numberIn(parser.value(lateResult), 0, 60000);
        if (!given)
            return usageError(parser, QStringLiteral("--late-result takes 0 to 60000 ms"));
        lateResultMs = *given;
    }
    QList<std::pair<QByteArray, int>> lateResultsFor;
    for (const QString& value : parser.values(lateResultFor)) {
        const qsizetype equals = value.lastIndexOf(u'=');
        const auto given = equals > 0 ? numberIn(value.mid(equals + 1), 0, 60000) : std::nullopt;
        if (!given)
            return usageError(parser, QStringLiteral("--late-result-for takes COMMAND=MS, "
                                                     "with MS from 0 to 60000"));
        lateResultsFor.append({value.left(equals).toLatin1(), *given});
    }
    int replyDelayMs = 0;
    if (parser.isSet(replyDelay)) {
        const auto given = numberIn(parser.value(replyDelay), 0, 60000);
        if (!given)
            return usageError(parser, QStringLiteral("--reply-delay takes 0 to 60000 ms"));
        replyDelayMs = *given;
    }

    using StoreFault = ModemCommandSet::StoreFault;
    StoreFault fault = StoreFault::None;
    if (parser.isSet(storeFault)) {
        const QString given = parser.value(storeFault);
        if (given == u"nothing")
            fault = StoreFault::StoresNothing;
        else if (given == u"cut")
            fault = StoreFault::CutsTexts;
        else if (given == u"drop-last")
            fault = StoreFault::DropsLastPosition;
        else
            return usageError(parser, QStringLiteral("--store-fault takes nothing, cut or "
                                                     "drop-last"));
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
    modem.setInstant(parser.isSet(instant));
    modem.setUsbLatencyMs(latencyMs);
    if (processingMs >= 0)
        modem.setProcessingMs(processingMs);
    modem.setReplyDelayMs(replyDelayMs);
    modem.setEcho(!parser.isSet(noEcho));
    for (const QString& prefix : parser.values(errorFor))
        modem.setErrorFor(prefix.toLatin1());
    modem.setLateResultMs(lateResultMs);
    for (const auto& [command, ms] : lateResultsFor)
        modem.setLateResultMsFor(command, ms);
    if (parser.isSet(strayLines))
        modem.setStrayLinesInListings({{1, "RING"}, {2, "+CREG: 1"}});
    modem.setStoreFault(fault);
    const int linked = modem.linkAs(number);
    if (linked == 0) {
        std::fprintf(stderr, "tavek-virtual-modem: %s\n", qPrintable(modem.linkError()));
        return 1;
    }
    std::printf("Virtual modem on %s, linked as Com %d (%s). Ctrl+C ends it.\n",
                qPrintable(modem.devicePath()), linked, qPrintable(modem.linkPath()));
    std::fflush(stdout);

    size_t shown = 0;
    const auto showNewLines = [&] {
        const auto lines = modem.received();
        for (; shown < lines.size(); ++shown)
            std::printf("<- %s\n", printable(lines[shown].line).constData());
        std::fflush(stdout);
    };
    const timespec tick{0, 200 * 1000 * 1000};
    while (sigtimedwait(&endSignals, nullptr, &tick) < 0)
        showNewLines();
    showNewLines();
    std::printf("Virtual modem ends; Com %d removed.\n", linked);
    return 0;
}
