#include "simtool/Wire.h"

#include <algorithm>

namespace q540::simtool {

Wire::Wire(std::chrono::nanoseconds byteTime) : byteTime_(byteTime) {}

void Wire::send(std::span<const std::uint8_t> bytes, TimePoint now)
{
    TimePoint free = inFlight_.empty() ? now : std::max(now, inFlight_.back().at);
    for (std::uint8_t byte : bytes) {
        free += byteTime_;
        inFlight_.push_back({free, byte});
    }
}

std::vector<Wire::Arrival> Wire::arrivals(TimePoint now)
{
    std::vector<Arrival> in;
    while (!inFlight_.empty() && inFlight_.front().at <= now) {
        in.push_back(inFlight_.front());
        lastArrival_ = inFlight_.front().at;
        inFlight_.pop_front();
    }
    return in;
}

std::vector<std::uint8_t> Wire::arrived(TimePoint now)
{
    std::vector<std::uint8_t> bytes;
    for (const Arrival& a : arrivals(now))
        bytes.push_back(a.byte);
    return bytes;
}

std::optional<Wire::TimePoint> Wire::nextArrival() const
{
    if (inFlight_.empty())
        return std::nullopt;
    return inFlight_.front().at;
}

void Wire::clear()
{
    inFlight_.clear();
}

} // namespace q540::simtool
