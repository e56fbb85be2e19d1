#pragma once
#include <cstdint>

namespace ostrel {

// A slider's tick spacing: a tenth of its range, truncated; 0 for an empty range.
int32_t TickFrequency(int32_t minimum, int32_t maximum);

}  // namespace ostrel
