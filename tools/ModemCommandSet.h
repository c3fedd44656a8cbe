#pragma once

#include "VirtualModem.h"

#include <QByteArray>

#include <array>

// What a KVZ modem does with one command line, without any I/O: it applies
// the "AT+EGINP=" and "AT+EGPHN=" writes to the stored configuration and
// builds the framed reply (information text and result code, no echo).
class ModemCommandSet {
public:
    // The reply to one command line (without its CR). Empty for an empty line
    // and for a line that is not an AT command, which a modem ignores.
    QByteArray execute(const QByteArray& line, bool lowerCase);

    std::array<VirtualModem::Input, 3> inputs;
    std::array<QByteArray, 20> phoneBook; // position p at index p - 1

private:
    bool writeInput(const QByteArray& args);
    bool writePhone(const QByteArray& args);
    QByteArray inputLines() const;
    QByteArray phoneLines() const;
};
