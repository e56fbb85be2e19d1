#pragma once
#include <cstdint>

namespace ostrel {

// Where each kind of reading stands.
enum class ReadingState : int32_t { Idle = 0, Speaking = 1, Paused = 2 };

}  // namespace ostrel
