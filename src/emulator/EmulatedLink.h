#pragma once

#include "device/Clock.h"
#include "device/Link.h"

#include <QByteArray>

namespace q540::sim {

class ModuleEmulator;

// The cable driver over an in-process module, on the given clock. The module
// answers at once, so a read that finds too few bytes waits out its whole read
// timeout on the clock, as a driver read does when the module falls silent.
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

private:
    ModuleEmulator& module_;
    q540::Clock& clock_;
    bool open_ = false;
    // A fresh handle has no timeout set; the driver then gives up at once.
    int readTimeoutMs_ = 0;
};

} // namespace q540::sim
