#pragma once

#include "device/Clock.h"
#include "device/Link.h"

#include <QByteArray>

#include <memory>
#include <optional>

namespace q540::sim {

class LatencyBuffer;
class ModuleEmulator;

// How the modelled cable moves bytes: each takes its ten bits' time on the
// wire at the baud rate set, and the module's bytes then wait in the chip for
// its latency timer (LatencyBuffer). The chip starts with its own timer at
// every open; a driver that can set it asks for the program's.
struct CableTiming {
    int chipDefaultLatencyMs = 16;
    // False for a driver without the call (a vendor library that lacks it).
    bool takesLatencyRequest = true;
};

// The cable driver over an in-process module, on the given clock. By default
// the module answers at once and the wire costs nothing, so a read that finds
// too few bytes waits out its whole read timeout on the clock, as a driver read
// does when the module falls silent. With modelCable() the bytes take the time
// they take on a real cable, on the same clock.
class EmulatedLink final : public q540::Link {
public:
    EmulatedLink(ModuleEmulator& module, q540::Clock& clock);
    ~EmulatedLink() override;
    EmulatedLink(const EmulatedLink&) = delete;
    EmulatedLink& operator=(const EmulatedLink&) = delete;

    // Opens by the cable's own description.
    bool open() override;
    // Opens by any description, for drivers that take it from their caller.
    bool open(const QByteArray& description);
    void setBaudRate(int baud) override;
    void setTimeouts(int readMs, int writeMs) override;
    void write(std::span<const std::uint8_t> bytes) override;
    std::size_t read(std::span<std::uint8_t> bytes) override;
    void close() override;
    bool isOpen() const override;
    // The chip's timer while the cable is modelled and open.
    std::optional<int> latencyTimerMs() const override;
    OpenProblem openProblem() const override
    {
        return open_ ? OpenProblem::None : OpenProblem::NoCable;
    }

    // From the next open on, the bytes take the modelled cable's time.
    void modelCable(const CableTiming& timing);

private:
    std::int64_t nowUs() const;
    void carryToModule(std::span<const std::uint8_t> bytes);
    std::size_t readModelled(std::span<std::uint8_t> bytes);

    ModuleEmulator& module_;
    q540::Clock& clock_;
    bool open_ = false;
    // A fresh handle has no timeout set; the driver then gives up at once.
    int readTimeoutMs_ = 0;
    std::optional<CableTiming> timing_;
    std::unique_ptr<LatencyBuffer> chip_;
    int baud_ = 0;
    // When each direction of the wire is free again.
    std::int64_t toModuleFreeUs_ = 0;
    std::int64_t toHostFreeUs_ = 0;
};

} // namespace q540::sim
