#include "SimRun.h"

#include "ConfigOperations.h"
#include "InputRecords.h"
#include "MainToolbar.h"
#include "MainWindow.h"
#include "ModemConnection.h"
#include "ModemLink.h"
#include "PhoneRecords.h"
#include "ReplyOwnership.h"
#include "SimChecks.h"
#include "SimCliFlow.h"
#include "TrafficRows.h"
#include "WindowControls.h"

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QToolButton>

#include <algorithm>
#include <optional>

namespace {

const QString modemPath = QStringLiteral("/sim/ttyUSB0");

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
    // The files tavek-cli reads and writes, in memory where the system has a
    // folder there: a save is synced to its disk.
    QTemporaryDir folder{QDir(QStringLiteral("/dev/shm")).exists()
                             ? QStringLiteral("/dev/shm/tavek-sim-XXXXXX")
                             : QDir::tempPath() + QStringLiteral("/tavek-sim-XXXXXX")};

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

    std::optional<qint64> closedAt; // when the window knew it was closed
    if (isCliFlow(s.flow))
        runCliFlow(s, d->world, *device, modemPath, d->folder.path(), check, outcome.traffic);
    else if (isWindowFlow(s.flow))
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
    // The watcher outlives the connection, which tells it of the port's close.
    SimTraffic traffic(world, device, outcome.traffic);
    ModemConnection connection(world.environment());
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
