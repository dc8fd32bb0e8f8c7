#include "device/DeviceGate.h"

namespace q540 {

void DeviceGate::acquire()
{
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return !held_; });
    held_ = true;
}

void DeviceGate::release()
{
    {
        std::lock_guard lock(mutex_);
        held_ = false;
    }
    released_.notify_one();
}

bool DeviceGate::isHeld() const
{
    std::lock_guard lock(mutex_);
    return held_;
}

GatedLink::~GatedLink()
{
    close();
}

bool GatedLink::open()
{
    // Like the driver, a device this user already holds cannot be opened again.
    if (holding_)
        return false;
    gate_.acquire();
    if (!device_.open()) {
        gate_.release();
        return false;
    }
    holding_ = true;
    return true;
}

void GatedLink::close()
{
    if (!holding_)
        return;
    device_.close();
    holding_ = false;
    gate_.release();
}

} // namespace q540
