// q540-cli: the directory and the module from the command line.

#include "cli/Cli.h"

#include <QCoreApplication>
#include <QGuiApplication>
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
    // export-pdf paints, which needs fonts and so a GUI application; on the
    // offscreen platform it needs no display. Every other command stays
    // without one.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && std::strcmp(argv[1], "export-pdf") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("q540-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return q540::cli::run(QCoreApplication::arguments().mid(1), out, err);
}
