#pragma once
#include <windows.h>
#include <commctrl.h>

namespace ostrel::testing {

inline constexpr wchar_t kSettingsKey[] = L"Software\\Brantic\\Ostrel4";

// Runs whatever the windows under test posted to themselves.
inline void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Runs this thread's messages until the condition holds or the time is up; false then.
template <typename Condition>
bool PumpUntil(Condition condition, ULONGLONG milliseconds = 2000) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  // The condition right after the pause: it may look for a message (a timer's) that
  // pumping would dispatch.
  while (!condition()) {
    if (GetTickCount64() > deadline) return false;
    PumpMessages();
    Sleep(5);
  }
  return true;
}

// A window that holds a hot key, as another program would.
class HotKeyHolder {
 public:
  HotKeyHolder(UINT modifiers, UINT key)
      : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {
    held_ = RegisterHotKey(window_, 77, modifiers, key) != FALSE;
  }
  ~HotKeyHolder() {
    UnregisterHotKey(window_, 77);
    DestroyWindow(window_);
  }
  HotKeyHolder(const HotKeyHolder&) = delete;
  HotKeyHolder& operator=(const HotKeyHolder&) = delete;
  bool held() const { return held_; }

 private:
  HWND window_;
  bool held_ = false;
};

inline bool HotKeyIsFree(UINT modifiers, UINT key) {
  HotKeyHolder probe(modifiers, key);
  return probe.held();
}

// The control classes the dialogs under test are made of.
inline void InitCommonControlsForTests() {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
}

// A DWORD the program saved under its settings key, or the fallback when there is none.
inline DWORD StoredDword(const wchar_t* name, DWORD fallback = 0xDEADBEEF) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
    return fallback;
  }
  return value;
}

}  // namespace ostrel::testing
