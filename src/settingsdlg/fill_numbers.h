#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ostrel {

// The format with each "%d" replaced by the next value, as "%d" prints it. A "%d" without
// a value left is kept as it stands; no other conversion is known.
std::u16string FillNumbers(std::u16string_view format, std::initializer_list<int32_t> values);

}  // namespace ostrel
