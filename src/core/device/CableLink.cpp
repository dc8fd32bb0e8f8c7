#include "device/CableLink.h"

#include "device/D2xxLink.h"
#include "device/SerialLink.h"

namespace q540 {

std::unique_ptr<Link> loadCableLink()
{
    if (auto d2xx = D2xxLink::load())
        return d2xx;
#ifdef Q_OS_LINUX
    return std::make_unique<SerialLink>();
#else
    return nullptr;
#endif
}

} // namespace q540
