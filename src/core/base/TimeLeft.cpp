#include "base/TimeLeft.h"

#include "base/FixedTexts.h"

#include <algorithm>

namespace q540 {

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr int kSecondsPerMinute = 60;

} // namespace

std::optional<int> secondsLeft(int done, int total, std::int64_t elapsedMs)
{
    if (done <= 0 || total <= 0)
        return std::nullopt;
    const std::int64_t blocksLeft = std::max(0, total - done);
    const std::int64_t msLeft =
        (std::max<std::int64_t>(0, elapsedMs) * blocksLeft + done - 1) / done;
    return static_cast<int>((msLeft + kMsPerSecond - 1) / kMsPerSecond);
}

QString timeLeftText(int seconds, int language)
{
    if (seconds < kSecondsPerMinute)
        return fixedText(FixedText::TimeLeftSeconds, language).arg(seconds);
    return fixedText(FixedText::TimeLeftMinutes, language)
        .arg(seconds / kSecondsPerMinute)
        .arg(seconds % kSecondsPerMinute);
}

} // namespace q540
