#include "encoding/code_page_win32.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <tuple>
#include <utility>

namespace ostrel {
namespace {

const wchar_t* Wide(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

int EncodedLength(std::u16string_view text, UINT codePage) {
  if (text.empty()) return 0;
  return WideCharToMultiByte(codePage, 0, Wide(text), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
}

// The longest start of `text` whose bytes fit in `limit`, and their length. The code pages here
// are stateless, so the bytes of a start are a start of the bytes.
std::pair<std::u16string_view, int> FittingStart(std::u16string_view text, UINT codePage, std::size_t limit) {
  const int whole = EncodedLength(text, codePage);
  if (whole >= 0 && static_cast<std::size_t>(whole) <= limit) return {text, whole};
  std::size_t fits = 0;
  std::size_t tooLong = text.size();
  while (tooLong - fits > 1) {
    const std::size_t middle = fits + (tooLong - fits) / 2;
    const int length = EncodedLength(text.substr(0, middle), codePage);
    if (length > 0 && static_cast<std::size_t>(length) <= limit) {
      fits = middle;
    } else {
      tooLong = middle;
    }
  }
  if (fits > 0 && IsHighSurrogate(text[fits - 1]) && fits < text.size() && IsLowSurrogate(text[fits])) --fits;
  const std::u16string_view start = text.substr(0, fits);
  return {start, EncodedLength(start, codePage)};
}

}  // namespace

std::string ToCodePage(std::u16string_view text, uint32_t codePage) {
  return ToCodePage(text, codePage, INT_MAX);
}

std::string ToCodePage(std::u16string_view text, uint32_t codePage, std::size_t limit) {
  text = text.substr(0, std::min<std::size_t>(text.size(), INT_MAX));
  // Into a buffer that is too small WideCharToMultiByte writes a partial result, possibly half a
  // double-byte character, and fails; so only a start that fits is converted.
  int needed = 0;
  std::tie(text, needed) = FittingStart(text, codePage, std::min<std::size_t>(limit, INT_MAX));
  if (needed <= 0) return {};
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  const int written = WideCharToMultiByte(codePage, 0, Wide(text), static_cast<int>(text.size()), bytes.data(),
                                          needed, nullptr, nullptr);
  bytes.resize(static_cast<std::size_t>(std::max(written, 0)));
  return bytes;
}

std::optional<std::string> ToCodePageExactly(std::u16string_view text, uint32_t codePage) {
  if (text.empty()) return std::string();
  if (text.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int needed =
      WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, Wide(text), length, nullptr, 0, nullptr, &usedDefault);
  if (needed <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  const int written = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, Wide(text), length, bytes.data(), needed,
                                          nullptr, &usedDefault);
  if (written != needed || usedDefault) return std::nullopt;
  return bytes;
}

std::u16string FromCodePage(std::string_view bytes, uint32_t codePage) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::u16string text(static_cast<std::size_t>(size), u'\0');
  const int written =
      MultiByteToWideChar(codePage, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()), size);
  text.resize(static_cast<std::size_t>(std::max(written, 0)));
  return text;
}

std::optional<std::u16string> FromCodePageExactly(std::string_view bytes, uint32_t codePage) {
  if (bytes.empty()) return std::u16string();
  if (bytes.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::u16string text(static_cast<std::size_t>(size), u'\0');
  const int written = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length,
                                          reinterpret_cast<wchar_t*>(text.data()), size);
  if (written != size) return std::nullopt;
  return text;
}

PathInCodePage PathForCodePage(std::u16string_view path, uint32_t codePage) {
  return ChoosePathInCodePage(
      path, [codePage](std::u16string_view text) { return ToCodePageExactly(text, codePage); },
      [](std::u16string_view longPath) -> std::optional<std::u16string> {
        const std::wstring source(Wide(longPath), longPath.size());
        const DWORD needed = GetShortPathNameW(source.c_str(), nullptr, 0);
        if (needed == 0) return std::nullopt;
        std::wstring shortPath(needed, L'\0');
        const DWORD length = GetShortPathNameW(source.c_str(), shortPath.data(), needed);
        if (length == 0 || length >= needed) return std::nullopt;
        return std::u16string(reinterpret_cast<const char16_t*>(shortPath.data()), length);
      });
}

}  // namespace ostrel
