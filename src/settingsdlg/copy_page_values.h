#pragma once
#include <array>
#include <cstdint>

#include "settings/app_settings.h"
#include "settingsdlg/other_settings_page.h"
#include "settingsdlg/voice_page.h"

namespace ostrel {

// The four voice pages by LanguageIndex. The page of a disabled language may be null.
using VoicePages = std::array<VoicePage*, kLanguageCount>;

// Before the settings dialog runs: the values of each enabled language into its voice page,
// the transparency and the reading options into the other-settings page. The hot keys do
// not travel this way.
void CopyIntoPages(const AppSettings& settings, const VoicePages& voicePages, OtherSettingsPage& other);

// After OK: the values of each enabled language's page back into `settings`, Alpha (not its
// range) and the reading options. Returns the Alpha the toolbar now shows as its CurrentAlpha.
int32_t CopyBackAfterOk(AppSettings& settings, const VoicePages& voicePages, const OtherSettingsPage& other);

}  // namespace ostrel
