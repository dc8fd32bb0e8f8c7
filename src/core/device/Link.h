#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace q540 {

// The driver contract that every backend keeps (the D2XX library, a serial
// port, the emulator). The callers follow the driver's habits: they pre-set
// their buffers and inspect them after a read instead of trusting counts.
class Link {
public:
    virtual ~Link() = default;

    // Opens the cable by its description ("VELKOR"); false when no device
    // could be opened.
    virtual bool open() = 0;
    virtual void setBaudRate(int baud) = 0;
    // Read and write timeouts in milliseconds.
    virtual void setTimeouts(int readMs, int writeMs) = 0;
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
    // Returns when bytes.size() bytes arrived or the read timeout passed;
    // the result is the number of bytes stored at the start of the buffer.
    virtual std::size_t read(std::span<std::uint8_t> bytes) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The latency timer in force on the cable's chip while open, in ms, where
    // the driver can tell; nothing where it cannot.
    virtual std::optional<int> latencyTimerMs() const { return std::nullopt; }
};

// The device where there is none: it never opens, as an unplugged cable.
class AbsentLink final : public Link {
public:
    bool open() override { return false; }
    void setBaudRate(int) override {}
    void setTimeouts(int, int) override {}
    void write(std::span<const std::uint8_t>) override {}
    std::size_t read(std::span<std::uint8_t>) override { return 0; }
    void close() override {}
    bool isOpen() const override { return false; }
};

} // namespace q540
