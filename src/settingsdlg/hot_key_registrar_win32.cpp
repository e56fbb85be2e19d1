#include "settingsdlg/hot_key_registrar_win32.h"

#include <cstdio>
#include <string>

#include "platform/log_win32.h"
#include "platform/program_directory_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "settings/settings_model.h"

namespace ostrel {

// Unregistering an id that was never registered (no hot key set, or its registration failed) is
// the usual case, so only registering is recorded.
void Win32HotKeyRegistrar::Unregister(int id) { UnregisterHotKey(window_, id); }

bool Win32HotKeyRegistrar::Register(int id, uint16_t word) {
  const HotKeyRegistration r = HotKeyModifiers(word);
  if (RegisterHotKey(window_, id, r.modifiers, r.virtualKey)) return true;
  const DWORD error = GetLastError();
  char what[64];
  std::snprintf(what, sizeof what, "RegisterHotKey %d (word 0x%04X)", id, static_cast<unsigned>(word));
  log::Failed(what, error);
  return false;
}

void Win32HotKeyRegistrar::ShowFailure(int, std::u16string_view text) {
  const std::u16string terminated(text);
  ShowApplicationMessage(messageOwner_, Wide(terminated), MB_OK);
}

}  // namespace ostrel
