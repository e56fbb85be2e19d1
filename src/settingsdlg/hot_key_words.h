#pragma once
#include <array>
#include <cstdint>

#include "settings/app_settings.h"

namespace ostrel {

// The three hot key words in the order of their ids 1, 2, 3: selection reading, whole-text
// reading, stop. 0 means no hot key.
using HotKeyWords = std::array<uint16_t, 3>;

// Ctrl+P, Ctrl+Shift+P, Ctrl+Shift+S.
inline constexpr HotKeyWords kDefaultHotKeys{0x0250, 0x0350, 0x0353};

inline HotKeyWords HotKeyWordsOf(const AppSettings& settings) {
  return {settings.HotKeySelRead, settings.HotKeyAllRead, settings.HotKeyStop};
}

}  // namespace ostrel
