#pragma once
#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "settings/app_settings.h"

namespace ostrel {

// The settings dialog's pages; the voice pages carry their LanguageIndex.
enum class SettingsPage : int {
  kJapaneseVoice = kJapanese,
  kChineseVoice = kChinese,
  kEnglishVoice = kEnglish,
  kKoreanVoice = kKorean,
  kOtherSettings,
  kAbout,
};

struct SettingsTab {
  SettingsPage page;
  std::u16string_view caption;
};

// The tabs in order: the voice page of each enabled language (Japanese, Chinese, English,
// Korean), then always the other settings and the version page.
std::vector<SettingsTab> SettingsTabs(const std::array<bool, kLanguageCount>& languageEnabled);

// The tab selected when the dialog opens: the voice page of `initialLanguage`, or the
// first tab when that language has none.
int InitialTab(std::span<const SettingsTab> tabs, LanguageIndex initialLanguage);

}  // namespace ostrel
