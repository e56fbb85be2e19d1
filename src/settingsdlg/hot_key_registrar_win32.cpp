#include "settingsdlg/hot_key_registrar_win32.h"

#include <string>

#include "platform/program_directory_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "settings/settings_model.h"

namespace ostrel {

void Win32HotKeyRegistrar::Unregister(int id) { UnregisterHotKey(window_, id); }

bool Win32HotKeyRegistrar::Register(int id, uint16_t word) {
  const HotKeyRegistration r = HotKeyModifiers(word);
  return RegisterHotKey(window_, id, r.modifiers, r.virtualKey) != FALSE;
}

void Win32HotKeyRegistrar::ShowFailure(int, std::u16string_view text) {
  const std::u16string terminated(text);
  ShowApplicationMessage(messageOwner_, Wide(terminated), MB_OK);
}

}  // namespace ostrel
