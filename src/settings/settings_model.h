#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/app_settings.h"
#include "settings/registry_store.h"

namespace ostrel {

inline constexpr std::u16string_view kSettingsKey = u"HKEY_CURRENT_USER\\Software\\Brantic\\Ostrel4";
inline constexpr std::u16string_view kUpdateKey =
    u"HKEY_LOCAL_MACHINE\\SOFTWARE\\BRANTIC\\Ostrel4\\AppUpdate";
std::u16string LanguageKey(LanguageIndex language);

// What StartLanguage reports: volume (max, min, def), then speed, pitch, pause and
// commapause as (min, max, def).
using EngineReport = std::array<int32_t, 15>;

void LoadSettings(AppSettings& settings, RegistryStore& store, std::u16string_view programDirectory);
void ApplyEngineRanges(AppSettings& settings, RegistryStore& store, LanguageIndex language,
                       const EngineReport& report);
void ValidateLanguage(AppSettings& settings);
// A dictionary path that the registry has changed to since it was read (the dictionary editor
// saved the dictionary elsewhere) replaces one that was not changed here; a path changed here
// stays. Before the paths are shown, and within each save, so that neither brings back the old file.
void TakeStoredDictionaryPaths(AppSettings& settings, RegistryStore& store);
// The rule of it for one path: `stored` is what the registry held when last seen, `now` what it
// holds. True when `path` was replaced.
bool FollowStoredPath(std::u16string& path, std::u16string& stored, std::u16string_view now);
// Both say whether every value was written.
bool SaveSettings(AppSettings& settings, RegistryStore& store);
bool SaveWindowPosition(const AppSettings& settings, RegistryStore& store);
std::u16string ReadAutoCheck(RegistryStore& store);
std::u16string DefaultUserDicPath(LanguageIndex language, std::u16string_view programDirectory);

struct HotKeyRegistration {
  uint32_t modifiers = 0;  // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4
  uint32_t virtualKey = 0;
};
HotKeyRegistration HotKeyModifiers(uint16_t word);

}  // namespace ostrel
