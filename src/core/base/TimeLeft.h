#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace q540 {

// The whole seconds a transfer of total blocks still needs, at the pace of
// the done blocks so far (rounded up, so that it reaches 0 only at the end);
// nothing before the first block is done.
std::optional<int> secondsLeft(int done, int total, std::int64_t elapsedMs);

// "about 38 s left", "about 1 min 5 s left" in a program language.
QString timeLeftText(int seconds, int language);

} // namespace q540
