#pragma once

#include "device/Link.h"

#include <QDateTime>
#include <QIODevice>
#include <QString>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace q540 {

class Clock;
class TracingLink;

// One connection's byte trace, from open to close, in TracingLink's lines.
struct RecordedTrace {
    QDateTime started;
    QString text;
    // The same exchange this many times in a row (the status poll's).
    int repeats = 1;
};

// A link that keeps the byte traces of the last connections made through it
// in memory, for a support report: each open starts a trace, each close ends
// it. A connection that repeats the one before byte for byte (the poll's,
// every few seconds) is counted on the kept one instead of pushing the
// operations out. Both the poll's worker and the window use it, one at a
// time behind the device's gate; traces() may be called from any thread.
class TraceRecorder final : public Link {
public:
    static constexpr std::size_t kKept = 20;

    // traceMode is the mode each connection's trace in memory is opened in;
    // one that does not write stands for memory that has run out.
    TraceRecorder(Link& inner, const Clock& clock, std::size_t kept = kKept,
                  QIODevice::OpenMode traceMode = QIODevice::WriteOnly);
    ~TraceRecorder() override;

    bool open() override;
    void setBaudRate(int baud) override;
    void setTimeouts(int readMs, int writeMs) override;
    void write(std::span<const std::uint8_t> bytes) override;
    std::size_t read(std::span<std::uint8_t> bytes) override;
    void close() override;
    bool isOpen() const override { return inner_.isOpen(); }
    std::optional<int> latencyTimerMs() const override { return inner_.latencyTimerMs(); }
    OpenProblem openProblem() const override { return inner_.openProblem(); }
    QString portName() const override { return inner_.portName(); }

    // The kept traces, oldest first.
    std::vector<RecordedTrace> traces() const;

    // Told once for all connections, on the thread of the link call, when a
    // trace cannot be written: the traces stop, the connections go on.
    void onFailure(std::function<void(const QString& reason)> report);

private:
    struct Session;
    void keep(RecordedTrace trace);

    Link& inner_;
    const Clock& clock_;
    const std::size_t kept_;
    const QIODevice::OpenMode traceMode_;
    std::function<void(const QString&)> report_;
    std::atomic<bool> failed_ = false;
    std::unique_ptr<Session> session_;
    mutable std::mutex mutex_;
    std::deque<RecordedTrace> traces_;
};

// A trace with the directory's text bytes (the 30 text bytes of each block
// written or read) shown as "**": resident names are personal data.
QString maskDirectoryText(const QString& trace);

// A trace with the installer password's digits masked wherever they went
// over the cable: the password nibbles of a configuration read or written
// ("C1" shown as "*1"), the zone bytes of the blocks that carry them in a
// directory write or read, and both bytes of a new password ("** **"). The
// password opens the door panel's settings to whoever reads the trace.
QString maskPassword(const QString& trace);

} // namespace q540
