#include "Schedule.h"

#include "InputRecords.h"
#include "ModemLink.h"
#include "PhoneRecords.h"

#include <QStringList>

#include <random>

namespace {

class Draw {
public:
    explicit Draw(quint64 seed) : random_(seed) {}
    int between(int lowest, int highest) {
        return std::uniform_int_distribution<int>(lowest, highest)(random_);
    }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    template <typename T> const T& oneOf(const QList<T>& items) {
        return items.at(between(0, int(items.size()) - 1));
    }

private:
    std::mt19937_64 random_;
};

// A message of carried characters: printable Latin-1, quotes and all.
QByteArray drawMessage(Draw& draw) {
    QByteArray text;
    const int length = draw.chance(0.2) ? 0 : draw.between(1, 50);
    for (int i = 0; i < length; ++i) {
        const int c = draw.between(0, 95 + 96 - 1);
        text += char(c < 95 ? 32 + c : 65 + c); // 32 to 126, then 160 to 255
    }
    return text;
}

QByteArray drawNumber(Draw& draw) {
    QByteArray number = draw.chance(0.9) ? "+39" : "0";
    for (int i = draw.between(4, 14); i > 0; --i)
        number += char('0' + draw.between(0, 9));
    return number;
}

void drawStore(Draw& draw, std::array<ModemStoreInput, 3>& inputs,
               std::array<QByteArray, 20>& phoneBook) {
    for (ModemStoreInput& input : inputs) {
        input.status = draw.between(0, 1);
        input.delay = draw.between(0, 10);
        input.rest = draw.chance(0.5) ? 'O' : 'C';
        input.bit = draw.chance(0.5) ? 'S' : 'D';
        input.messageC = drawMessage(draw);
        input.messageO = drawMessage(draw);
    }
    const double filled = draw.oneOf(QList<double>{0.0, 0.2, 0.6, 1.0});
    for (QByteArray& number : phoneBook)
        number = draw.chance(filled) ? drawNumber(draw) : QByteArray();
}

// The command lines a flow may send, for the knobs that pick some of them.
QList<QByteArray> commandsOf(const Schedule& schedule) {
    QList<QByteArray> commands{"AT"};
    switch (schedule.flow) {
    case SimFlow::Check:
        break;
    case SimFlow::Relay:
        commands << RelayOnCommand.toLatin1();
        break;
    case SimFlow::FactoryDefaults:
        for (const QString& command : factoryDefaultCommands())
            commands << command.toLatin1();
        break;
    default:
        commands << "AT+EGINP?"
                 << "AT+EGPHN?";
        for (int p = 1; p <= 20; ++p) {
            commands
                << phoneBookCommand(p, QString::fromLatin1(schedule.phoneBook[p - 1])).toLatin1()
                << phoneBookCommand(p, QString::fromLatin1(schedule.newPhoneBook[p - 1])).toLatin1()
                << phoneBookCommand(p, QString()).toLatin1();
        }
        for (int n = 1; n <= 3; ++n)
            commands << QByteArray("AT+EGINP=") + char('0' + n);
        break;
    }
    return commands;
}

struct LineAt {
    QByteArray text;  // without its line break
    qsizetype offset; // of the damaged byte in it
};

std::optional<LineAt> lineAround(const QByteArray& reply, qsizetype index) {
    if (reply[index] == '\r' || reply[index] == '\n')
        return std::nullopt;
    qsizetype start = index;
    while (start > 0 && reply[start - 1] != '\r' && reply[start - 1] != '\n')
        --start;
    qsizetype end = index;
    while (end < reply.size() && reply[end] != '\r' && reply[end] != '\n')
        ++end;
    return LineAt{reply.mid(start, end - start), index - start};
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// What a damaged byte of a listing line hits: the fields it may change when
// it is a value, or nothing at all (structure, which the reader must notice).
void classify(ReplyDamage& damage, const QByteArray& reply) {
    const auto at = lineAround(reply, damage.index);
    if (!at) {
        // A line break, structure; but a quote in place of the CR that ends
        // a message line makes that line end in a quote still: its message
        // has one more character, which no reader can tell.
        if (reply[damage.index] == '\r' && damage.replacement == '"' && damage.index > 0) {
            if (const auto before = lineAround(reply, damage.index - 1);
                before && before->text.startsWith("+EGINP: ") && before->text.size() > 11 &&
                before->text[10] == '"')
                damage.inputs << before->text[8] - '0';
        }
        return;
    }
    const std::optional<char> by = damage.replacement;
    if (by && (*by == '\r' || *by == '\n'))
        return; // a line split in two: structure
    const QByteArray& line = at->text;
    const qsizetype o = at->offset;
    constexpr int prefix = 8; // "+EGPHN: " or "+EGINP: "
    if (o < prefix)
        return;
    if (line.startsWith("+EGPHN: ")) {
        const qsizetype comma = line.indexOf(',', prefix);
        const qsizetype open = comma + 1, close = line.indexOf('"', open + 1);
        const int position = line.mid(prefix, comma - prefix).toInt();
        if (o < comma) { // a position digit: its number may move to another position
            QByteArray digits = line.mid(prefix, comma - prefix);
            if (by)
                digits[o - prefix] = *by;
            else
                digits.remove(o - prefix, 1);
            bool ok = false;
            const int moved = digits.toInt(&ok);
            if (ok && !digits.isEmpty() && digits.size() <= 2 && isDigit(digits[0]) &&
                (digits.size() == 1 || isDigit(digits[1])) && moved >= 1 && moved <= 20)
                damage.positions << position << moved;
        } else if (o > open && o < close && (!by || *by != '"')) {
            damage.positions << position; // a character of the number
        } else if (o > close + 1 && (!by || isDigit(*by))) {
            damage.positions << position; // a digit of the type, read past
        }
        return;
    }
    if (!line.startsWith("+EGINP: "))
        return;
    const int input = line[prefix] - '0';
    const QByteArray body = line.mid(prefix);
    const qsizetype b = o - prefix;
    if (body.size() > 3 && body[2] == '"') { // a message line: its text is a value
        if (b >= 7 && b < body.size() - 1)
            damage.inputs << input;
        // The closing quote lost after a text that ends in a quote: the line
        // still ends in one, and the text is a character shorter.
        const qsizetype last = body.size() - 1;
        if (b == last && !by && last - 1 >= 7 && body[last - 1] == '"')
            damage.inputs << input;
        return;
    }
    // A settings line n,s,ddddd,"r","b": the status, delay, rest and bit are values
    // as long as they stay values the modem can hold.
    const auto stays = [&](const char* allowed) { return by && QByteArray(allowed).contains(*by); };
    if ((b == 2 && stays("0123456789")) || (b >= 4 && b <= 8 && (!by || isDigit(*by))) ||
        (b == 11 && stays("OC")) || (b == 15 && stays("SD")))
        damage.inputs << input;
}

std::optional<ReplyDamage> drawDamage(Draw& draw, const Schedule& schedule) {
    ModemCommandSet store;
    store.inputs = schedule.inputs;
    store.phoneBook = schedule.phoneBook;
    store.strayLinesInListings = schedule.strayLinesInListings;
    ReplyDamage damage;
    damage.command = draw.chance(0.5) ? "AT+EGINP?" : "AT+EGPHN?";
    const QByteArray reply = store.execute(damage.command, false);
    // Inside the listing: past its first line break, before the result code.
    const qsizetype first = 2, last = reply.lastIndexOf("\r\n", reply.size() - 3);
    if (last <= first)
        return std::nullopt;
    damage.index = draw.between(int(first), int(last) - 1);
    if (!draw.chance(0.25)) {
        char replacement;
        do
            replacement =
                char(draw.between(draw.chance(0.7) ? 32 : 0, draw.chance(0.8) ? 126 : 255));
        while (replacement == reply[damage.index]);
        damage.replacement = replacement;
    }
    classify(damage, reply);
    return damage;
}

} // namespace

QString flowName(SimFlow flow) {
    static const char* const names[] = {"check",
                                        "relay",
                                        "factory defaults",
                                        "input upload",
                                        "phone-book upload",
                                        "input read",
                                        "phone-book read",
                                        "default settings",
                                        "read then Set",
                                        "window: read then Set",
                                        "window: edit and Set",
                                        "window: default settings",
                                        "tavek-cli read",
                                        "tavek-cli write",
                                        "tavek-cli verify",
                                        "tavek-cli clear"};
    return QString::fromLatin1(names[int(flow)]);
}

Schedule drawSchedule(quint64 seed) {
    Draw draw(seed);
    Schedule s;
    s.seed = seed;
    s.flow = SimFlow(draw.between(0, int(SimFlow::CliClear)));
    drawStore(draw, s.inputs, s.phoneBook);
    drawStore(draw, s.newInputs, s.newPhoneBook);

    // How troubled the line is: most runs meet a little, some a lot.
    const double trouble = draw.oneOf(QList<double>{0.0, 0.15, 0.3, 0.6});
    s.echo = !draw.chance(trouble * 0.5);
    s.echoLineFeed = draw.chance(0.2);
    s.processingMs = draw.chance(0.8) ? draw.between(0, 200) : draw.between(0, 2600);
    const QList<QByteArray> commands = commandsOf(s);
    for (const QByteArray& command : commands) {
        if (draw.chance(trouble * 0.1))
            s.processingFor[command] = draw.between(0, 2600); // past any time-out
        if (draw.chance(trouble * 0.15))
            s.lateResultFor[command] = draw.between(0, 300);
        if (command != "AT" && draw.chance(trouble * 0.1))
            s.errorFor.push_back(command);
    }
    if (draw.chance(trouble))
        s.lateResultMs = draw.between(0, 300);
    if (draw.chance(trouble)) {
        const QList<QByteArray> strays{"RING", "+CREG: 1", "+CMTI: \"SM\",3",
                                       "+CLIP: \"+393331234567\",145,,,,0", "NO CARRIER"};
        for (int i = draw.between(1, 3); i > 0; --i)
            s.strayLinesInListings << std::pair{draw.between(0, 9), draw.oneOf(strays)};
        for (int i = draw.between(0, 4); i > 0; --i)
            s.unsolicited.push_back({draw.between(0, 12000), draw.oneOf(strays)});
    }
    if (draw.chance(trouble * 0.5))
        s.damage = drawDamage(draw, s);
    if (draw.chance(trouble * 0.3))
        s.vanishAfterBytes = draw.between(0, 1500);
    s.answerOnlySecondAttempt = draw.chance(trouble * 0.1);
    if (draw.chance(0.3))
        s.adapter = {1, 0, 0}; // byte by byte
    else
        s.adapter = {draw.between(1, 64), draw.between(1, 32),
                     draw.chance(0.5) ? 0 : draw.between(0, 50)};
    if (draw.chance(trouble * 0.2))
        s.cancelAfterMs = draw.between(0, 15000);
    // A modem that does not keep what it is sent as sent: only a read-back tells.
    if (draw.chance(trouble * 0.3))
        s.storeFault = ModemCommandSet::StoreFault(draw.between(1, 3));
    s.cli.json = draw.chance(0.5);
    s.cli.standardStreams = draw.chance(0.3);
    s.cli.fileThere = draw.chance(0.3);
    s.cli.noVerify = draw.chance(0.2);
    s.cli.noBackup = draw.chance(0.15);
    s.cli.fileIsTheStore = draw.chance(0.5);
    if (isCliFlow(s.flow))
        s.cancelAfterMs.reset(); // a command line has no window to close
    return s;
}

QString Schedule::describe() const {
    QStringList parts{QStringLiteral("seed %1").arg(seed), flowName(flow),
                      echo ? QStringLiteral("echo") : QStringLiteral("no echo")};
    if (echoLineFeed)
        parts << QStringLiteral("echo ends CR LF");
    parts << QStringLiteral("processing %1 ms").arg(processingMs);
    for (const auto& [command, ms] : processingFor)
        parts << QStringLiteral("%1 processed in %2 ms").arg(QString::fromLatin1(command)).arg(ms);
    if (lateResultMs)
        parts << QStringLiteral("result codes %1 ms late").arg(lateResultMs);
    for (const auto& [command, ms] : lateResultFor)
        parts << QStringLiteral("%1's result code %2 ms late")
                     .arg(QString::fromLatin1(command))
                     .arg(ms);
    for (const QByteArray& command : errorFor)
        parts << QStringLiteral("ERROR to %1").arg(QString::fromLatin1(command));
    for (const auto& [before, line] : strayLinesInListings)
        parts << QStringLiteral("\"%1\" before listing line %2")
                     .arg(QString::fromLatin1(line))
                     .arg(before);
    for (const auto& [ms, line] : unsolicited)
        parts << QStringLiteral("\"%1\" at %2 ms").arg(QString::fromLatin1(line)).arg(ms);
    if (damage)
        parts << QStringLiteral("%1's reply byte %2 %3 (value of inputs %4, positions %5)")
                     .arg(QString::fromLatin1(damage->command))
                     .arg(damage->index)
                     .arg(damage->replacement
                              ? QStringLiteral("made 0x%1")
                                    .arg(uchar(*damage->replacement), 2, 16, QChar(u'0'))
                              : QStringLiteral("lost"))
                     .arg(QString::number(damage->inputs.size()))
                     .arg(QString::number(damage->positions.size()));
    if (vanishAfterBytes)
        parts << QStringLiteral("unplugged after %1 bytes").arg(*vanishAfterBytes);
    if (answerOnlySecondAttempt)
        parts << QStringLiteral("silent to the first AT");
    parts << QStringLiteral(
                 "adapter: packets up to %1 bytes, latency up to %2 ms, gaps up to %3 ms")
                 .arg(adapter.largestPacket)
                 .arg(adapter.longestLatencyMs)
                 .arg(adapter.longestGapMs);
    if (cancelAfterMs)
        parts << QStringLiteral("window closed at %1 ms").arg(*cancelAfterMs);
    if (isCliFlow(flow)) {
        QStringList how;
        if (cli.json)
            how << QStringLiteral("--json");
        if (cli.standardStreams && (flow == SimFlow::CliRead || flow == SimFlow::CliWrite))
            how << QStringLiteral("standard streams");
        if (cli.fileThere && flow == SimFlow::CliRead)
            how << QStringLiteral("a file already there");
        if (cli.noVerify && flow == SimFlow::CliWrite)
            how << QStringLiteral("--no-verify");
        if (cli.noBackup && (flow == SimFlow::CliWrite || flow == SimFlow::CliClear))
            how << QStringLiteral("--no-backup");
        if (flow == SimFlow::CliVerify)
            how << (cli.fileIsTheStore ? QStringLiteral("the file is the modem's store")
                                       : QStringLiteral("a file of its own"));
        parts << QStringLiteral("tavek-cli: ") +
                     (how.isEmpty() ? QStringLiteral("plain") : how.join(u' '));
    }
    using StoreFault = ModemCommandSet::StoreFault;
    if (storeFault == StoreFault::StoresNothing)
        parts << QStringLiteral("writes echoed, unanswered, not kept");
    else if (storeFault == StoreFault::CutsTexts)
        parts << QStringLiteral("texts kept cut to 9 characters");
    else if (storeFault == StoreFault::DropsLastPosition)
        parts << QStringLiteral("position 20 not kept");
    return parts.join(QStringLiteral("; "));
}
