// The tool's exit codes, as its manual page lists them.
#pragma once

enum ExitCode {
    EXIT_DONE = 0,
    EXIT_USAGE = 1,      // bad command line, bad field or table, a name that fits two appliances
    EXIT_NO_ANSWER = 2,  // appliance not found, or it did not answer
    EXIT_REFUSED = 3,    // the appliance refused (its result code and message are printed)
    EXIT_NETWORK = 4,    // a socket or interface failed
    EXIT_PARTIAL = 5,    // apply: some rows written, some not
};
