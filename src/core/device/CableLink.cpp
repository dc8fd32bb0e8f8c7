#include "device/CableLink.h"

#include "device/D2xxLink.h"
#include "device/SerialLink.h"

namespace q540 {

CableLink::CableLink(std::unique_ptr<Link> vendor, std::unique_ptr<Link> serial)
    : vendor_(std::move(vendor)), serial_(std::move(serial))
{
}

CableLink::~CableLink()
{
    close();
}

bool CableLink::open()
{
    if (active_)
        return false;
    for (Link* link : {vendor_.get(), serial_.get()}) {
        if (link && link->open()) {
            active_ = link;
            return true;
        }
    }
    return false;
}

void CableLink::close()
{
    if (active_)
        active_->close();
    active_ = nullptr;
}

std::optional<int> CableLink::latencyTimerMs() const
{
    return active_ ? active_->latencyTimerMs() : std::nullopt;
}

OpenProblem CableLink::openProblem() const
{
    if (active_)
        return OpenProblem::None;
    return serial_   ? serial_->openProblem()
           : vendor_ ? vendor_->openProblem()
                     : OpenProblem::NoCable;
}

QString CableLink::portName() const
{
    if (active_)
        return active_->portName();
    return serial_ ? serial_->portName() : QString();
}

std::unique_ptr<Link> loadCableLink()
{
    std::unique_ptr<Link> vendor = D2xxLink::load();
#ifdef Q_OS_LINUX
    std::unique_ptr<Link> serial = std::make_unique<SerialLink>();
#else
    std::unique_ptr<Link> serial;
#endif
    if (!vendor && !serial)
        return nullptr;
    return std::make_unique<CableLink>(std::move(vendor), std::move(serial));
}

} // namespace q540
