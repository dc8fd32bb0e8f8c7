#pragma once

#include <cstdint>

namespace q540 {

// Every wait of the program goes through a Clock, so that tests can run the
// protocol's sleeps and read timeouts on virtual time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleep(int ms) = 0;
    // Milliseconds since an arbitrary fixed point; only differences matter.
    virtual std::int64_t nowMs() const = 0;
};

// The real clock of the programs: sleeps the calling thread.
class SystemClock final : public Clock {
public:
    void sleep(int ms) override;
    std::int64_t nowMs() const override;
};

} // namespace q540
