#include "encoding/utf8.h"

#include <cstdint>

namespace ostrel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t value) {
  if (value < 0x80) {
    out += static_cast<char>(value);
  } else if (value < 0x800) {
    out += static_cast<char>(0xC0 | (value >> 6));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else if (value < 0x10000) {
    out += static_cast<char>(0xE0 | (value >> 12));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (value >> 18));
    out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  }
}

std::string_view WithoutByteOrderMark(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return bytes;
}

}  // namespace

void AppendUtf16(std::u16string& out, char32_t value) {
  if (value < 0x10000) {
    out += static_cast<char16_t>(value);
    return;
  }
  value -= 0x10000;
  out += static_cast<char16_t>(0xD800 + (value >> 10));
  out += static_cast<char16_t>(0xDC00 + (value & 0x3FF));
}

// The second byte's range carries the overlong, surrogate and past-U+10FFFF checks, as in the
// Unicode standard's table 3-7.
std::optional<char32_t> NextUtf8Scalar(std::string_view bytes, std::size_t& pos) {
  const auto lead = static_cast<std::uint8_t>(bytes[pos++]);
  if (lead < 0x80) return lead;
  int trailing = 0;
  std::uint8_t low = 0x80;
  std::uint8_t high = 0xBF;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < trailing; ++i) {
    if (pos >= bytes.size()) return std::nullopt;
    const auto next = static_cast<std::uint8_t>(bytes[pos]);
    if (next < low || next > high) return std::nullopt;
    low = 0x80;
    high = 0xBF;
    value = (value << 6) | (next & 0x3F);
    ++pos;
  }
  return value;
}

std::optional<std::u16string> DecodeUtf8(std::string_view bytes) {
  bytes = WithoutByteOrderMark(bytes);
  std::u16string text;
  text.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::optional<char32_t> value = NextUtf8Scalar(bytes, pos);
    if (!value) return std::nullopt;
    AppendUtf16(text, *value);
  }
  return text;
}

std::u16string DecodeUtf8Lenient(std::string_view bytes) {
  bytes = WithoutByteOrderMark(bytes);
  std::u16string text;
  text.reserve(bytes.size());
  std::size_t pos = 0;
  while (pos < bytes.size()) AppendUtf16(text, NextUtf8Scalar(bytes, pos).value_or(kReplacement));
  return text;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    char32_t value = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      value = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      value = kReplacement;
    }
    AppendUtf8(bytes, value);
  }
  return bytes;
}

}  // namespace ostrel
