#pragma once

#include "VirtualModem.h"

#include <array>

// The longest configuration a modem holds: messages of 50 characters and all
// 20 positions taken. Its listings take longer on the line than a read's
// first wait, so a result code taken for the read's own would cut them.
// The numbers given.
inline std::array<QByteArray, 20> giveTheLongestConfiguration(VirtualModem& modem) {
    std::array<VirtualModem::Input, 3> inputs;
    for (int n = 0; n < 3; ++n)
        inputs[n] = {1, n, 'O', 'S', QByteArray(50, char('a' + n)), QByteArray(50, char('A' + n))};
    modem.setInputs(inputs);
    std::array<QByteArray, 20> full;
    for (int p = 1; p <= 20; ++p)
        full[p - 1] = "+3933300" + QByteArray::number(100 + p);
    modem.setPhoneBook(full);
    return full;
}
