#pragma once

#include "device/Clock.h"

#include <atomic>
#include <cstdint>

namespace q540::sim {

// Time that moves only when someone sleeps on it, so that read timeouts and the
// protocol's pauses cost nothing in tests. Shared between a poll worker and the
// thread that drives the test, hence atomic.
class VirtualClock final : public q540::Clock {
public:
    void sleep(int ms) override;
    std::int64_t nowMs() const override;

private:
    std::atomic<std::int64_t> now_{0};
};

} // namespace q540::sim
