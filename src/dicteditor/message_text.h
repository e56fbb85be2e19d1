#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace ostrel::dicteditor {

// The pattern with each "%s" or "%u" replaced by the next of `values`, in turn; placeholders
// beyond the values stay as they are.
std::u16string FillIn(std::u16string_view pattern, std::initializer_list<std::u16string_view> values);

std::u16string DecimalText(unsigned long long value);

}  // namespace ostrel::dicteditor
