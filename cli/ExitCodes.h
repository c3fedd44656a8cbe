#pragma once

// tavek-cli's exit codes, as its manual page and --help list them. For
// several modems at once, the exit code is the highest of theirs.
enum ExitCode {
    ExitConfirmed = 0, // everything went through and the modem confirmed every step
    ExitModemFailed =
        1,              // the modem did not answer, did not confirm a step, or a read was not whole
    ExitUsage = 2,      // a wrong command line, a bad file to write, a file not saved
    ExitPortFailed = 3, // the port could not be opened, or was lost
    ExitDifferent = 4,  // the modem, read back, holds something other than was sent
    ExitNoBackup = 5,   // what the modem held could not be kept: nothing was overwritten
};
