#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace q540 {

// Why the last open() failed, as far as the driver can tell.
enum class OpenProblem {
    None,             // it opened, or nothing more is known than that it did not
    NoCable,          // no cable was found to open
    NoSuchPort,       // the port named does not exist
    NotATerminal,     // the port named is a file, a folder or a device that is no serial port
    PermissionDenied, // this user may not open the port
    PortBusy,         // another program holds the port
};

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
    // After an open() that failed: why; OpenProblem::None after one that worked.
    virtual OpenProblem openProblem() const { return OpenProblem::None; }
    // The port the driver opens or tried to open ("/dev/ttyUSB0"), where it
    // names one.
    virtual QString portName() const { return {}; }
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
    OpenProblem openProblem() const override { return OpenProblem::NoCable; }
};

} // namespace q540
