#include "settings/registry_value.h"

namespace ostrel {

std::optional<int32_t> NumberOfValue(uint32_t type, std::span<const uint8_t> data) {
  if (data.size() != 4) return std::nullopt;
  uint32_t value = 0;
  if (type == kRegDword) {
    for (size_t i = 0; i < 4; ++i) value |= uint32_t{data[i]} << (8 * i);
  } else if (type == kRegDwordBigEndian) {
    for (size_t i = 0; i < 4; ++i) value = (value << 8) | data[i];
  } else {
    return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

std::optional<std::u16string> TextOfValue(uint32_t type, std::span<const uint8_t> data) {
  if (type != kRegSz && type != kRegExpandSz) return std::nullopt;
  std::u16string text;
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == u'\0') break;
    text.push_back(c);
  }
  return text;
}

}  // namespace ostrel
