#pragma once
#include <windows.h>

#include "settings/app_settings.h"

namespace ostrel {

constexpr int kHotKeySelectionRead = 1;
constexpr int kHotKeyWholeRead = 2;
constexpr int kHotKeyStopReading = 3;

// The word of hot key id 1, 2 or 3.
uint16_t& HotKeyWord(AppSettings& settings, int id);

// Registers ids 1 to 3 on the window in order. A combination that cannot be registered
// is reported in a box owned by messageOwner and its word becomes 0, so a non-zero word
// always means a registered hot key. A word of 0 is not registered (there is nothing to press).
void RegisterHotKeys(HWND window, HWND messageOwner, AppSettings& settings);
// Releases the ids whose words are non-zero.
void UnregisterHotKeys(HWND window, const AppSettings& settings);

}  // namespace ostrel
