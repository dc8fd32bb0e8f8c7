#pragma once

#include <QStringList>

class QTextStream;

namespace q540::cli {

// Exit codes of the headless tool.
enum ExitCode {
    kDone = 0,
    kModuleFailed = 1,    // the module or the link failed, or the directory does not fit it
    kBadUsage = 2,        // bad usage or a bad file
    kDifferent = 3,       // diff: the module holds something else than the file
    kTraceIncomplete = 4, // the command went through, but its --trace file is not whole
    kInterrupted = 130,   // a signal (the program exits 128 + its number): the transfer stopped
                          // after its block in flight
};

// Set from a signal handler by Ctrl+C, SIGTERM or SIGHUP while a module
// command runs; a transfer stops at its next block and the command exits
// kInterrupted.
void requestInterrupt(int signal);
// The signal requestInterrupt last noted, 0 when none came: the program's
// exit code then names it as a shell names a signal's end, 128 + its number.
int interruptSignal();

// Runs one command line (arguments without the program name) and returns
// its exit code; output goes to out, messages and progress to err.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace q540::cli
