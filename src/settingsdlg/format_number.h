#pragma once
#include <cstdint>
#include <string>

namespace ostrel {

// "%d": what a number box shows.
std::u16string FormatNumber(int32_t value);

}  // namespace ostrel
