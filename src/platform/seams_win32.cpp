#include "platform/seams_win32.h"

#include <utility>

namespace ostrel {
namespace {

MessageBoxHook& MessageBoxSlot() {
  static MessageBoxHook hook;
  return hook;
}
SleepHook& SleepSlot() {
  static SleepHook hook;
  return hook;
}

}  // namespace

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
  if (MessageBoxSlot()) return MessageBoxSlot()(owner, text, caption, style);
  return MessageBoxW(owner, text, caption, style);
}

void SleepFor(DWORD milliseconds) {
  if (SleepSlot()) {
    SleepSlot()(milliseconds);
    return;
  }
  Sleep(milliseconds);
}

ScopedMessageBoxHook::ScopedMessageBoxHook(MessageBoxHook hook)
    : previous_(std::exchange(MessageBoxSlot(), std::move(hook))) {}
ScopedMessageBoxHook::~ScopedMessageBoxHook() { MessageBoxSlot() = std::move(previous_); }

ScopedSleepHook::ScopedSleepHook(SleepHook hook) : previous_(std::exchange(SleepSlot(), std::move(hook))) {}
ScopedSleepHook::~ScopedSleepHook() { SleepSlot() = std::move(previous_); }

}  // namespace ostrel
