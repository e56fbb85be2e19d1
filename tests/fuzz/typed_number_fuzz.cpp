// libFuzzer target for the number boxes: the input is the box's text as UTF-16 (two bytes a
// unit, so any unit can appear). The reading must agree with a plain reference that keeps
// the whole number in 64 bits: 19 digits at most always fit.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "settingsdlg/read_typed_number.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

int32_t Reference(const std::u16string& boxText) {
  const std::u16string text = boxText.substr(0, 19);
  size_t i = 0;
  const auto blank = [](char16_t c) { return c == u' ' || (c >= 0x09 && c <= 0x0D) || c == 0x3000; };
  while (i < text.size() && blank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    int digit = -1;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    if (c >= 0xFF10 && c <= 0xFF19) digit = c - 0xFF10;
    if (digit < 0) break;
    magnitude = magnitude * 10 + static_cast<uint64_t>(digit);
  }
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  const auto bounded = static_cast<int64_t>(std::min<uint64_t>(magnitude, uint64_t{1} << 40));
  const int64_t value = negative ? -bounded : bounded;
  return static_cast<int32_t>(value < kMin ? kMin : value > kMax ? kMax : value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  Check(ostrel::ReadTypedNumber(text) == Reference(text));
  return 0;
}
