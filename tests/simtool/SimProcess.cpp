#include "SimProcess.h"

#include <QDeadlineTimer>

#include <sys/types.h>

namespace q540::test {

SimProcess::~SimProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString SimProcess::executable()
{
    return QStringLiteral(Q540_SIM_EXECUTABLE);
}

bool SimProcess::start(const QStringList& arguments, int timeoutMs)
{
    process_.setProgram(executable());
    process_.setArguments(arguments);
    process_.setReadChannel(QProcess::StandardOutput);
    process_.start();
    if (!process_.waitForStarted(timeoutMs))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    while (!process_.canReadLine()) {
        if (deadline.hasExpired() || process_.state() == QProcess::NotRunning
            || !process_.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    portName_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    return !portName_.isEmpty();
}

int SimProcess::stop(int signal, int timeoutMs)
{
    if (process_.state() == QProcess::NotRunning)
        return -1;
    ::kill(static_cast<pid_t>(process_.processId()), signal);
    return waitForExit(timeoutMs);
}

int SimProcess::waitForExit(int timeoutMs)
{
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(timeoutMs))
        return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QByteArray SimProcess::standardOutput()
{
    return process_.readAllStandardOutput();
}

QByteArray SimProcess::errorOutput()
{
    return process_.readAllStandardError();
}

} // namespace q540::test
