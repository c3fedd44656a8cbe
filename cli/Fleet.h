#pragma once

#include "CliRun.h"

#include <functional>

// Several modems at once, each on its own thread with a connection and a
// session of its own, so that eight modems take little longer than one. A
// modem that fails never stops the others; each port is worked on by one
// thread only, and no port but those given is opened. Each report is handed
// on as its modem ends, in the order they end.
void runFleet(const Invocation& invocation, const QList<PortChoice>& ports,
              const LinkEnvironment& environment, const std::optional<ModemConfiguration>& fromFile,
              const std::function<void(const ModemReport&)>& ended);
