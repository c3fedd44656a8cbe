#pragma once

#include <QString>
#include <QStringView>
#include <QTime>

// One row of the modem traffic as the traffic window, the log file and the
// tavek.modem logging category show it.
enum class TrafficKind {
    Sent,          // a command line as it was written
    Received,      // what one read brought, as it came
    Port,          // the port opened, closed or lost
    CollectionEnd, // a reply's collection ended, and why
    Discarded,     // late characters thrown away before the next command
    Late,          // a result code that belongs to an earlier command
};

struct TrafficRow {
    QTime time; // local time of day, to the millisecond
    TrafficKind kind = TrafficKind::Port;
    QString text; // the characters on the line, or what happened
};

// The text with every control character made visible: "<CR>", "<LF>", and
// the others by their code ("<0x1A>", "<0x7F>"). Latin-1 letters stay.
QString visibleControls(QStringView text);

// "hh:mm:ss.zzz", a marker (→ sent, ← received, · the rest) and the text
// with its control characters made visible.
QString trafficRowText(const TrafficRow& row);
