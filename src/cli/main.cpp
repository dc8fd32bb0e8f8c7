// q540-cli: the directory and the module from the command line.

#include "cli/Cli.h"

#include "print/PaintingApplication.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

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
    // export-pdf paints, which needs fonts and so a GUI application; every
    // other command stays without one.
    const std::unique_ptr<QCoreApplication> app =
        q540::makeApplication(argc, argv, argc > 1 && std::strcmp(argv[1], "export-pdf") == 0);
    QCoreApplication::setApplicationName(QStringLiteral("q540-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return q540::cli::run(QCoreApplication::arguments().mid(1), out, err);
}
