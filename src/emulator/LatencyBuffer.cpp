#include "emulator/LatencyBuffer.h"

#include <algorithm>

namespace q540::sim {

namespace {

constexpr int kShortestTimerMs = 1;
constexpr int kLongestTimerMs = 255;
constexpr std::int64_t kUsPerMs = 1000;

} // namespace

LatencyBuffer::LatencyBuffer(int timerMs, std::int64_t nowUs)
{
    setTimer(timerMs, nowUs);
}

void LatencyBuffer::setTimer(int timerMs, std::int64_t nowUs)
{
    timerMs_ = std::clamp(timerMs, kShortestTimerMs, kLongestTimerMs);
    epochUs_ = nowUs;
    bytes_.clear();
}

std::int64_t LatencyBuffer::nextTick(std::int64_t atUs, std::int64_t epochUs) const
{
    const std::int64_t period = timerMs_ * kUsPerMs;
    const std::int64_t since = std::max<std::int64_t>(0, atUs - epochUs);
    return epochUs + (since + period - 1) / period * period;
}

void LatencyBuffer::arrive(std::uint8_t byte, std::int64_t atUs)
{
    bytes_.push_back({byte, atUs, atUs});
    // What the PC already had when this byte arrived stays as it was; the
    // bytes still waiting go out together with it.
    std::size_t from = bytes_.size() - 1;
    while (from > 0 && bytes_[from - 1].releaseUs > atUs)
        --from;
    schedule(from);
}

void LatencyBuffer::schedule(std::size_t from)
{
    std::size_t i = from;
    while (i < bytes_.size()) {
        const std::int64_t tick = nextTick(bytes_[i].arrivalUs, epochUs_);
        std::size_t end = i;
        while (end < bytes_.size() && bytes_[end].arrivalUs <= tick && end - i < kPacketBytes)
            ++end;
        std::int64_t release = tick;
        if (end - i == kPacketBytes) {
            // A full packet leaves at once and starts the timer again.
            release = bytes_[end - 1].arrivalUs;
            epochUs_ = release;
        }
        for (std::size_t k = i; k < end; ++k)
            bytes_[k].releaseUs = release;
        i = end;
    }
}

std::optional<std::int64_t> LatencyBuffer::releaseOf(std::size_t count) const
{
    if (count == 0 || count > bytes_.size())
        return std::nullopt;
    return bytes_[count - 1].releaseUs;
}

std::size_t LatencyBuffer::releasedBy(std::int64_t nowUs) const
{
    std::size_t n = 0;
    while (n < bytes_.size() && bytes_[n].releaseUs <= nowUs)
        ++n;
    return n;
}

std::vector<std::uint8_t> LatencyBuffer::take(std::int64_t nowUs, std::size_t most)
{
    std::vector<std::uint8_t> out;
    while (!bytes_.empty() && out.size() < most && bytes_.front().releaseUs <= nowUs) {
        out.push_back(bytes_.front().byte);
        bytes_.pop_front();
    }
    return out;
}

} // namespace q540::sim
