#include "ui/hot_key_control_win32.h"

#include <commctrl.h>

namespace ostrel::ui {

void HotKeyControl::SetRules(WORD invalidCombinations, WORD modifiers) const {
  Send(HKM_SETRULES, invalidCombinations, MAKELPARAM(modifiers, 0));
}

void HotKeyControl::SetHotKey(std::uint16_t word) const { Send(HKM_SETHOTKEY, word); }

std::uint16_t HotKeyControl::GetHotKey() const { return static_cast<std::uint16_t>(LOWORD(Send(HKM_GETHOTKEY))); }

}  // namespace ostrel::ui
