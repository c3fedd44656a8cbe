#pragma once

#include "CliRun.h"

#include <QJsonObject>

class Console;

// What one modem's command says: for a person, a sentence on standard output
// when all went well (the differences one per line), the rest on standard
// error; for a script (--json), one JSON object a line on standard output:
//   {"command": "write", "port": "Com 3", "device": "/dev/ttyUSB0",
//    "result": "confirmed", "exitCode": 0, "backup": "...tavek",
//    "steps": [{"command": "AT+EGINP=1,...", "confirmed": true}, ...],
//    "differences": [], "errors": []}
// read adds "configuration" (the file's own object) and "saved".
QJsonObject reportObject(const ModemReport& report);
void printReport(const ModemReport& report, Console& console, bool json);
// For several modems at once: one line per modem, as each ends.
QString fleetLine(const ModemReport& report);
