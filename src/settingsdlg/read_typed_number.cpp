#include "settingsdlg/read_typed_number.h"

#include <limits>

namespace ostrel {
namespace {

// The box is read through a buffer of 20 characters, terminator included.
constexpr size_t kReadLength = 19;

bool IsBlank(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000';
}

// The digit's value, or -1.
int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'\uFF10' && c <= u'\uFF19') return c - u'\uFF10';
  return -1;
}

}  // namespace

int32_t ReadTypedNumber(std::u16string_view boxText) {
  const std::u16string_view text = boxText.substr(0, kReadLength);
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  // Past 2^31 the value is saturated either way; capping there keeps 19 digits from
  // overflowing the accumulator.
  constexpr int64_t kCap = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i]);
    if (digit < 0) break;
    magnitude = magnitude * 10 + digit;
    if (magnitude > kCap) magnitude = kCap;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace ostrel
