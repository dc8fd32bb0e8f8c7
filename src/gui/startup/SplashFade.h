#pragma once

#include <array>

namespace q540 {

// How long the splash stays opaque before it starts to fade.
inline constexpr int kSplashShownMs = 2000;
inline constexpr int kSplashFadeSteps = 31;
inline constexpr int kSplashFadeStepMs = 20;

// The window opacities of the splash's fade-out, 255 (opaque) down to 0, one a step:
// 255 minus i × 8.5 for i = 0..30, the product rounded to the nearest integer with a half
// going to the even neighbour.
std::array<int, kSplashFadeSteps> splashFadeOpacities();

} // namespace q540
