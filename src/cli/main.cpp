// q540-cli: the directory and the module from the command line.

#include "cli/Cli.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace {

// Ctrl+C stops a transfer after its block in flight instead of killing the
// program with the module's directory half written and nothing said.
extern "C" void onInterrupt(int)
{
    q540::cli::requestInterrupt();
}

} // namespace

int main(int argc, char* argv[])
{
    std::signal(SIGINT, onInterrupt);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("q540-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return q540::cli::run(QCoreApplication::arguments().mid(1), out, err);
}
