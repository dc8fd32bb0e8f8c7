#pragma once

#include "device/Link.h"

#include <condition_variable>
#include <mutex>

namespace q540 {

// The one lock around the device: the status poll and every user-started
// operation hold it from open to close, so a second open never happens while
// the other holds the cable. It may be released by a thread other than the
// one that took it.
class DeviceGate {
public:
    void acquire();
    void release();
    bool isHeld() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool held_ = false;
};

// A Link that takes the gate in open() (waiting while another user holds the
// device) and gives it back in close(), or at once when the open fails. Each
// user of the device (the poll's worker, the user-interface thread) has its
// own GatedLink over the one device and the one gate.
class GatedLink final : public Link {
public:
    GatedLink(Link& device, DeviceGate& gate) : device_(device), gate_(gate) {}
    ~GatedLink() override;

    bool open() override;
    void setBaudRate(int baud) override { device_.setBaudRate(baud); }
    void setTimeouts(int readMs, int writeMs) override { device_.setTimeouts(readMs, writeMs); }
    void write(std::span<const std::uint8_t> bytes) override { device_.write(bytes); }
    std::size_t read(std::span<std::uint8_t> bytes) override { return device_.read(bytes); }
    void close() override;
    bool isOpen() const override { return holding_ && device_.isOpen(); }
    std::optional<int> latencyTimerMs() const override { return device_.latencyTimerMs(); }
    OpenProblem openProblem() const override { return device_.openProblem(); }
    QString portName() const override { return device_.portName(); }

private:
    Link& device_;
    DeviceGate& gate_;
    // Written only by the holder of the gate.
    bool holding_ = false;
};

} // namespace q540
