#pragma once
#include <cstdint>
#include <string_view>

namespace ostrel {

// How a number box is read: the first 19 characters at most, leading white space skipped
// (ASCII space, \t \n \v \f \r and the ideographic space U+3000), an optional + or -, then
// digits up to the first other character. Full-width digits (U+FF10 to U+FF19) count as
// digits, so a value typed with the Japanese input method on is read as typed. No digits
// gives 0; a number beyond the signed 32-bit range becomes the nearer limit.
int32_t ReadTypedNumber(std::u16string_view boxText);

}  // namespace ostrel
