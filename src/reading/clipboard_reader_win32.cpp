#include "reading/clipboard_reader_win32.h"

#include <algorithm>

#include "platform/log_win32.h"
#include "reading/clipboard_open_win32.h"
#include "reading/global_lock_guard_win32.h"

namespace ostrel {

bool Win32ClipboardReader::HasUnicodeText() { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }

bool Win32ClipboardReader::Open() { return OpenClipboardWithRetry(toolbar_); }

std::optional<std::u16string> Win32ClipboardReader::UnicodeText() {
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  return TextOfGlobalBlock(data);
}

void Win32ClipboardReader::Empty() {
  if (!::EmptyClipboard()) log::Failed("EmptyClipboard after taking the text", GetLastError());
}

void Win32ClipboardReader::Close() { ::CloseClipboard(); }

std::optional<std::u16string> TextOfGlobalBlock(HGLOBAL block) {
  GlobalLockGuard lock(block);
  if (!lock.get()) return std::nullopt;
  // Another program may put a text without its terminating zero on the clipboard.
  const size_t capacity = GlobalSize(block) / sizeof(char16_t);
  const auto* begin = static_cast<const char16_t*>(lock.get());
  return std::u16string(begin, std::find(begin, begin + capacity, u'\0'));
}

}  // namespace ostrel
