#include "emulator/EmulatedLink.h"

#include "emulator/LatencyBuffer.h"
#include "emulator/ModuleEmulator.h"
#include "protocol/Protocol.h"

#include <algorithm>
#include <array>

namespace q540::sim {

namespace {

constexpr std::int64_t kUsPerMs = 1000;
constexpr std::int64_t kBitsPerByte = 10; // start, eight data bits, stop

std::int64_t byteTimeUs(int baud)
{
    return kBitsPerByte * 1'000'000 / std::max(baud, 1);
}

} // namespace

EmulatedLink::EmulatedLink(ModuleEmulator& module, q540::Clock& clock)
    : module_(module), clock_(clock)
{
}

EmulatedLink::~EmulatedLink()
{
    close();
}

bool EmulatedLink::open()
{
    return open(QByteArray(q540::protocol::kDeviceDescription));
}

bool EmulatedLink::open(const QByteArray& description)
{
    // A second open on this link would be a second handle on the device; the
    // module refuses it like any other.
    if (!module_.open(description))
        return false;
    open_ = true;
    readTimeoutMs_ = 0;
    if (timing_) {
        // The chip comes up with its own timer; the driver then asks for the
        // program's, as the real backends do right after opening.
        baud_ = protocol::kBaudRate;
        toModuleFreeUs_ = toHostFreeUs_ = nowUs();
        chip_ = std::make_unique<LatencyBuffer>(timing_->chipDefaultLatencyMs, nowUs());
        if (timing_->takesLatencyRequest)
            chip_->setTimer(protocol::kLatencyTimerMs, nowUs());
    }
    return true;
}

void EmulatedLink::modelCable(const CableTiming& timing)
{
    timing_ = timing;
}

std::optional<int> EmulatedLink::latencyTimerMs() const
{
    if (!open_ || !chip_)
        return std::nullopt;
    return chip_->timerMs();
}

std::int64_t EmulatedLink::nowUs() const
{
    return clock_.nowMs() * kUsPerMs;
}

void EmulatedLink::setBaudRate(int baud)
{
    if (!open_)
        return;
    baud_ = baud;
    module_.setBaudRate(baud);
}

void EmulatedLink::setTimeouts(int readMs, int writeMs)
{
    if (!open_)
        return;
    readTimeoutMs_ = readMs;
    module_.setTimeouts(readMs, writeMs);
}

void EmulatedLink::write(std::span<const std::uint8_t> bytes)
{
    if (!open_)
        return;
    if (chip_)
        carryToModule(bytes);
    else
        module_.hostWrite(bytes);
}

// The host's bytes reach the module one byte time after another; the module
// answers once the last is in, and its reply goes back at the same pace into
// the chip. The write itself returns at once, as the driver's does.
void EmulatedLink::carryToModule(std::span<const std::uint8_t> bytes)
{
    const std::int64_t byteUs = byteTimeUs(baud_);
    const std::int64_t inAt =
        std::max(nowUs(), toModuleFreeUs_) + static_cast<std::int64_t>(bytes.size()) * byteUs;
    toModuleFreeUs_ = inAt;
    module_.hostWrite(bytes);
    std::array<std::uint8_t, protocol::kBlockSize * 2> reply{};
    std::int64_t at = std::max(inAt, toHostFreeUs_);
    while (const std::size_t n = module_.hostRead(reply)) {
        for (std::size_t i = 0; i < n; ++i) {
            at += byteUs;
            chip_->arrive(reply[i], at);
        }
    }
    toHostFreeUs_ = at;
}

// Returns when the PC has every byte asked for, or when the read timeout
// has passed with what it has by then.
std::size_t EmulatedLink::readModelled(std::span<std::uint8_t> bytes)
{
    const std::int64_t deadline = nowUs() + readTimeoutMs_ * kUsPerMs;
    const std::optional<std::int64_t> ready = chip_->releaseOf(bytes.size());
    const std::int64_t until = ready && *ready <= deadline ? std::max(*ready, nowUs()) : deadline;
    const std::int64_t waitUs = until - nowUs();
    clock_.sleep(static_cast<int>((waitUs + kUsPerMs - 1) / kUsPerMs));
    const std::vector<std::uint8_t> got = chip_->take(nowUs(), bytes.size());
    std::copy(got.begin(), got.end(), bytes.begin());
    return got.size();
}

std::size_t EmulatedLink::read(std::span<std::uint8_t> bytes)
{
    if (!open_)
        return 0;
    if (chip_)
        return readModelled(bytes);
    const std::size_t got = module_.hostRead(bytes);
    if (got < bytes.size())
        clock_.sleep(readTimeoutMs_);
    return got;
}

void EmulatedLink::close()
{
    if (!open_)
        return;
    open_ = false;
    chip_.reset();
    module_.close();
}

bool EmulatedLink::isOpen() const
{
    return open_;
}

} // namespace q540::sim
