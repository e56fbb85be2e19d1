#include "toolbar/hot_keys_win32.h"

#include "app/program_directory_win32.h"
#include "app/texts.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "settings/settings_model.h"

namespace ostrel {

uint16_t& HotKeyWord(AppSettings& settings, int id) {
  switch (id) {
    case kHotKeySelectionRead: return settings.HotKeySelRead;
    case kHotKeyWholeRead: return settings.HotKeyAllRead;
    default: return settings.HotKeyStop;
  }
}

void RegisterHotKeys(HWND window, HWND messageOwner, AppSettings& settings) {
  for (int id = kHotKeySelectionRead; id <= kHotKeyStopReading; ++id) {
    uint16_t& word = HotKeyWord(settings, id);
    if (word == 0) continue;
    const HotKeyRegistration r = HotKeyModifiers(word);
    if (RegisterHotKey(window, id, r.modifiers, r.virtualKey)) continue;
    const std::u16string caption = ApplicationName();
    ShowMessageBox(messageOwner, reinterpret_cast<const wchar_t*>(texts::kHotKeyFailed[id - 1]), Wide(caption),
                   MB_OK);
    word = 0;
  }
}

void UnregisterHotKeys(HWND window, const AppSettings& settings) {
  const uint16_t words[] = {settings.HotKeySelRead, settings.HotKeyAllRead, settings.HotKeyStop};
  for (int id = kHotKeySelectionRead; id <= kHotKeyStopReading; ++id) {
    if (words[id - 1] != 0) UnregisterHotKey(window, id);
  }
}

}  // namespace ostrel
