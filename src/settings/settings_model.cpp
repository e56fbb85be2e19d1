#include "settings/settings_model.h"

#include "settings/stored_value_rules.h"

namespace ostrel {
namespace {

constexpr std::array<std::u16string_view, kLanguageCount> kLanguageKeyNames{
    u"Japanese", u"Chinese", u"English", u"Korean"};

// Below the program directory, in the speech engine's installation.
constexpr std::array<std::u16string_view, kLanguageCount> kDefaultDictionaries{
    u"VW\\VT\\Misaki\\M16\\data-common\\userdict\\userdict_jpn.csv",
    u"VW\\VT\\Hui\\M16\\data-common\\userdict\\userdict_chi.csv",
    u"VW\\VT\\Kate\\M16\\data-common\\userdict\\userdict_eng.csv",
    u"VW\\VT\\Yumi\\M16\\data-common\\userdict\\userdict_kor.csv",
};

}  // namespace

std::u16string LanguageKey(LanguageIndex language) {
  std::u16string key(kSettingsKey);
  key += u'\\';
  key += kLanguageKeyNames[static_cast<size_t>(language)];
  return key;
}

std::u16string DefaultUserDicPath(LanguageIndex language, std::u16string_view programDirectory) {
  std::u16string path(programDirectory);
  path += kDefaultDictionaries[static_cast<size_t>(language)];
  return path;
}

void LoadSettings(AppSettings& s, RegistryStore& store, std::u16string_view programDirectory) {
  const std::u16string_view key = kSettingsKey;
  s.UseLanguageSet = static_cast<uint8_t>(store.AppRegGetInt(key, u"UseLanguageSet", 15, stored::NamesALanguage));
  for (int i = 0; i < kLanguageCount; ++i) s.languageEnabled[i] = ((s.UseLanguageSet >> i) & 1) != 0;
  s.language = store.AppRegGetInt(key, u"language", 0);
  s.x = store.AppRegGetInt(key, u"x", 0, stored::IsScreenCoordinate);
  s.y = store.AppRegGetInt(key, u"y", 0, stored::IsScreenCoordinate);
  s.Repeat = store.AppRegGetInt(key, u"Repeat", 0, stored::IsOnOff);
  s.Alpha_Min = store.AppRegGetInt(key, u"Alpha_Min", 55, stored::IsOpacity);
  s.Alpha_Max = store.AppRegGetInt(key, u"Alpha_Max", 255, stored::IsOpacity);
  // Ends the wrong way round leave the slider and the wheel nothing to choose from.
  if (s.Alpha_Min > s.Alpha_Max) {
    s.Alpha_Min = 55;
    s.Alpha_Max = 255;
  }
  s.Alpha = store.AppRegGetInt(key, u"Alpha", 255, stored::IsOpacity);
  s.HotKeySelRead = static_cast<uint16_t>(store.AppRegGetInt(key, u"HotKeySelRead", 0x0250));
  s.HotKeyAllRead = static_cast<uint16_t>(store.AppRegGetInt(key, u"HotKeyAllRead", 0x0350));
  s.HotKeyStop = static_cast<uint16_t>(store.AppRegGetInt(key, u"HotKeyStop", 0x0353));
  s.KeepClipboard = store.AppRegGetInt(key, u"KeepClipboard", 0, stored::IsOnOff);
  s.LanguageByScript = store.AppRegGetInt(key, u"LanguageByScript", 0, stored::IsOnOff);
  s.QuickCapture = store.AppRegGetInt(key, u"QuickCapture", 0, stored::IsOnOff);
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (!s.languageEnabled[l]) continue;
    const std::u16string languageKey = LanguageKey(l);
    LanguageSettings& ls = s.languages[l];
    if (l == kChinese) ls.codepage = store.AppRegGetInt(languageKey, u"codepage", 0, stored::IsChineseCode);
    if (l == kKorean) {
      ls.voice.ParenthesisCharNumber = store.AppRegGetInt(languageKey, u"ParenthesisCharNumber", 0);
    }
    ls.UserDicPath =
        store.AppRegGetStr(languageKey, u"UserDicPath", DefaultUserDicPath(l, programDirectory));
    ls.storedUserDicPath = ls.UserDicPath;
  }
}

bool FollowStoredPath(std::u16string& path, std::u16string& stored, std::u16string_view now) {
  const bool follow = now != stored && path == stored;
  if (follow) path = now;
  stored = now;
  return follow;
}

void TakeStoredDictionaryPaths(AppSettings& s, RegistryStore& store) {
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (!s.languageEnabled[l]) continue;
    LanguageSettings& ls = s.languages[l];
    FollowStoredPath(ls.UserDicPath, ls.storedUserDicPath,
                     store.AppRegGetStr(LanguageKey(l), u"UserDicPath", ls.storedUserDicPath));
  }
}

void ApplyEngineRanges(AppSettings& s, RegistryStore& store, LanguageIndex language,
                       const EngineReport& r) {
  LanguageSettings& ls = s.languages[static_cast<size_t>(language)];
  // Volume alone is reported maximum first.
  ls.ranges[kVolume] = {r[1], r[2], r[0]};
  ls.ranges[kSpeed] = {r[3], r[5], r[4]};
  ls.ranges[kPitch] = {r[6], r[8], r[7]};
  ls.ranges[kPause] = {r[9], r[11], r[10]};
  ls.ranges[kCommaPause] = {r[12], r[14], r[13]};
  const std::u16string key = LanguageKey(language);
  ls.voice.speed = store.AppRegGetInt(key, u"speed", ls.ranges[kSpeed].def, stored::IsVoiceValue);
  ls.voice.pitch = store.AppRegGetInt(key, u"pitch", ls.ranges[kPitch].def, stored::IsVoiceValue);
  ls.voice.volume = store.AppRegGetInt(key, u"volume", ls.ranges[kVolume].def, stored::IsVoiceValue);
  ls.voice.pause = store.AppRegGetInt(key, u"pause", ls.ranges[kPause].def, stored::IsVoiceValue);
  ls.voice.commapause = store.AppRegGetInt(key, u"commapause", ls.ranges[kCommaPause].def, stored::IsVoiceValue);
}

void ValidateLanguage(AppSettings& s) {
  const bool inRange = s.language >= 0 && s.language < kLanguageCount;
  if (inRange && s.languageEnabled[s.language]) return;
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (s.languageEnabled[l]) {
      s.language = l;
      return;
    }
  }
  // Nothing is enabled: keep a stored language that can still index the tables.
  if (!inRange) s.language = kJapanese;
}

bool SaveSettings(AppSettings& s, RegistryStore& store) {
  TakeStoredDictionaryPaths(s, store);
  // Every value is tried even after a failure: what can be kept is kept.
  bool all = true;
  const std::u16string_view key = kSettingsKey;
  all &= store.AppRegSetInt(key, u"language", s.language) == 1;
  all &= store.AppRegSetInt(key, u"Repeat", s.Repeat) == 1;
  all &= store.AppRegSetInt(key, u"Alpha_Min", s.Alpha_Min) == 1;
  all &= store.AppRegSetInt(key, u"Alpha_Max", s.Alpha_Max) == 1;
  all &= store.AppRegSetInt(key, u"Alpha", s.Alpha) == 1;
  all &= store.AppRegSetInt(key, u"HotKeySelRead", s.HotKeySelRead) == 1;
  all &= store.AppRegSetInt(key, u"HotKeyAllRead", s.HotKeyAllRead) == 1;
  all &= store.AppRegSetInt(key, u"HotKeyStop", s.HotKeyStop) == 1;
  all &= store.AppRegSetInt(key, u"KeepClipboard", s.KeepClipboard) == 1;
  all &= store.AppRegSetInt(key, u"LanguageByScript", s.LanguageByScript) == 1;
  all &= store.AppRegSetInt(key, u"QuickCapture", s.QuickCapture) == 1;
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (!s.languageEnabled[l]) continue;
    const std::u16string languageKey = LanguageKey(l);
    LanguageSettings& ls = s.languages[l];
    all &= store.AppRegSetInt(languageKey, u"speed", ls.voice.speed) == 1;
    all &= store.AppRegSetInt(languageKey, u"pitch", ls.voice.pitch) == 1;
    all &= store.AppRegSetInt(languageKey, u"volume", ls.voice.volume) == 1;
    all &= store.AppRegSetInt(languageKey, u"pause", ls.voice.pause) == 1;
    all &= store.AppRegSetInt(languageKey, u"commapause", ls.voice.commapause) == 1;
    if (l == kChinese) all &= store.AppRegSetInt(languageKey, u"codepage", ls.codepage) == 1;
    if (l == kKorean) all &= store.AppRegSetInt(languageKey, u"ParenthesisCharNumber", ls.voice.ParenthesisCharNumber) == 1;
    if (store.AppRegSetStr(languageKey, ls.UserDicPath) == 1) {
      ls.storedUserDicPath = ls.UserDicPath;
    } else {
      all = false;
    }
  }
  return all;
}

bool SaveWindowPosition(const AppSettings& s, RegistryStore& store) {
  bool all = true;
  all &= store.AppRegSetInt(kSettingsKey, u"x", s.x) == 1;
  all &= store.AppRegSetInt(kSettingsKey, u"y", s.y) == 1;
  return all;
}

std::u16string ReadAutoCheck(RegistryStore& store) { return store.AppRegGetStr(kUpdateKey, u"AutoChk", u"0"); }

HotKeyRegistration HotKeyModifiers(uint16_t word) {
  HotKeyRegistration r;
  const uint16_t flags = word >> 8;
  if (flags & kHotKeyAlt) r.modifiers |= 1;
  if (flags & kHotKeyControl) r.modifiers |= 2;
  if (flags & kHotKeyShift) r.modifiers |= 4;
  r.virtualKey = word & 0xFF;
  return r;
}

}  // namespace ostrel
