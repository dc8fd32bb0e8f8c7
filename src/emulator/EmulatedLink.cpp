#include "emulator/EmulatedLink.h"

#include "emulator/ModuleEmulator.h"
#include "protocol/Protocol.h"

namespace q540::sim {

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
    return true;
}

void EmulatedLink::setBaudRate(int baud)
{
    if (open_)
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
    if (open_)
        module_.hostWrite(bytes);
}

std::size_t EmulatedLink::read(std::span<std::uint8_t> bytes)
{
    if (!open_)
        return 0;
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
    module_.close();
}

bool EmulatedLink::isOpen() const
{
    return open_;
}

} // namespace q540::sim
