#include "settings/settings_model.h"

#include "settings/stored_fields.h"

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

namespace {

std::u16string KeyOf(const StoredField& field, LanguageIndex language) {
  return field.under == StoredUnder::SettingsKey ? std::u16string(kSettingsKey) : LanguageKey(language);
}

void Read(const StoredField& field, AppSettings& s, RegistryStore& store, LanguageIndex language,
          std::u16string_view programDirectory) {
  const std::u16string key = KeyOf(field, language);
  if (field.IsText()) {
    LanguageSettings& ls = s.languages[static_cast<size_t>(language)];
    ls.*field.text.value = store.AppRegGetStr(key, field.name, field.text.fallback(language, programDirectory));
    ls.*field.text.lastStored = ls.*field.text.value;
    return;
  }
  const int32_t fallback = field.WaitsForEngine()
                               ? s.languages[static_cast<size_t>(language)].ranges[field.engineDefault].def
                               : field.fallback;
  field.number.set(s, language, store.AppRegGetInt(key, field.name, fallback, field.accepted));
}

// The fields of the languages' keys that `language` holds.
template <class Visit>
void ForLanguageFields(LanguageIndex language, const Visit& visit) {
  for (const StoredField& field : kStoredFields) {
    if (field.under == StoredUnder::LanguageKey && field.HeldBy(language)) visit(field);
  }
}

// A disabled language is neither read nor written: its values stay as they are stored.
template <class Visit>
void ForEnabledLanguageFields(const AppSettings& s, const Visit& visit) {
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (s.languageEnabled[l]) ForLanguageFields(l, [&](const StoredField& field) { visit(field, l); });
  }
}

// The numbers of the settings key that `when` writes, in the table's order.
bool WriteSettingsKey(const AppSettings& s, RegistryStore& store, WrittenBy when) {
  bool all = true;
  for (const StoredField& field : kStoredFields) {
    if (field.under == StoredUnder::SettingsKey && field.written == when) {
      all &= store.AppRegSetInt(kSettingsKey, field.name, field.number.get(s, kJapanese)) == 1;
    }
  }
  return all;
}

}  // namespace

void LoadSettings(AppSettings& s, RegistryStore& store, std::u16string_view programDirectory) {
  for (const StoredField& field : kStoredFields) {
    if (field.under == StoredUnder::SettingsKey) Read(field, s, store, kJapanese, programDirectory);
  }
  for (int i = 0; i < kLanguageCount; ++i) s.languageEnabled[i] = ((s.UseLanguageSet >> i) & 1) != 0;
  // Ends the wrong way round leave the slider and the wheel nothing to choose from.
  if (s.Alpha_Min > s.Alpha_Max) {
    s.Alpha_Min = kAlphaMinDefault;
    s.Alpha_Max = kAlphaMaxDefault;
  }
  ForEnabledLanguageFields(s, [&](const StoredField& field, LanguageIndex l) {
    if (!field.WaitsForEngine()) Read(field, s, store, l, programDirectory);
  });
}

bool FollowStoredPath(std::u16string& path, std::u16string& stored, std::u16string_view now) {
  const bool follow = now != stored && path == stored;
  if (follow) path = now;
  stored = now;
  return follow;
}

void TakeStoredDictionaryPaths(AppSettings& s, RegistryStore& store) {
  ForEnabledLanguageFields(s, [&](const StoredField& field, LanguageIndex l) {
    if (!field.IsText()) return;
    LanguageSettings& ls = s.languages[l];
    std::u16string& stored = ls.*field.text.lastStored;
    FollowStoredPath(ls.*field.text.value, stored, store.AppRegGetStr(LanguageKey(l), field.name, stored));
  });
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
  ForLanguageFields(language, [&](const StoredField& field) {
    if (field.WaitsForEngine()) Read(field, s, store, language, {});
  });
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
  bool all = WriteSettingsKey(s, store, WrittenBy::SaveSettings);
  ForEnabledLanguageFields(s, [&](const StoredField& field, LanguageIndex l) {
    if (field.written != WrittenBy::SaveSettings) return;
    LanguageSettings& ls = s.languages[l];
    if (!field.IsText()) {
      all &= store.AppRegSetInt(LanguageKey(l), field.name, field.number.get(s, l)) == 1;
    } else if (store.AppRegSetStr(LanguageKey(l), ls.*field.text.value) == 1) {
      ls.*field.text.lastStored = ls.*field.text.value;
    } else {
      all = false;
    }
  });
  return all;
}

bool SaveWindowPosition(const AppSettings& s, RegistryStore& store) {
  return WriteSettingsKey(s, store, WrittenBy::SaveWindowPosition);
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
