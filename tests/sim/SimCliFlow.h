#pragma once

#include "Schedule.h"
#include "SimRun.h"

#include <QString>

#include <vector>

class Checker;
class SimWorld;
struct SimDevice;

// tavek-cli run in-process on the simulated line, as a technician runs it:
// the schedule's command against the device at path, its output caught,
// its files in folder and its backups where Backups.h keeps them. Then the
// properties of what its exit code says:
// - read, 0: what it gave holds exactly the modem's store (a damaged value
//   inside a text may be read as it came); otherwise no file is written and
//   one already there is untouched;
// - write, 0: every record went out and was confirmed by its own reply, and
//   read back, the modem's store is the file;
// - write and clear: before the first overwriting command, a backup of the
//   store as it was is kept whole (unless --no-backup);
// - verify: nothing but the check and the two reads reaches the modem, and
//   its 0 means the store is the file, its 4 that it is not (or a read was
//   damaged or not whole);
// - every step reported confirmed was confirmed by its own reply;
// - a failure says why; a device that vanished under it is a failure, and
//   nothing reaches it after;
// - it ends within the sum of its time-outs.
// The exchange and what it printed go into rows, for a report.
void runCliFlow(const Schedule& s, SimWorld& world, SimDevice& device, const QString& path,
                const QString& folder, Checker& check, std::vector<SimOutcome::Row>& rows);
