#include "settingsdlg/copy_page_values.h"

namespace ostrel {

void CopyIntoPages(const AppSettings& settings, const VoicePages& voicePages, OtherSettingsPage& other) {
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    VoicePage* page = voicePages[static_cast<size_t>(l)];
    if (!settings.languageEnabled[static_cast<size_t>(l)] || page == nullptr) continue;
    const LanguageSettings& ls = settings.languages[static_cast<size_t>(l)];
    page->speed = ls.voice.speed;
    page->pitch = ls.voice.pitch;
    page->volume = ls.voice.volume;
    page->pause = ls.voice.pause;
    page->commapause = ls.voice.commapause;
    page->UserDicPath = ls.UserDicPath;
    page->storedUserDicPath = ls.storedUserDicPath;
    if (l == kChinese) page->codepage = ls.codepage;
    if (l == kKorean) page->ParenthesisCharNumber = ls.voice.ParenthesisCharNumber;
  }
  other.Alpha = settings.Alpha;
  other.Alpha_Min = settings.Alpha_Min;
  other.Alpha_Max = settings.Alpha_Max;
  other.KeepClipboard = settings.KeepClipboard == 1;
  other.LanguageByScript = settings.LanguageByScript == 1;
  other.QuickCapture = settings.QuickCapture == 1;
}

int32_t CopyBackAfterOk(AppSettings& settings, const VoicePages& voicePages, const OtherSettingsPage& other) {
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    const VoicePage* page = voicePages[static_cast<size_t>(l)];
    if (!settings.languageEnabled[static_cast<size_t>(l)] || page == nullptr) continue;
    LanguageSettings& ls = settings.languages[static_cast<size_t>(l)];
    ls.voice.speed = page->speed;
    ls.voice.pitch = page->pitch;
    ls.voice.volume = page->volume;
    ls.voice.pause = page->pause;
    ls.voice.commapause = page->commapause;
    ls.UserDicPath = page->UserDicPath;
    if (l == kChinese) ls.codepage = page->codepage;
    if (l == kKorean) ls.voice.ParenthesisCharNumber = page->ParenthesisCharNumber;
  }
  settings.Alpha = other.Alpha;
  settings.KeepClipboard = other.KeepClipboard ? 1 : 0;
  settings.LanguageByScript = other.LanguageByScript ? 1 : 0;
  settings.QuickCapture = other.QuickCapture ? 1 : 0;
  return settings.Alpha;
}

}  // namespace ostrel
