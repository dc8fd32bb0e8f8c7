#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace q540::simtool {

// One direction of a serial line: a byte arrives at the far end one byte time
// after the byte before it has, and never sooner than one byte time after it
// was sent. A pseudo-terminal alone delivers at once, so without this the
// host's read timeouts would never be tested the way a real cable tests them.
class Wire {
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    explicit Wire(std::chrono::nanoseconds byteTime);

    struct Arrival {
        TimePoint at;
        std::uint8_t byte;
    };

    void send(std::span<const std::uint8_t> bytes, TimePoint now);
    // Takes off the wire the bytes that have arrived by now, in order.
    std::vector<std::uint8_t> arrived(TimePoint now);
    // The same with the moment each arrived.
    std::vector<Arrival> arrivals(TimePoint now);
    // When the next byte arrives; nothing while the wire is empty.
    std::optional<TimePoint> nextArrival() const;
    // When the last byte taken by arrived() had arrived.
    TimePoint lastArrival() const { return lastArrival_; }
    // Drops the bytes in flight, as unplugging the cable would.
    void clear();

private:
    std::chrono::nanoseconds byteTime_;
    std::deque<Arrival> inFlight_;
    TimePoint lastArrival_{};
};

// One byte of 8N1 framing is ten bits: 1.04 ms at 9600 baud.
inline constexpr std::chrono::nanoseconds byteTimeAt(int baud)
{
    return std::chrono::nanoseconds(10'000'000'000LL / baud);
}

} // namespace q540::simtool
