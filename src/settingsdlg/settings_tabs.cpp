#include "settingsdlg/settings_tabs.h"

#include "settingsdlg/page_texts.h"

namespace ostrel {
namespace {

SettingsTab TabOf(SettingsPage page) { return {page, page_texts::kTabCaptions[static_cast<size_t>(page)]}; }

}  // namespace

std::vector<SettingsTab> SettingsTabs(const std::array<bool, kLanguageCount>& languageEnabled) {
  std::vector<SettingsTab> tabs;
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (languageEnabled[static_cast<size_t>(l)]) tabs.push_back(TabOf(static_cast<SettingsPage>(l)));
  }
  tabs.push_back(TabOf(SettingsPage::kOtherSettings));
  tabs.push_back(TabOf(SettingsPage::kAbout));
  return tabs;
}

int InitialTab(std::span<const SettingsTab> tabs, LanguageIndex initialLanguage) {
  // Only the voice pages carry a language, so the other two can never match.
  for (size_t i = 0; i < tabs.size(); ++i) {
    if (tabs[i].page <= SettingsPage::kKoreanVoice && static_cast<int>(tabs[i].page) == initialLanguage) {
      return static_cast<int>(i);
    }
  }
  return 0;
}

}  // namespace ostrel
