#pragma once

namespace q540 {

// What the module holds. Its memory is 1024 blocks of 32 cells: the directory's
// entries (additional numbers included) first, the intro screens after them.
// Every floor counts with these two, so that a list, a file and the cable can
// never disagree on how much fits.
inline constexpr int kEntryCapacity = 1020;
inline constexpr int kIntroScreenCount = 4;

} // namespace q540
