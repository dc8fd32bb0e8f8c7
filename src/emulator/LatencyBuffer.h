#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace q540::sim {

// The cable chip's receive side: a byte from the module waits in the chip
// until its latency timer next expires, or until a USB packet's worth of
// bytes wait, and only then reaches the PC. The timer runs from the moment
// it was set and starts again whenever a full packet goes out early. Times
// are in microseconds on whatever time line the caller keeps.
class LatencyBuffer {
public:
    // A full USB packet holds this many data bytes after the chip's two status bytes.
    static constexpr std::size_t kPacketBytes = 62;
    // The chip's timer after power-up, and what a driver that cannot set it leaves.
    static constexpr int kChipDefaultMs = 16;

    explicit LatencyBuffer(int timerMs = kChipDefaultMs, std::int64_t nowUs = 0);

    // The timer as a driver sets it (1..255 ms; other values are taken as the
    // nearest); its ticks count from nowUs. Drops every byte still waiting.
    void setTimer(int timerMs, std::int64_t nowUs);
    int timerMs() const { return timerMs_; }

    // A byte that reached the chip at atUs, no earlier than the byte before it.
    void arrive(std::uint8_t byte, std::int64_t atUs);
    // When the PC has the count-th byte still in the buffer (counted from 1);
    // nothing when fewer have arrived.
    std::optional<std::int64_t> releaseOf(std::size_t count) const;
    // The bytes the PC has by nowUs, taken out of the buffer.
    std::vector<std::uint8_t> take(std::int64_t nowUs, std::size_t most = SIZE_MAX);
    // How many bytes the PC has by nowUs.
    std::size_t releasedBy(std::int64_t nowUs) const;
    bool empty() const { return bytes_.empty(); }
    void clear() { bytes_.clear(); }

private:
    struct Held {
        std::uint8_t byte;
        std::int64_t arrivalUs;
        std::int64_t releaseUs;
    };

    std::int64_t nextTick(std::int64_t atUs, std::int64_t epochUs) const;
    void schedule(std::size_t from);

    int timerMs_;
    std::int64_t epochUs_;
    std::deque<Held> bytes_;
};

} // namespace q540::sim
