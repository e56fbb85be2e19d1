#include "settingsdlg/tick_frequency.h"

namespace ostrel {

int32_t TickFrequency(int32_t minimum, int32_t maximum) {
  // In 64 bits: the ranges come from the engine and the registry, and may span all of int32.
  const int64_t frequency = (int64_t{maximum} - minimum) / 10;
  return frequency > 0 ? static_cast<int32_t>(frequency) : 0;
}

}  // namespace ostrel
