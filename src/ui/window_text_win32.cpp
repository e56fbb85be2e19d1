#include "ui/window_text_win32.h"

#include <algorithm>
#include <vector>

namespace ostrel::ui {

std::wstring GetText(HWND window, std::size_t maxChars) {
  if (!window || maxChars == 0) return {};
  std::size_t length = static_cast<std::size_t>(std::max(GetWindowTextLengthW(window), 0));
  length = std::min(length, maxChars);
  std::vector<wchar_t> buffer(length + 1);
  const int copied = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
  return std::wstring(buffer.data(), static_cast<std::size_t>(std::max(copied, 0)));
}

void SetText(HWND window, const wchar_t* text) { SetWindowTextW(window, text ? text : L""); }

std::wstring GetItemText(HWND dialog, int id, std::size_t maxChars) { return GetText(GetDlgItem(dialog, id), maxChars); }

void SetItemText(HWND dialog, int id, const wchar_t* text) { SetText(GetDlgItem(dialog, id), text); }

}  // namespace ostrel::ui
