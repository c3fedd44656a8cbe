#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>

#include <array>

// The program-wide state of the link to the modem. There is exactly one of it
// for the whole run: every modem operation reads the port number from it and
// collects replies into it, as the modem firmware tools of this family always
// have. Nothing else in the program is global.
struct LinkState {
    // Serial port number, 1 for the first port; follows the port selector.
    qint16 CommPortNumber = 0;
    // Characters received since the current command was written, unchanged.
    QString ReplyBuffer;
    // When the current command was written (monotonic, so midnight never matters).
    QElapsedTimer SendTime;
    // Outcome of the last connection check.
    bool ModemConnected = false;
    // Five command slots; slot 1 is the relay command. Operations fill the
    // slots they send from before sending and never rely on what another left.
    std::array<QString, 5> commandSlots;

    QString& RelayCommand() { return commandSlots[0]; }
    const QString& RelayCommand() const { return commandSlots[0]; }
};

// The one instance.
LinkState& linkState();
