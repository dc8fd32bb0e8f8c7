#pragma once

#include "base/ModuleCapacity.h"

#include <QString>

#include <array>

namespace q540 {

// The module's four intro screens as the intro page edits them: eight lines
// (Edit511..Edit518), two to a screen, each shown in 16 characters.
inline constexpr int kIntroLineCount = 2 * kIntroScreenCount;
inline constexpr int kIntroLineLength = 16;
using IntroLines = std::array<QString, kIntroLineCount>;

// The display time of each intro screen, in seconds.
inline constexpr int kShortestIntroTime = 1;
inline constexpr int kLongestIntroTime = 15;

// The display time is kept as the selected item of ComboBox_czas: items
// "1".."15" at indices 0..14, -1 when nothing is selected.
inline constexpr int kIntroTimeItemCount = kLongestIntroTime - kShortestIntroTime + 1;
inline constexpr int kIntroTimeNone = -1;
inline constexpr int kIntroTimeDefaultIndex = 1; // the time "2"

// The display time in seconds of the intro-time selection; no selection (-1) gives 0.
constexpr int introTimeSeconds(int introTimeIndex)
{
    return introTimeIndex + kShortestIntroTime;
}

} // namespace q540
