#pragma once

#include <QByteArray>
#include <QList>

#include <array>
#include <utility>

// One alarm input as the modem stores it.
struct ModemStoreInput {
    int status = 0;      // 1 active, 0 not
    int delay = 0;       // 0..10 (hundreds of milliseconds)
    char rest = 'O';     // 'O' or 'C'
    char bit = 'S';      // 'S' or 'D'
    QByteArray messageC; // text sent when the contact is closed
    QByteArray messageO; // text sent when the contact is open

    bool operator==(const ModemStoreInput&) const = default;
};

// What a KVZ modem does with one command line, without any I/O: it applies
// the "AT+EGINP=" and "AT+EGPHN=" writes to the stored configuration and
// builds the framed reply (information text and result code, no echo).
class ModemCommandSet {
public:
    // Modems that take a write and do not keep it as sent: only a read-back
    // tells.
    enum class StoreFault {
        None,
        StoresNothing,     // a write is echoed, never answered, and changes nothing
        CutsTexts,         // messages and numbers are kept cut to their first 9 characters
        DropsLastPosition, // a write to phone-book position 20 is answered OK and not kept
    };

    // The reply to one command line (without its CR). Empty for an empty line
    // and for a line that is not an AT command, which a modem ignores.
    QByteArray execute(const QByteArray& line, bool lowerCase);

    std::array<ModemStoreInput, 3> inputs;
    std::array<QByteArray, 20> phoneBook; // position p at index p - 1
    // Unsolicited lines ("RING", "+CREG: 1") that come in the middle of a
    // listing: each before the listing line of its index (the count of lines
    // or more: after the last one).
    QList<std::pair<int, QByteArray>> strayLinesInListings;
    StoreFault storeFault = StoreFault::None;

private:
    bool writeInput(const QByteArray& args);
    bool writePhone(const QByteArray& args);
    QByteArray kept(const QByteArray& text) const;
    QByteArray inputLines() const;
    QByteArray phoneLines() const;
    QByteArray withStrayLines(const QList<QByteArray>& lines) const;
};
