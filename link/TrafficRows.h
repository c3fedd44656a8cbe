#pragma once

#include <QString>
#include <QStringView>
#include <QTime>

// One row of the modem traffic as the traffic window, the log file, the
// tavek.modem logging category and tavek-cli --verbose show it.
enum class TrafficKind {
    Sent,          // a command line as it was written
    Received,      // one line as it came, its line break included
    Port,          // the port opened, closed or lost
    CollectionEnd, // a reply's collection ended, and why
    Discarded,     // late characters thrown away before the next command
    Late,          // a result code that belongs to an earlier command
};

struct TrafficRow {
    QTime time; // local time of day, to the millisecond; of the first byte of a line
    TrafficKind kind = TrafficKind::Port;
    QString text; // the characters on the line, or what happened
};

// How the characters on the line are written: as text with the control
// characters made visible, or as the bytes in hex.
enum class TrafficNotation { Text, Hex };

// The text with every control character made visible: "<CR>", "<LF>", and
// the others by their code ("<0x1A>", "<0x7F>"). Latin-1 letters stay.
QString visibleControls(QStringView text);

// The bytes of Latin-1 text in hex, two digits each, one space between: "41 54 0D".
QString hexBytes(QStringView text);

// The one text of a row, wherever it is shown: "hh:mm:ss.zzz", a marker
// (→ sent, ← received, ! late, · the rest) and the text. In hex, the
// characters on the line are written as bytes; what happened stays words.
QString trafficRowText(const TrafficRow& row, TrafficNotation notation = TrafficNotation::Text);
