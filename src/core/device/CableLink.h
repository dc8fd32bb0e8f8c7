#pragma once

#include "device/Link.h"

#include <memory>

namespace q540 {

// The cable through whichever driver can open it: the vendor's D2XX library
// first, then (on Linux) the serial port of the kernel's own FTDI driver. The
// library cannot open a cable that the kernel's driver holds, so a system
// with both installed still reaches the module.
class CableLink final : public Link {
public:
    // Either may be missing, not both.
    CableLink(std::unique_ptr<Link> vendor, std::unique_ptr<Link> serial);
    ~CableLink() override;

    bool open() override;
    void setBaudRate(int baud) override { active().setBaudRate(baud); }
    void setTimeouts(int readMs, int writeMs) override { active().setTimeouts(readMs, writeMs); }
    void write(std::span<const std::uint8_t> bytes) override { active().write(bytes); }
    std::size_t read(std::span<std::uint8_t> bytes) override { return active().read(bytes); }
    void close() override;
    bool isOpen() const override { return active_ != nullptr && active_->isOpen(); }
    std::optional<int> latencyTimerMs() const override;
    // The serial port's judgement where there is one: the library only says
    // that it found nothing to open.
    OpenProblem openProblem() const override;
    QString portName() const override;
    // True while the vendor library holds the cable.
    bool throughVendorLibrary() const { return active_ != nullptr && active_ == vendor_.get(); }

private:
    Link& active() { return active_ ? *active_ : absent_; }

    std::unique_ptr<Link> vendor_;
    std::unique_ptr<Link> serial_;
    Link* active_ = nullptr;
    AbsentLink absent_;
};

// The link to the real cable that the program starts with; nullptr means
// that no driver is installed and the program cannot reach a module.
std::unique_ptr<Link> loadCableLink();

} // namespace q540
