#include "SimRun.h"

#include "ConfigOperations.h"
#include "InputRecords.h"
#include "MainToolbar.h"
#include "MainWindow.h"
#include "ModemConnection.h"
#include "ModemLink.h"
#include "PhoneRecords.h"
#include "ReplyOwnership.h"
#include "TrafficRows.h"
#include "WindowControls.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QToolButton>

#include <algorithm>
#include <optional>

namespace {

constexpr qint64 nsPerMs = 1'000'000;
const QString modemPath = QStringLiteral("/sim/ttyUSB0");

// Every write and every collection, with where the host had read up to in
// the modem's stream of bytes; and the exchange as traffic rows.
struct Exchange {
    QString line;           // as written, CR included
    qint64 readAtWrite = 0; // bytes the host had read (or thrown away) when it was written
    qint64 readAtEnd = -1;  // ... when its (last) collection ended
};

class SimTraffic final : public ModemTraffic {
public:
    SimTraffic(SimWorld& world, const SimDevice& device, std::vector<SimOutcome::Row>& rows)
        : world_(world), device_(device), rows_(rows) {}
    QList<Exchange> exchanges;

    void portOpened(const QString& device) override {
        row(QChar(0xB7), QStringLiteral("port opened: ") + device);
    }
    void portClosed(const QString& device) override {
        row(QChar(0xB7), QStringLiteral("port closed: ") + device);
    }
    void portLost(const QString& device) override {
        row(QChar(0xB7), QStringLiteral("port lost: ") + device);
    }
    void sent(const QString& line) override {
        exchanges << Exchange{line, readUpTo()};
        row(QChar(0x2192), line);
    }
    void received(const QString& text) override { row(QChar(0x2190), text); }
    void discarded(int characters) override {
        row(QChar(0xB7), QStringLiteral("%1 late characters thrown away").arg(characters));
    }
    void lateResultCode(const QString& code) override {
        row(QChar(0xB7), QStringLiteral("late result code ") + code);
    }
    void collectionEnded(CollectionEnd why) override {
        if (!exchanges.isEmpty())
            exchanges.last().readAtEnd = readUpTo();
        row(QChar(0xB7),
            why == CollectionEnd::ReplyComplete ? QStringLiteral("end of reply: complete")
            : why == CollectionEnd::TimedOut    ? QStringLiteral("end of reply: time-out")
                                                : QStringLiteral("end of reply: port lost"));
    }

private:
    qint64 readUpTo() const { return device_.readUpTo; }
    void row(QChar marker, const QString& text) {
        if (rows_.size() < 3000)
            rows_.push_back({world_.clock().nowNs(), marker, text});
    }
    SimWorld& world_;
    const SimDevice& device_;
    std::vector<SimOutcome::Row>& rows_;
};

// The window of the operations run on their own: what it shows, and the
// user closing it at a given time.
class SimView final : public OperationObserver {
public:
    SimView(const SimClock& clock, std::optional<qint64> closeAt)
        : clock_(clock), closeAt_(closeAt) {}
    InputsConfig inputs{};
    std::array<QString, PhoneBookSize + 1> grid{};
    QStringList statuses, errors;

    void setStatusText(const QString& text) override { statuses << text; }
    void showModemError(const QString& text) override { errors << text; }
    void pumpEvents() override {}
    // The operations look before each command; the first look after the
    // close is when the window knew of it.
    bool cancelled() const override {
        if (closeAt_ && clock_.nowNs() >= *closeAt_ && !closedAt)
            closedAt = clock_.nowNs();
        return closedAt.has_value();
    }
    mutable std::optional<qint64> closedAt;
    PhoneBook phoneBook() const {
        PhoneBook book;
        for (int p = 1; p <= PhoneBookSize; ++p)
            book[p - 1] = grid[p];
        return book;
    }

private:
    const SimClock& clock_;
    std::optional<qint64> closeAt_;
};

// The main window on the simulated line. Its waits pump no events (nothing
// on the virtual clock needs them); the user may close it at a given time.
class SimWindow final : public MainWindow {
public:
    SimWindow(const LinkEnvironment& environment, const SimClock& clock)
        : MainWindow(nullptr, environment), clock_(clock) {
        // Kept in memory: a run's backups are looked at, not written to disk.
        session().setBackupKeeper(
            [this](const ModemConfiguration& read, const QString& device, QString*) {
                backups << read;
                return std::optional<QString>(device + QStringLiteral(".tavek"));
            });
    }
    QStringList statuses;
    QList<ModemConfiguration> backups;
    std::optional<qint64> closeAt;
    bool closedByUser = false;

    void setStatusText(const QString& text) override {
        statuses << text;
        MainWindow::setStatusText(text);
    }
    // The user's close is taken when the window next handles its events.
    void pumpEvents() override {
        if (closeAt && !closedByUser && clock_.nowNs() >= *closeAt) {
            closedByUser = true;
            closedAt = clock_.nowNs();
            close();
        }
    }
    std::optional<qint64> closedAt;

private:
    const SimClock& clock_;
};

QString describe(const InputConfig& c) {
    return QStringLiteral("%1 %2 %3 %4 [%5]%6 [%7]%8")
        .arg(int(c.status))
        .arg(c.delayIndex)
        .arg(int(c.restState))
        .arg(int(c.bit))
        .arg(visibleControls(c.singleMessage.text), c.singleMessage.placeholderColour ? "*" : "",
             visibleControls(c.doubleMessage.text), c.doubleMessage.placeholderColour ? "*" : "");
}

// The panels that show what the modem stores: the message of the contact
// opposite the rest state in the Single box.
InputConfig panelOf(const ModemStoreInput& stored) {
    InputConfig panel;
    panel.status = stored.status ? InputStatus::Active : InputStatus::Disactive;
    panel.delayIndex = stored.delay;
    panel.restState = stored.rest == 'O' ? RestState::NormallyOpen : RestState::NormallyClosed;
    panel.bit = stored.bit == 'S' ? BitMode::Single : BitMode::Double;
    const bool open = stored.rest == 'O';
    panel.singleMessage = {QString::fromLatin1(open ? stored.messageC : stored.messageO), false};
    panel.doubleMessage = {QString::fromLatin1(open ? stored.messageO : stored.messageC), false};
    return panel;
}

InputsConfig panelsOf(const std::array<ModemStoreInput, 3>& stored) {
    return {panelOf(stored[0]), panelOf(stored[1]), panelOf(stored[2])};
}

void configure(ModemLine& line, const Schedule& s, qint64 startNs) {
    line.commands().inputs = s.inputs;
    line.commands().phoneBook = s.phoneBook;
    line.commands().strayLinesInListings = s.strayLinesInListings;
    line.commands().storeFault = s.storeFault;
    line.setEcho(s.echo);
    line.setEchoLineFeed(s.echoLineFeed);
    line.setProcessingMs(s.processingMs);
    for (const auto& [command, ms] : s.processingFor)
        line.setProcessingMsFor(command, ms);
    line.setLateResultMs(s.lateResultMs);
    for (const auto& [command, ms] : s.lateResultFor)
        line.setLateResultMsFor(command, ms);
    for (const QByteArray& command : s.errorFor)
        line.setReplyFor(command, "\r\nERROR\r\n");
    if (s.damage)
        line.setDamage(s.damage->command, s.damage->index, s.damage->replacement);
    for (const auto& [ms, text] : s.unsolicited)
        line.sendUnsolicitedAt(SimClock::timePoint(startNs + ms * nsPerMs), text);
    if (s.vanishAfterBytes)
        line.vanishAfterBytes(*s.vanishAfterBytes);
    if (s.answerOnlySecondAttempt)
        line.setAnswerOnlyAttempt(2);
}

// The longest an operation may take: each step's time-out and pause, and a
// little for the passes around them.
constexpr qint64 checkBoundMs = 2 * 1500 + 100;
constexpr qint64 readBoundMs = 400 + 600 + 50;
qint64 uploadBoundMs(int steps, int timeoutMs) {
    return steps * (timeoutMs + 200 + 25) + 50;
}

bool isStepStatus(const QString& status) {
    return (status.endsWith(u"...OK") || status.endsWith(u"...Failed!")) &&
           !status.contains(u"deleting");
}

bool isStepLine(const QString& line) {
    static const QStringList notSteps{"AT\r", "\r", "AT+EGINP?\r", "AT+EGPHN?\r"};
    return !notSteps.contains(line);
}

// Checks the properties of one run.
class Checker {
public:
    Checker(const Schedule& s, SimOutcome& outcome) : s_(s), outcome_(outcome) {}

    void fail(const QString& what) { outcome_.violations << what; }

    void bounded(const QString& what, qint64 tookNs, qint64 boundMs) {
        if (tookNs > boundMs * nsPerMs)
            fail(QStringLiteral("%1 took %2 ms, more than its %3 ms")
                     .arg(what)
                     .arg(double(tookNs) / nsPerMs)
                     .arg(boundMs));
    }

    // Each step's outcome against what its own reply said, and when.
    void steps(const QStringList& statuses, const QList<Exchange>& exchanges,
               const SimDevice& device) {
        QStringList shown;
        for (const QString& status : statuses)
            if (isStepStatus(status))
                shown << status;
        const auto& received = device.line.received();
        qsizetype step = 0;
        for (qsizetype k = 0; k < exchanges.size() && step < shown.size(); ++k) {
            const Exchange& e = exchanges[k];
            if (!isStepLine(e.line))
                continue;
            const QString status = shown[step++];
            if (k >= qsizetype(received.size()) ||
                received[size_t(k)].line + '\r' != e.line.toLatin1()) {
                if (status.endsWith(u"...OK"))
                    fail(QStringLiteral("\"%1\" shown, but the modem never had %2")
                             .arg(status, visibleControls(e.line)));
                continue;
            }
            const ModemLine::ReceivedLine& line = received[size_t(k)];
            const auto own = finalResultCode(QString::fromLatin1(line.reply));
            const bool resultSeen = line.resultEnd >= 0 && line.resultEnd <= e.readAtEnd;
            const bool echoSeen = line.echoEnd >= 0 && line.echoEnd <= e.readAtEnd;
            const bool errorSeen = own == FinalResult::Error && resultSeen;
            const bool evidence = echoSeen || (own == FinalResult::Ok && resultSeen);
            if (status.endsWith(u"...OK") && (!evidence || errorSeen))
                fail(QStringLiteral("\"%1\" shown for %2, which its own reply did not confirm%3 "
                                    "(echo to %4, result to %5, read to %6)")
                         .arg(status, visibleControls(e.line),
                              errorSeen ? QStringLiteral(" (it said ERROR in time)") : QString())
                         .arg(line.echoEnd)
                         .arg(line.resultEnd)
                         .arg(e.readAtEnd));
        }
    }

    // A read that says it is whole shows exactly what the modem holds.
    void inputsRead(bool whole, const InputsConfig& shown) {
        if (!whole)
            return;
        const InputsConfig expected = panelsOf(s_.inputs);
        for (int n = 1; n <= InputCount; ++n) {
            if (damaged("AT+EGINP?", n, {}))
                continue;
            if (!(shown[n - 1] == expected[n - 1]))
                fail(QStringLiteral("the input read says it is whole, but input %1 shows %2 where "
                                    "the modem holds %3")
                         .arg(n)
                         .arg(describe(shown[n - 1]), describe(expected[n - 1])));
        }
    }
    void numbersRead(bool whole, const std::function<QString(int)>& shown) {
        if (!whole)
            return;
        for (int p = 1; p <= PhoneBookSize; ++p) {
            if (damaged("AT+EGPHN?", 0, p))
                continue;
            if (shown(p) != QString::fromLatin1(s_.phoneBook[p - 1]))
                fail(QStringLiteral("the phone-book read says it is whole, but position %1 shows "
                                    "\"%2\" where the modem holds \"%3\"")
                         .arg(p)
                         .arg(shown(p), QString::fromLatin1(s_.phoneBook[p - 1])));
        }
    }

    // What was kept before the modem was overwritten is what it held.
    void backupIsTheModems(const ModemConfiguration& backup) {
        const InputsConfig expected = panelsOf(s_.inputs);
        for (int n = 1; n <= InputCount; ++n)
            if (!damaged("AT+EGINP?", n, {}) && !(backup.inputs[n - 1] == expected[n - 1]))
                fail(QStringLiteral("the backup holds input %1 as %2 where the modem held %3")
                         .arg(n)
                         .arg(describe(backup.inputs[n - 1]), describe(expected[n - 1])));
        for (int p = 1; p <= PhoneBookSize; ++p)
            if (!damaged("AT+EGPHN?", 0, p) &&
                backup.phoneBook[p - 1] != QString::fromLatin1(s_.phoneBook[p - 1]))
                fail(QStringLiteral("the backup holds \"%1\" at position %2 where the modem "
                                    "held \"%3\"")
                         .arg(backup.phoneBook[p - 1])
                         .arg(p)
                         .arg(QString::fromLatin1(s_.phoneBook[p - 1])));
    }

    // A write that ended without a word: the modem holds what the window
    // shows, as it went on the wire.
    void storeHoldsShown(const ModemCommandSet& store, const InputsConfig& shownInputs,
                         const std::function<QString(int)>& shownNumber) {
        const QStringList held = inputRecords(panelsOf(store.inputs));
        const QStringList shown = inputRecords(shownInputs);
        for (qsizetype k = 0; k < shown.size(); ++k)
            if (held.value(k) != shown[k])
                fail(QStringLiteral("a write ended without a word, but the modem holds %1 where "
                                    "the window shows %2")
                         .arg(held.value(k), shown[k]));
        for (int p = 1; p <= PhoneBookSize; ++p)
            if (QString::fromLatin1(store.phoneBook[p - 1]) != shownNumber(p))
                fail(QStringLiteral("a write ended without a word, but the modem holds \"%1\" at "
                                    "position %2 where the window shows \"%3\"")
                         .arg(QString::fromLatin1(store.phoneBook[p - 1]))
                         .arg(p)
                         .arg(shownNumber(p)));
    }

    // Read, then Set: the modem holds what it held.
    void storeUnchanged(const ModemCommandSet& store) {
        if (s_.storeFault != ModemCommandSet::StoreFault::None)
            return; // a modem that does not keep what it is sent: the read-back tells

        for (int n = 1; n <= 3; ++n)
            if (!damaged("AT+EGINP?", n, {}) && !(store.inputs[n - 1] == s_.inputs[n - 1]))
                fail(QStringLiteral("read, then Set changed input %1 in the modem").arg(n));
        for (int p = 1; p <= 20; ++p)
            if (!damaged("AT+EGPHN?", 0, p) && store.phoneBook[p - 1] != s_.phoneBook[p - 1])
                fail(QStringLiteral("read, then Set changed phone-book position %1 in the modem")
                         .arg(p));
    }

    // The lines an upload sent are the records of what it was given, in order.
    void sentExactly(const QStringList& expected, const QList<Exchange>& exchanges) {
        QStringList sent;
        for (const Exchange& e : exchanges)
            if (isStepLine(e.line))
                sent << e.line.chopped(1);
        if (sent.size() > expected.size() || sent != expected.mid(0, sent.size()))
            fail(QStringLiteral("the upload sent %1 lines that are not the records of what was "
                                "given")
                     .arg(sent.size()));
    }

    void nothingAfterClose(const SimDevice& device, qint64 closedAtNs) {
        for (const auto& [at, bytes] : device.writes)
            if (at > closedAtNs)
                fail(QStringLiteral("\"%1\" was written %2 ms after the window was closed")
                         .arg(visibleControls(QString::fromLatin1(bytes)))
                         .arg(double(at - closedAtNs) / nsPerMs));
    }

private:
    bool damaged(const QByteArray& command, int input, std::optional<int> position) const {
        if (!s_.damage || s_.damage->command != command)
            return false;
        return (input > 0 && s_.damage->inputs.contains(input)) ||
               (position && s_.damage->positions.contains(*position));
    }

    const Schedule& s_;
    SimOutcome& outcome_;
};

} // namespace

QStringList SimOutcome::trafficRows() const {
    QStringList rows;
    for (const Row& row : traffic)
        rows << QStringLiteral("%1 ms %2 %3")
                    .arg(double(row.ns) / nsPerMs, 12, 'f', 3)
                    .arg(row.marker)
                    .arg(visibleControls(row.text));
    return rows;
}

struct SimRunner::Impl {
    SimClock clock;
    SimWorld world{clock};
    std::unique_ptr<SimWindow> window;

    std::optional<qint64> runOperations(const Schedule& s, SimDevice& device, Checker& check,
                                        SimOutcome& outcome);
    std::optional<qint64> runWindow(const Schedule& s, SimDevice& device, Checker& check,
                                    SimOutcome& outcome);
};

SimRunner::SimRunner() : d(std::make_unique<Impl>()) {}
SimRunner::~SimRunner() = default;

SimOutcome SimRunner::run(const Schedule& s) {
    SimOutcome outcome;
    Checker check(s, outcome);
    d->world.clear();
    d->world.setAdapter(s.adapter, s.seed);
    const qint64 start = d->clock.nowNs();
    const std::shared_ptr<SimDevice> device = d->world.plug(modemPath);
    configure(device->line, s, start);
    // A device unplugged is at once followed by another at the same path:
    // nothing may reach it.
    std::shared_ptr<SimDevice> other;
    d->world.onUnplugged = [&](const QString& path) {
        if (!other)
            other = d->world.plug(path);
    };

    const bool windowFlow = s.flow >= SimFlow::WindowReadThenSet;
    std::optional<qint64> closedAt; // when the window knew it was closed
    if (windowFlow)
        closedAt = d->runWindow(s, *device, check, outcome);
    else
        closedAt = d->runOperations(s, *device, check, outcome);

    if (closedAt)
        check.nothingAfterClose(*device, *closedAt);
    if (other && !other->writes.empty())
        check.fail(QStringLiteral("%1 writes reached the device plugged in after the modem "
                                  "vanished")
                       .arg(other->writes.size()));
    d->world.onUnplugged = nullptr;
    d->world.clear();
    // Some quiet between runs, as between two technicians' visits.
    d->clock.advanceTo(d->clock.nowNs() + 60'000 * nsPerMs);
    return outcome;
}

std::optional<qint64> SimRunner::Impl::runOperations(const Schedule& s, SimDevice& device,
                                                     Checker& check, SimOutcome& outcome) {
    ModemConnection connection(world.environment());
    SimTraffic traffic(world, device, outcome.traffic);
    connection.traffic().add(&traffic);
    connection.setNamedDevice(modemPath);
    std::optional<qint64> closeAt;
    if (s.cancelAfterMs)
        closeAt = clock.nowNs() + qint64(*s.cancelAfterMs) * nsPerMs;
    SimView view(clock, closeAt);

    qint64 began = clock.nowNs();
    const auto took = [&] {
        const qint64 t = clock.nowNs() - began;
        began = clock.nowNs();
        return t;
    };
    connectModem(connection, view);
    check.bounded(QStringLiteral("the connection check"), took(), checkBoundMs);
    if (connection.modemConnected && !view.cancelled()) {
        switch (s.flow) {
        case SimFlow::Relay:
            sendRelayString(connection, view, RelayOnCommand);
            check.bounded(QStringLiteral("the relay command"), took(), uploadBoundMs(1, 1500));
            break;
        case SimFlow::FactoryDefaults:
            sendDefaultString(connection, view);
            check.bounded(QStringLiteral("the factory defaults"), took(), uploadBoundMs(5, 2000));
            break;
        case SimFlow::SendInputs: {
            view.inputs = panelsOf(s.newInputs);
            sendInputs(connection, view, view.inputs);
            check.bounded(QStringLiteral("the input upload"), took(), uploadBoundMs(9, 1500));
            check.sentExactly(inputRecords(view.inputs), traffic.exchanges);
            break;
        }
        case SimFlow::SetNumbers: {
            QStringList expected;
            for (int p = 1; p <= PhoneBookSize; ++p) {
                view.grid[p] = QString::fromLatin1(s.newPhoneBook[p - 1]);
                expected << phoneBookCommand(p, view.grid[p]);
            }
            setNumbers(connection, view, view.phoneBook());
            check.bounded(QStringLiteral("the phone-book upload"), took(), uploadBoundMs(20, 500));
            check.sentExactly(expected, traffic.exchanges);
            break;
        }
        case SimFlow::GetInputs: {
            const InputsRead read = getInputs(connection, view);
            view.inputs = applyInputsReading(view.inputs, read.arrived);
            check.bounded(QStringLiteral("the input read"), took(), readBoundMs);
            check.inputsRead(read.end == OperationEnd::Completed && read.complete, view.inputs);
            break;
        }
        case SimFlow::GetNumbers: {
            const PhoneBookRead read = getNumbers(connection, view);
            for (const PhoneBookEntry& entry : read.arrived)
                view.grid[entry.position] = entry.number;
            check.bounded(QStringLiteral("the phone-book read"), took(), readBoundMs);
            check.numbersRead(read.end == OperationEnd::Completed && read.complete,
                              [&](int p) { return view.grid[p]; });
            break;
        }
        case SimFlow::DefaultSettings: {
            deleteNumbersFromGrid(view, [&](int p) { view.grid[p].clear(); });
            const OperationResult numbers = setNumbers(connection, view, view.phoneBook());
            if (numbers.completed()) {
                view.inputs = loadDefaultMessages(view.inputs);
                sendInputs(connection, view, view.inputs);
            }
            check.bounded(QStringLiteral("the default settings"), took(),
                          uploadBoundMs(20, 500) + uploadBoundMs(9, 1500));
            break;
        }
        case SimFlow::ReadThenSet: {
            const InputsRead inputs = getInputs(connection, view);
            view.inputs = applyInputsReading(view.inputs, inputs.arrived);
            PhoneBookRead numbers{inputs.end, false, {}};
            if (inputs.end == OperationEnd::Completed) {
                numbers = getNumbers(connection, view);
                for (const PhoneBookEntry& entry : numbers.arrived)
                    view.grid[entry.position] = entry.number;
            }
            check.bounded(QStringLiteral("the two reads"), took(), 2 * readBoundMs);
            const bool whole = inputs.end == OperationEnd::Completed && inputs.complete &&
                               numbers.end == OperationEnd::Completed && numbers.complete;
            check.inputsRead(whole, view.inputs);
            check.numbersRead(whole, [&](int p) { return view.grid[p]; });
            if (whole) {
                const OperationResult sent = sendInputs(connection, view, view.inputs);
                if (sent.completed())
                    setNumbers(connection, view, view.phoneBook());
                check.bounded(QStringLiteral("the two uploads"), took(),
                              uploadBoundMs(9, 1500) + uploadBoundMs(20, 500));
            }
            check.storeUnchanged(device.line.commands());
            break;
        }
        default:
            break;
        }
    }
    check.steps(view.statuses, traffic.exchanges, device);
    return view.closedAt;
}

std::optional<qint64> SimRunner::Impl::runWindow(const Schedule& s, SimDevice& device,
                                                 Checker& check, SimOutcome& outcome) {
    if (!window || window->closedByUser) {
        window.reset();
        window = std::make_unique<SimWindow>(world.environment(), clock);
        window->connection().setNamedDevice(modemPath);
    }
    SimWindow& w = *window;
    SimTraffic traffic(world, device, outcome.traffic);
    w.connection().traffic().add(&traffic);
    w.statuses.clear();
    w.backups.clear();
    QStringList boxes;
    bool askedToSendAnyway = false;
    w.dialogs().modemError = [&](const QString& text) { boxes << text; };
    w.dialogs().confirm = [](const QString&) { return true; };
    // Sending over what was not read whole, or without a backup, is answered
    // No; letting unsent edits go when the user closes the window, Yes.
    w.dialogs().warn = [&](const QString& title, const QString&) {
        if (title == u"Unsent changes")
            return true;
        askedToSendAnyway = true;
        return false;
    };
    if (s.cancelAfterMs)
        w.closeAt = clock.nowNs() + qint64(*s.cancelAfterMs) * nsPerMs;
    w.closedAt.reset();
    const qint64 began = clock.nowNs();

    const auto click = [&](QAbstractButton* button) {
        QCoreApplication::processEvents(); // a device lost while idle is noticed now
        if (!w.closedByUser)
            button->click();
    };
    click(w.toolbar()->button(QStringLiteral("connection")));
    const bool connected = w.connection().modemConnected && !w.closedByUser;
    qint64 bound = checkBoundMs + 2 * readBoundMs;
    if (connected) {
        const bool whole =
            !w.session().inputsReadIncomplete() && !w.session().phoneBookReadIncomplete();
        if (!whole && boxes.isEmpty())
            check.fail(QStringLiteral("a read was not whole, and no box said so"));
        InputsConfig shownInputs;
        for (int n = 1; n <= InputCount; ++n)
            shownInputs[n - 1] = w.model().input(n);
        check.inputsRead(!w.session().inputsReadIncomplete(), shownInputs);
        check.numbersRead(!w.session().phoneBookReadIncomplete(),
                          [&](int p) { return w.model().number(p); });
        const qsizetype boxesAfterConnect = boxes.size();
        const qsizetype sentAfterConnect = traffic.exchanges.size();

        switch (s.flow) {
        case SimFlow::WindowReadThenSet: {
            // A "Set" of what was not read whole asks first (and is answered No).
            const auto setWithoutAsking = [&](QAbstractButton* button, bool readWhole,
                                              const char* record, const char* what) {
                askedToSendAnyway = false;
                const qsizetype before = traffic.exchanges.size();
                click(button);
                const bool sent = std::any_of(
                    traffic.exchanges.begin() + before, traffic.exchanges.end(),
                    [&](const Exchange& e) { return e.line.startsWith(QLatin1String(record)); });
                if (!readWhole && sent && !askedToSendAnyway)
                    check.fail(QStringLiteral("Set sent %1 that was not read whole without asking")
                                   .arg(QLatin1String(what)));
            };
            const bool inputsWhole = !w.session().inputsReadIncomplete(),
                       numbersWhole = !w.session().phoneBookReadIncomplete();
            setWithoutAsking(cmdSendInputs(w), inputsWhole, "AT+EGINP=", "the inputs");
            setWithoutAsking(cmdSetNumbers(w), numbersWhole, "AT+EGPHN=", "the phone book");
            bound += uploadBoundMs(9, 1500) + uploadBoundMs(20, 500) + 2 * readBoundMs;
            check.storeUnchanged(device.line.commands());
            break;
        }
        case SimFlow::WindowEditAndSet: {
            if (!whole)
                break;
            const InputsConfig edited = panelsOf(s.newInputs);
            QStringList expected = inputRecords(edited);
            for (int n = 1; n <= InputCount; ++n)
                w.model().setInput(n, edited[n - 1]);
            for (int p = 1; p <= PhoneBookSize; ++p) {
                w.model().setNumber(p, QString::fromLatin1(s.newPhoneBook[p - 1]));
                expected << phoneBookCommand(p, QString::fromLatin1(s.newPhoneBook[p - 1]));
            }
            const qsizetype before = traffic.exchanges.size();
            click(cmdSendInputs(w));
            click(cmdSetNumbers(w));
            bound += uploadBoundMs(9, 1500) + uploadBoundMs(20, 500) + 2 * readBoundMs;
            check.sentExactly(expected, traffic.exchanges.mid(before));
            break;
        }
        case SimFlow::WindowDefaultSettings:
            click(w.toolbar()->button(QStringLiteral("clear")));
            bound += uploadBoundMs(9, 1500) + uploadBoundMs(20, 500) + 2 * readBoundMs;
            break;
        default:
            break;
        }

        // What the modem held was kept before anything overwrote it; and a
        // write that ended without a word left the modem holding what is shown.
        const bool overwrote = std::any_of(traffic.exchanges.begin() + sentAfterConnect,
                                           traffic.exchanges.end(), [](const Exchange& e) {
                                               return e.line.startsWith(u"AT+EGINP=") ||
                                                      e.line.startsWith(u"AT+EGPHN=");
                                           });
        if (overwrote && w.backups.isEmpty())
            check.fail(QStringLiteral("the modem was overwritten, and no backup was kept"));
        else if (overwrote)
            check.backupIsTheModems(w.backups.last());
        if (overwrote && whole && boxes.size() == boxesAfterConnect && !w.closedByUser &&
            device.present && w.connection().modemConnected) {
            InputsConfig shownNow;
            for (int n = 1; n <= InputCount; ++n)
                shownNow[n - 1] = w.model().input(n);
            check.storeHoldsShown(device.line.commands(), shownNow,
                                  [&](int p) { return w.model().number(p); });
        }
    }
    check.bounded(flowName(s.flow), clock.nowNs() - began, bound);
    check.steps(w.statuses, traffic.exchanges, device);

    QCoreApplication::processEvents();
    if (!w.closedByUser && !device.present) {
        // The modem vanished: the window says so and can connect again.
        if (w.connection().modemConnected || !w.toolbar()->isEnabled() || frmMain(w)->isEnabled() ||
            w.connection().port().isOpen())
            check.fail(QStringLiteral("the modem vanished, and the window is not back to "
                                      "disconnected"));
        if (boxes.isEmpty())
            check.fail(QStringLiteral("the modem vanished, and no box said so"));
    }
    // Back to not connected for the next run, as the plug does.
    if (!w.closedByUser && w.connection().modemConnected)
        w.toolbar()->button(QStringLiteral("connection"))->click();
    w.connection().traffic().remove(&traffic);
    // The boxes' answers above refer to this run's locals.
    w.dialogs().modemError = [](const QString&) {};
    w.dialogs().warn = [](const QString& title, const QString&) {
        return title == u"Unsent changes";
    };
    w.closeAt.reset();
    return w.closedAt;
}
