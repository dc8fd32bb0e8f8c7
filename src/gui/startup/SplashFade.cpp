#include "gui/startup/SplashFade.h"

namespace q540 {

namespace {

// Worked in halves so that the result does not hang on the floating-point rounding mode.
int roundedEightAndAHalfTimes(int i)
{
    const int halves = 17 * i;
    const int down = halves / 2;
    if (halves % 2 == 0)
        return down;
    return down % 2 == 0 ? down : down + 1;
}

} // namespace

std::array<int, kSplashFadeSteps> splashFadeOpacities()
{
    std::array<int, kSplashFadeSteps> opacities{};
    for (int i = 0; i < kSplashFadeSteps; ++i)
        opacities[i] = 255 - roundedEightAndAHalfTimes(i);
    return opacities;
}

} // namespace q540
