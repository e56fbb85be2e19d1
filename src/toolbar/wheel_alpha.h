#pragma once
#include <cstdint>

namespace ostrel {

// The constant alpha after a wheel turn of delta (120 a notch, so 12 an alpha step),
// kept within minimum..maximum. The lower bound is checked first, so it wins when the
// settings hold minimum > maximum.
constexpr int WheelAlpha(int current, int delta, int minimum, int maximum) {
  const int64_t alpha = int64_t{current} + delta / 10;
  if (alpha < minimum) return minimum;
  if (alpha > maximum) return maximum;
  return static_cast<int>(alpha);
}

}  // namespace ostrel
