#pragma once
#include <windows.h>

#include <cstdint>

#include "ui/control_win32.h"

namespace ostrel::ui {

// A hot-key control. Its word: the virtual key in the low byte, HOTKEYF_* flags in the high byte.
class HotKeyControl : public Control {
 public:
  using Control::Control;

  // `invalidCombinations` (HKCOMB_*) typed alone get `modifiers` (HOTKEYF_*) added.
  void SetRules(WORD invalidCombinations, WORD modifiers) const;
  void SetHotKey(std::uint16_t word) const;
  std::uint16_t GetHotKey() const;
};

}  // namespace ostrel::ui
