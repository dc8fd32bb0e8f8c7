#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>

namespace q540::test {

// q540-sim as a child process of a test: started with its options, the path
// of its terminal taken from the one line it prints, stopped by a signal. A
// simulator still running when this object goes is killed.
class SimProcess {
public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The simulator that this build made.
    static QString executable();

    // Starts it and waits for the path; false when the path did not come in
    // time (errorOutput() may say why). The waits are generous: a loaded
    // machine can be slow to start a process.
    bool start(const QStringList& arguments, int timeoutMs = 30000);
    QString portName() const { return portName_; }
    qint64 processId() const { return process_.processId(); }

    // Sends the signal and waits for the end: the exit code, or -1 when the
    // simulator crashed or did not end in time.
    int stop(int signal = SIGTERM, int timeoutMs = 30000);
    // Waits for an end that comes by itself, as after bad usage.
    int waitForExit(int timeoutMs = 30000);

    QByteArray standardOutput();
    QByteArray errorOutput();

private:
    QProcess process_;
    QString portName_;
};

} // namespace q540::test
