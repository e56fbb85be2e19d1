#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace ostrel::ui {

inline constexpr std::size_t kWholeText = static_cast<std::size_t>(-1);

// A window's (or control's) text, at most `maxChars` characters of it.
std::wstring GetText(HWND window, std::size_t maxChars = kWholeText);
// Sends WM_SETTEXT, so an edit control notifies EN_CHANGE before this returns.
void SetText(HWND window, const wchar_t* text);

std::wstring GetItemText(HWND dialog, int id, std::size_t maxChars = kWholeText);
void SetItemText(HWND dialog, int id, const wchar_t* text);

}  // namespace ostrel::ui
