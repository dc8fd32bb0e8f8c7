#pragma once

#include "device/Link.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class QFile;
class QIODevice;

namespace q540 {

class Clock;

// A link that passes every call on to another link and writes one line per
// call to a trace, so that support can see exactly what went over the cable.
//
// Each line is "<seconds>.<milliseconds> <event>", the time counted from the
// tracing link's creation on its clock, then one of:
//
//   open                  open succeeded
//   latency timer 1 ms    the chip's latency timer after open, where the driver tells it
//   open failed           open did not succeed
//   close                 close
//   baud 9600             setBaudRate
//   timeouts 300 300      setTimeouts (read, write in ms)
//   > 11 16 28            write: the bytes sent, in hex
//   < 1F 46 66            read: the bytes received, stamped when the read returned
//   < 1F 46 (2 of 3)      a read that got fewer bytes than it asked for
//   < (0 of 1)            a read that got nothing before its timeout
//
// Calls come from one thread at a time (the device gate sees to that), but
// the trace itself is guarded, so a shared trace device stays line-whole.
//
// Every line's write is checked. The first that fails ends the trace (a
// trace with a hole would mislead more than one that stops) and is reported
// once; the calls themselves go on to the inner link as before.
class TracingLink final : public Link {
public:
    // The trace goes to a device that the caller opened and keeps open.
    TracingLink(Link& inner, QIODevice& trace, const Clock& clock);
    ~TracingLink() override;
    TracingLink(const TracingLink&) = delete;
    TracingLink& operator=(const TracingLink&) = delete;

    // The trace goes to a file, created or added to here: a trace never costs
    // what a file held. The file is owner-only (it shows the directory and
    // the password on the wire). nullptr when the file cannot be written;
    // *error (when given) then says why.
    static std::unique_ptr<TracingLink> toFile(Link& inner, const QString& path, const Clock& clock,
                                               QString* error = nullptr);

    // Told the reason, once, when a line cannot be written; called on the
    // thread of the link call that traced it.
    using FailureReport = std::function<void(const QString& reason)>;
    void onFailure(FailureReport report);
    // Why the trace stopped, if it did.
    std::optional<QString> failure() const;

    bool open() override;
    void setBaudRate(int baud) override;
    void setTimeouts(int readMs, int writeMs) override;
    void write(std::span<const std::uint8_t> bytes) override;
    std::size_t read(std::span<std::uint8_t> bytes) override;
    void close() override;
    bool isOpen() const override;
    std::optional<int> latencyTimerMs() const override { return inner_.latencyTimerMs(); }
    OpenProblem openProblem() const override { return inner_.openProblem(); }
    QString portName() const override { return inner_.portName(); }

private:
    TracingLink(Link& inner, std::unique_ptr<QFile> file, const Clock& clock);
    void trace(const QString& event);

    Link& inner_;
    std::unique_ptr<QFile> ownedFile_;
    QIODevice& trace_;
    const Clock& clock_;
    const std::int64_t startMs_;
    mutable std::mutex mutex_;
    FailureReport report_;
    std::optional<QString> failure_;
};

} // namespace q540
