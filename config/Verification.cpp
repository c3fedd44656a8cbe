#include "Verification.h"

#include "InputRecords.h"

#include <QCoreApplication>

namespace {

// The texts below in one translation context, by a name that lupdate reads too.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(Verification)
};

// One input as the modem was sent it: its settings and the message bound to
// each contact state.
struct WireInput {
    bool active = false;
    int delayIndex = 0;
    bool restOpen = true;
    bool single = true;
    QString closedMessage, openMessage;
};

WireInput wireInput(const InputConfig& config) {
    WireInput wire;
    wire.active = config.status == InputStatus::Active;
    wire.delayIndex = config.delayIndex;
    wire.restOpen = config.restState == RestState::NormallyOpen;
    wire.single = config.bit == BitMode::Single;
    // The Single box holding the placeholder sends both messages empty.
    const bool empty = config.singleMessage.isPlaceholder();
    const QString singleText = empty ? QString() : config.singleMessage.text;
    const QString doubleText = empty ? QString() : config.doubleMessage.text;
    // The Single message goes with the state opposite the rest state.
    wire.closedMessage = wire.restOpen ? singleText : doubleText;
    wire.openMessage = wire.restOpen ? doubleText : singleText;
    return wire;
}

QString quoted(const QString& text) {
    return text.isEmpty() ? Texts::tr("an empty message") : u'"' + text + u'"';
}

QString delayText(int index) {
    return index == 0 ? Texts::tr("no delay") : Texts::tr("%1 ms").arg(index * 100);
}

} // namespace

QStringList inputDifferences(const InputsConfig& sent, const InputsReading& held, bool whole) {
    QStringList differences;
    if (!whole)
        differences << Texts::tr("The inputs read back were not whole: what the modem holds is not "
                                 "known for every field.");
    for (int n = 1; n <= InputCount; ++n) {
        const WireInput wire = wireInput(sent[n - 1]);
        const InputReading& reading = held[n - 1];
        const auto differ = [&](const QString& field, const QString& was, const QString& is) {
            differences << Texts::tr("Input %1, %2: sent %3, the modem holds %4.")
                               .arg(n)
                               .arg(field, was, is);
        };
        const auto active = [](bool on) {
            return on ? Texts::tr("Active") : Texts::tr("Disactive");
        };
        if (reading.status && (*reading.status == InputStatus::Active) != wire.active)
            differ(Texts::tr("Status"), active(wire.active),
                   active(*reading.status == InputStatus::Active));
        if (reading.delayIndex && *reading.delayIndex != wire.delayIndex)
            differ(Texts::tr("delay"), delayText(wire.delayIndex), delayText(*reading.delayIndex));
        const auto port = [](bool open) {
            return open ? Texts::tr("N. Open") : Texts::tr("N. Closed");
        };
        if (reading.restState && (*reading.restState == RestState::NormallyOpen) != wire.restOpen)
            differ(Texts::tr("Port"), port(wire.restOpen),
                   port(*reading.restState == RestState::NormallyOpen));
        const auto bit = [](bool single) {
            return single ? Texts::tr("Single") : Texts::tr("Double");
        };
        if (reading.bit && (*reading.bit == BitMode::Single) != wire.single)
            differ(Texts::tr("Bit"), bit(wire.single), bit(*reading.bit == BitMode::Single));
        // Each message by the box it was typed in, Single first as the panel
        // shows them: the Single message goes with the state opposite the
        // rest state.
        const auto message = [&](const QString& box, const QString& was,
                                 const std::optional<QString>& is) {
            if (!whole && !is)
                return;
            if (!is)
                differ(box, quoted(was), Texts::tr("nothing"));
            else if (*is != was)
                differ(box, quoted(was), quoted(*is));
        };
        const bool singleIsClosed = wire.restOpen;
        message(Texts::tr("Single message"), singleIsClosed ? wire.closedMessage : wire.openMessage,
                singleIsClosed ? reading.closedMessage : reading.openMessage);
        message(Texts::tr("Double message"), singleIsClosed ? wire.openMessage : wire.closedMessage,
                singleIsClosed ? reading.openMessage : reading.closedMessage);
    }
    return differences;
}

QStringList phoneBookDifferences(const PhoneBook& sent, const std::vector<PhoneBookEntry>& held,
                                 bool whole) {
    QStringList differences;
    if (!whole)
        differences << Texts::tr(
            "The phone book read back was not whole: what the modem holds is not "
            "known for every position.");
    PhoneBook holds;
    for (const PhoneBookEntry& entry : held)
        holds[entry.position - 1] = entry.number;
    for (int p = 1; p <= PhoneBookSize; ++p) {
        const QString& was = sent[p - 1];
        const QString& is = holds[p - 1];
        if (was == is || (!whole && is.isEmpty()))
            continue;
        differences << Texts::tr("Phone position %1: sent %2, the modem holds %3.")
                           .arg(p)
                           .arg(was.isEmpty() ? Texts::tr("nothing") : was,
                                is.isEmpty() ? Texts::tr("nothing") : is);
    }
    return differences;
}

bool sameOnTheWire(const InputsConfig& a, const InputsConfig& b) {
    return inputRecords(a) == inputRecords(b);
}
