#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace ostrel {

// char16_t and wchar_t are the same UTF-16 code units on Windows.
inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline const wchar_t* Wide(const std::u16string& text) { return Wide(text.c_str()); }
inline std::wstring_view WideView(std::u16string_view text) { return {Wide(text.data()), text.size()}; }
inline std::u16string FromWide(const wchar_t* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}
inline std::u16string FromWide(const wchar_t* text, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace ostrel
