#include "emulator/VirtualClock.h"

namespace q540::sim {

void VirtualClock::sleep(int ms)
{
    if (ms > 0)
        now_.fetch_add(ms);
}

std::int64_t VirtualClock::nowMs() const
{
    return now_.load();
}

} // namespace q540::sim
