#pragma once

// tavek-cli's exit codes, as its manual page and --help list them.
enum ExitCode {
    ExitConfirmed = 0,   // everything went through and the modem confirmed every step
    ExitModemFailed = 1, // the modem did not answer, or did not confirm a step
    ExitUsage = 2,       // a wrong command line, a bad file to write, a file not saved
    ExitPortFailed = 3,  // the port could not be opened, or was lost
};
