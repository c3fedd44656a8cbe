#pragma once

#include <QString>

#include <optional>

class SerialPort;
class ModemView;

// The exchange of the two readers: the query goes out from the first command
// slot; nothing is read for the first 0.4 s; then the reply is collected,
// pumping events, until a read leaves nothing waiting or 0.6 s have passed.
// The port is closed afterwards. The raw reply, or nothing when the port
// could not be opened or was lost (the readers then change nothing).
std::optional<QString> readQueryReply(SerialPort& port, ModemView& view, const QString& query);
