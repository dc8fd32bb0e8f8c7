// q540-sim: the emulated door module on a pseudo-terminal, for trying the
// programs without a cable and for testing the serial backend on a real tty.

#include "emulator/ModuleEmulator.h"
#include "simtool/PtyServer.h"
#include "simtool/SimOptions.h"

#include "base/AppInfo.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {

int stopPipe[2] = {-1, -1};

extern "C" void requestStop(int)
{
    // The only thing a handler may safely do here: wake the serving loop.
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &byte, 1);
}

bool installStopHandlers()
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        if (::sigaction(signal, &action, nullptr) != 0)
            return false;
    }
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

void printLine(std::FILE* stream, const QString& text)
{
    std::fputs(qPrintable(text + u'\n'), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("q540-sim"));
    QCoreApplication::setApplicationVersion(q540::kVersion);

    using Action = q540::simtool::SimCommandLine::Action;
    const q540::simtool::SimCommandLine command =
        q540::simtool::parseSimCommandLine(QCoreApplication::arguments());
    switch (command.action) {
    case Action::ShowHelp:
    case Action::ShowVersion:
        printLine(stdout, command.text.trimmed());
        return 0;
    case Action::Fail:
        printLine(stderr, QStringLiteral("q540-sim: ") + command.text
                              + QStringLiteral("\nTry q540-sim --help."));
        return 2;
    case Action::Serve:
        break;
    }

    q540::sim::ModuleEmulator module;
    QString error;
    if (!q540::simtool::applySettings(command.settings, module, &error)) {
        printLine(stderr, QStringLiteral("q540-sim: ") + error);
        return 2;
    }
    q540::simtool::PtyServer server(module, command.settings.latencyTimerMs);
    if (!installStopHandlers() || !server.open()) {
        printLine(stderr, QStringLiteral("q540-sim: no pseudo-terminal: ") + server.errorString());
        return 1;
    }
    printLine(stdout, server.slavePath());
    printLine(stderr, QStringLiteral("q540-sim: module on %1 (password %2, device code %3, "
                                     "language %4); Ctrl+C stops it")
                          .arg(server.slavePath(), command.settings.password)
                          .arg(command.settings.deviceCode)
                          .arg(command.settings.languageCode));
    if (!server.serve(stopPipe[0])) {
        printLine(stderr, QStringLiteral("q540-sim: ") + server.errorString());
        return 1;
    }
    return 0;
}
