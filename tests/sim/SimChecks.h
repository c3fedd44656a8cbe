#pragma once

#include "InputRecords.h"
#include "ModemConfiguration.h"
#include "ModemLink.h"
#include "ReplyOwnership.h"
#include "SimRun.h"
#include "SimulatedLine.h"
#include "TrafficRows.h"

#include <QRegularExpression>

#include <functional>
#include <optional>

// What every flow of the line simulation is checked with: the properties of
// SimRun.h, and the modem's store as the window shows it.

inline constexpr qint64 nsPerMs = 1'000'000;

// Every write and every collection, with where the host had read up to in
// the modem's stream of bytes; and the exchange as traffic rows.
struct Exchange {
    QString line;           // as written, CR included
    qint64 readAtWrite = 0; // bytes the host had read (or thrown away) when it was written
    qint64 readAtEnd = -1;  // ... when its (last) collection ended
};

inline QString describe(const InputConfig& c) {
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
inline InputConfig panelOf(const ModemStoreInput& stored) {
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

inline InputsConfig panelsOf(const std::array<ModemStoreInput, 3>& stored) {
    return {panelOf(stored[0]), panelOf(stored[1]), panelOf(stored[2])};
}

// The longest an operation may take: each step's time-out and pause, and a
// little for the passes around them.
inline constexpr qint64 checkBoundMs = 2 * 1500 + 100;
inline constexpr qint64 readBoundMs = 400 + 600 + 50;
inline qint64 uploadBoundMs(int steps, int timeoutMs) {
    return steps * (timeoutMs + 200 + 25) + 50;
}

inline bool isStepStatus(const QString& status) {
    return (status.endsWith(u"...OK") || status.endsWith(u"...Failed!")) &&
           !status.contains(u"deleting");
}

inline bool isStepLine(const QString& line) {
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
        qsizetype step = 0;
        for (qsizetype k = 0; k < exchanges.size() && step < shown.size(); ++k) {
            const Exchange& e = exchanges[k];
            if (!isStepLine(e.line))
                continue;
            const QString status = shown[step++];
            if (status.endsWith(u"...OK"))
                confirmedByItsOwnReply(QStringLiteral("\"%1\" shown").arg(status), e.line,
                                       size_t(k), e.readAtEnd, device);
        }
    }

    // The steps tavek-cli reports, each confirmed or not, in the order sent:
    // each confirmed one against its own reply, as far as it had been read
    // when the reading of that reply ended.
    void reportedSteps(const QList<std::pair<QString, bool>>& steps, const SimDevice& device) {
        size_t next = 0;
        for (const auto& [command, confirmed] : steps) {
            const QString line = command + u'\r';
            size_t k = next;
            while (k < device.writes.size() && device.writes[k].bytes != line.toLatin1())
                ++k;
            if (k == device.writes.size()) {
                if (confirmed)
                    fail(QStringLiteral("%1 reported confirmed, but it was never sent")
                             .arg(visibleControls(line)));
                continue;
            }
            next = k + 1;
            if (confirmed)
                confirmedByItsOwnReply(QStringLiteral("reported confirmed"), line, k,
                                       device.writes[k].readAtEnd, device);
        }
    }

    // A step shown as confirmed: the modem had its line as the k-th, and its
    // echo or its own OK had been read by readAtEnd, and no ERROR of its own.
    void confirmedByItsOwnReply(const QString& shown, const QString& sent, size_t k,
                                qint64 readAtEnd, const SimDevice& device) {
        const auto& received = device.line.received();
        if (k >= received.size() || received[k].line + '\r' != sent.toLatin1()) {
            fail(
                QStringLiteral("%1, but the modem never had %2").arg(shown, visibleControls(sent)));
            return;
        }
        const ModemLine::ReceivedLine& line = received[k];
        const auto own = finalResultCode(QString::fromLatin1(line.reply));
        const bool resultSeen = line.resultEnd >= 0 && line.resultEnd <= readAtEnd;
        const bool echoSeen = line.echoEnd >= 0 && line.echoEnd <= readAtEnd;
        const bool errorSeen = own == FinalResult::Error && resultSeen;
        const bool evidence = echoSeen || (own == FinalResult::Ok && resultSeen);
        if (!evidence || errorSeen)
            fail(QStringLiteral("%1 for %2, which its own reply did not confirm%3 "
                                "(echo to %4, result to %5, read to %6)")
                     .arg(shown, visibleControls(sent),
                          errorSeen ? QStringLiteral(" (it said ERROR in time)") : QString())
                     .arg(line.echoEnd)
                     .arg(line.resultEnd)
                     .arg(readAtEnd));
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

    // Where the modem's store is other than the configuration, field by
    // field as a "Set" of it would leave it; fields a damaged read may have
    // changed are left out when asked.
    QStringList storeDifferences(const ModemCommandSet& store, const ModemConfiguration& wanted,
                                 bool leaveDamagedOut) const {
        QStringList found;
        const QStringList held = inputRecords(panelsOf(store.inputs));
        const QStringList records = inputRecords(wanted.inputs);
        for (qsizetype k = 0; k < records.size(); ++k) {
            const int input = records[k].mid(9, 1).toInt(); // "AT+EGINP=n..."
            if (leaveDamagedOut && damaged("AT+EGINP?", input, {}))
                continue;
            if (held.value(k) != records[k])
                found << QStringLiteral("%1 where %2").arg(held.value(k), records[k]);
        }
        for (int p = 1; p <= PhoneBookSize; ++p) {
            if (leaveDamagedOut && damaged("AT+EGPHN?", 0, p))
                continue;
            if (QString::fromLatin1(store.phoneBook[p - 1]) != wanted.phoneBook[p - 1])
                found << QStringLiteral("\"%1\" at position %2 where \"%3\"")
                             .arg(QString::fromLatin1(store.phoneBook[p - 1]))
                             .arg(p)
                             .arg(wanted.phoneBook[p - 1]);
        }
        return found;
    }

    // Whether a difference tavek-cli reported ("Input 2, ...", "Phone
    // position 7: ...") is about a field that a damaged read changed.
    bool aboutDamagedField(const QString& difference) const {
        static const QRegularExpression input(QStringLiteral("^Input (\\d)\\b")),
            position(QStringLiteral("^Phone position (\\d+)\\b"));
        if (const auto m = input.match(difference); m.hasMatch())
            return damaged("AT+EGINP?", m.captured(1).toInt(), {});
        if (const auto m = position.match(difference); m.hasMatch())
            return damaged("AT+EGPHN?", 0, m.captured(1).toInt());
        return false;
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
        for (const SimDevice::Write& write : device.writes)
            if (write.at > closedAtNs)
                fail(QStringLiteral("\"%1\" was written %2 ms after the window was closed")
                         .arg(visibleControls(QString::fromLatin1(write.bytes)))
                         .arg(double(write.at - closedAtNs) / nsPerMs));
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
