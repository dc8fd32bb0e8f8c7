#pragma once

#include <array>

namespace q540 {

// cellBlock: the 32-position working buffer of one entry block or intro screen. The reply
// reader fills it with received bytes, the sending side with UTF-16 code units, and the
// character conversions turn one into the other in place.
using CellBlock = std::array<int, 32>;

} // namespace q540
