#pragma once

#include "CliArguments.h"
#include "ModemConfiguration.h"
#include "OperationRunner.h"

#include <QStringList>

#include <optional>

class Console;
struct LinkEnvironment;

// What tavek-cli says of one modem's command, as text or as JSON.
struct ModemReport {
    QString verb;
    QString port;   // as named: "Com 3", or a device path
    QString device; // the device the check found there
    int exitCode = 0;
    QString result; // a word for scripts: "confirmed", "different", "no answer", ...
    QString said;   // the sentence for a person
    QStringList errors;
    QStringList differences;
    QList<StepResult> steps;
    QString backup; // the backup kept of what the modem held, if any
    QString saved;  // read: the file written
    std::optional<ModemConfiguration> configuration; // read: what was read
};

// One modem's command, through a session of its own: the connection check,
// then the verb. The configuration of write and verify has been read from
// its file already. Nothing of it is shared with another modem's run, so
// that several run at once, each on its own thread.
ModemReport runOnModem(const Invocation& invocation, const PortChoice& port, Console& console,
                       const LinkEnvironment& environment,
                       const std::optional<ModemConfiguration>& fromFile);
