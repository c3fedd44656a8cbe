#pragma once

#include "OperationSteps.h"

#include <QString>

class SerialPort;
class ModemView;

// What one of the two readers' queries brought back.
struct QueryReply {
    OperationEnd end = OperationEnd::Completed;
    QString text;          // the raw reply
    bool complete = false; // it ended with "OK": nothing of it is missing
};

// The exchange of the two readers: the query goes out; nothing is read for
// the first 0.4 s; then the reply is collected, pumping events, until the
// modem's final result code has come or 0.6 s have passed. The port is
// closed afterwards. A port that cannot be opened gives an empty reply; one
// lost midway has been reported to the user.
QueryReply readQueryReply(SerialPort& port, ModemView& view, const QString& query);
