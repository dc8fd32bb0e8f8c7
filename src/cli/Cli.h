#pragma once

#include <QStringList>

class QTextStream;

namespace q540::cli {

// Exit codes of the headless tool.
enum ExitCode {
    kDone = 0,
    kModuleFailed = 1,  // the module or the link failed, or the directory does not fit it
    kBadUsage = 2,      // bad usage or a bad file
    kDifferent = 3,     // diff: the module holds something else than the file
    kInterrupted = 130, // Ctrl+C: the transfer stopped after its block in flight
};

// Set from a signal handler by Ctrl+C while a module command runs; a
// transfer stops at its next block and the command exits kInterrupted.
void requestInterrupt();

// Runs one command line (arguments without the program name) and returns
// its exit code; output goes to out, messages and progress to err.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace q540::cli
