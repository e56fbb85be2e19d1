#include "platform/wide_win32.h"

namespace ostrel {

std::string ToCodePage(std::u16string_view text, UINT codePage) {
  if (text.empty()) return {};
  const auto* source = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(codePage, 0, source, length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string result(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(codePage, 0, source, length, result.data(), needed, nullptr, nullptr);
  return result;
}

}  // namespace ostrel
