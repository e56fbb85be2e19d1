#pragma once
#include <windows.h>

#include <functional>

namespace ostrel {

// Message boxes and sleeps go through these, so that tests can answer a box or skip a
// wait without a person at the screen. The defaults call the platform.
using MessageBoxHook = std::function<int(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style)>;
using SleepHook = std::function<void(DWORD milliseconds)>;

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);
void SleepFor(DWORD milliseconds);

// Replaces a hook for the lifetime of the object (tests only).
class ScopedMessageBoxHook {
 public:
  explicit ScopedMessageBoxHook(MessageBoxHook hook);
  ~ScopedMessageBoxHook();
  ScopedMessageBoxHook(const ScopedMessageBoxHook&) = delete;
  ScopedMessageBoxHook& operator=(const ScopedMessageBoxHook&) = delete;

 private:
  MessageBoxHook previous_;
};

class ScopedSleepHook {
 public:
  explicit ScopedSleepHook(SleepHook hook);
  ~ScopedSleepHook();
  ScopedSleepHook(const ScopedSleepHook&) = delete;
  ScopedSleepHook& operator=(const ScopedSleepHook&) = delete;

 private:
  SleepHook previous_;
};

}  // namespace ostrel
