// q540-cli: the directory and the module from the command line.

#include "cli/Cli.h"
#include "files/SystemFileName.h"

#include "print/PaintingApplication.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Ctrl+C, SIGTERM (timeout, a script) and SIGHUP (a closed ssh session) stop
// a transfer after its block in flight instead of killing the program with
// the module's directory half written and nothing said.
extern "C" void onInterrupt(int signal)
{
    q540::cli::requestInterrupt(signal);
}

void installInterruptHandlers()
{
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    // After a hangup standard error may lead nowhere; saying what the module
    // holds must not end the program before it has closed the device.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, nullptr);
}

} // namespace

int main(int argc, char* argv[])
{
    installInterruptHandlers();
    // export-pdf paints, which needs fonts and so a GUI application; every
    // other command stays without one.
    const std::unique_ptr<QCoreApplication> app =
        q540::makeApplication(argc, argv, argc > 1 && std::strcmp(argv[1], "export-pdf") == 0);
    QCoreApplication::setApplicationName(QStringLiteral("q540-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    // From argv itself: Qt's own list turns bytes that are not UTF-8 into
    // U+FFFD, and a file so named could not be found again.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << q540::fileNameFromSystem(argv[i]);
    const int code = q540::cli::run(arguments, out, err);
    // As a shell reports a program a signal ended, so that a script or
    // timeout tells SIGTERM (143) and SIGHUP (129) from Ctrl+C (130).
    const int signal = q540::cli::interruptSignal();
    return code == q540::cli::kInterrupted && signal != 0 ? 128 + signal : code;
}
