#pragma once

#include <QStringList>

class QTextStream;

namespace q540::cli {

// Exit codes of the headless tool.
enum ExitCode {
    kDone = 0,
    kModuleFailed = 1, // the module or the link failed, or the directory does not fit it
    kBadUsage = 2,     // bad usage or a bad file
};

// Runs one command line (arguments without the program name) and returns
// its exit code; output goes to out, messages and progress to err.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace q540::cli
