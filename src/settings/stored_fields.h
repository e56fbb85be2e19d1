#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "settings/app_settings.h"
#include "settings/registry_store.h"
#include "settings/settings_model.h"
#include "settings/stored_value_rules.h"

namespace ostrel {

// Every value the settings keep in the registry, one row each: loading, both saves, the defaults and
// the rules for unusable numbers all follow this table, so a new value is a new row (and its field).
// Reads take the user's value, else the machine's at the same path, else the row's default; writes
// go to the user's key only.

enum class StoredUnder { SettingsKey, LanguageKey };
enum class WrittenBy { Never, SaveSettings, SaveWindowPosition };

// The languages whose keys hold a value, bit LanguageIndex; disabled ones are skipped regardless.
using LanguageSet = uint8_t;
constexpr LanguageSet kEveryLanguage = 0x0F;
constexpr LanguageSet OnlyIn(LanguageIndex language) { return static_cast<LanguageSet>(1u << language); }

constexpr int kNoEngineDefault = -1;
// Also what an opacity range the wrong way round is reset to.
constexpr int32_t kAlphaMinDefault = 55;
constexpr int32_t kAlphaMaxDefault = 255;

// A number field of any width, seen as the 32 bits the registry stores: narrower fields keep the
// low bits of what is read and are written zero-extended.
struct NumberAccess {
  int32_t (*get)(const AppSettings&, LanguageIndex) = nullptr;
  void (*set)(AppSettings&, LanguageIndex, int32_t) = nullptr;
};

// Texts live in the languages' keys. `lastStored` is the value as last read or written, so that a
// change another program makes while we run can be told from one made here.
struct TextAccess {
  std::u16string LanguageSettings::*value = nullptr;
  std::u16string LanguageSettings::*lastStored = nullptr;
  std::u16string (*fallback)(LanguageIndex, std::u16string_view programDirectory) = nullptr;
};

struct StoredField {
  std::u16string_view name;
  StoredUnder under = StoredUnder::SettingsKey;
  LanguageSet languages = kEveryLanguage;
  WrittenBy written = WrittenBy::SaveSettings;
  int32_t fallback = 0;
  // A voice value's default is what the engine reports for it, known only once the language starts.
  int engineDefault = kNoEngineDefault;
  RegistryStore::NumberAccepted accepted = nullptr;
  NumberAccess number;
  TextAccess text;  // set for a text instead of `number`

  constexpr bool IsText() const { return text.value != nullptr; }
  constexpr bool WaitsForEngine() const { return engineDefault != kNoEngineDefault; }
  constexpr bool HeldBy(LanguageIndex language) const { return ((languages >> language) & 1) != 0; }
};

namespace stored_field {

template <class T>
struct MemberOf;
template <class Owner, class Value>
struct MemberOf<Value Owner::*> {
  using OwnerType = Owner;
  using ValueType = Value;
};

template <class Owner, class Settings>
constexpr auto& OwnerIn(Settings& s, LanguageIndex language) {
  if constexpr (std::is_same_v<Owner, AppSettings>) {
    return s;
  } else if constexpr (std::is_same_v<Owner, LanguageSettings>) {
    return s.languages[static_cast<size_t>(language)];
  } else {
    static_assert(std::is_same_v<Owner, VoiceParameters>);
    return s.languages[static_cast<size_t>(language)].voice;
  }
}

template <auto member>
constexpr NumberAccess Number() {
  using Owner = typename MemberOf<decltype(member)>::OwnerType;
  using Value = typename MemberOf<decltype(member)>::ValueType;
  static_assert(std::is_integral_v<Value> && sizeof(Value) <= sizeof(int32_t));
  return {[](const AppSettings& s, LanguageIndex l) -> int32_t { return OwnerIn<Owner>(s, l).*member; },
          [](AppSettings& s, LanguageIndex l, int32_t v) { OwnerIn<Owner>(s, l).*member = static_cast<Value>(v); }};
}

template <auto member>
constexpr bool InSettingsKey = std::is_same_v<typename MemberOf<decltype(member)>::OwnerType, AppSettings>;

template <auto member>
constexpr StoredField NumberRow(std::u16string_view name, int32_t fallback, RegistryStore::NumberAccepted accepted) {
  StoredField field;
  field.name = name;
  field.fallback = fallback;
  field.accepted = accepted;
  field.number = Number<member>();
  return field;
}

}  // namespace stored_field

// A value under the settings key.
template <auto member>
constexpr StoredField Setting(std::u16string_view name, int32_t fallback,
                              RegistryStore::NumberAccepted accepted = nullptr,
                              WrittenBy written = WrittenBy::SaveSettings) {
  static_assert(stored_field::InSettingsKey<member>);
  StoredField field = stored_field::NumberRow<member>(name, fallback, accepted);
  field.written = written;
  return field;
}

// A number under the key of each language in `languages`.
template <auto member>
constexpr StoredField LanguageNumber(std::u16string_view name, int32_t fallback,
                                     RegistryStore::NumberAccepted accepted, LanguageSet languages) {
  static_assert(!stored_field::InSettingsKey<member>);
  StoredField field = stored_field::NumberRow<member>(name, fallback, accepted);
  field.under = StoredUnder::LanguageKey;
  field.languages = languages;
  return field;
}

// A voice value: its default is the engine's for `parameter`.
template <auto member>
constexpr StoredField VoiceValue(std::u16string_view name, VoiceParameterId parameter) {
  StoredField field = LanguageNumber<member>(name, 0, stored::IsVoiceValue, kEveryLanguage);
  field.engineDefault = parameter;
  return field;
}

// The user dictionary, under the one name the store writes a text as.
constexpr StoredField DictionaryPath() {
  StoredField field;
  field.name = RegistryStore::kTextValueName;
  field.under = StoredUnder::LanguageKey;
  field.text = {&LanguageSettings::UserDicPath, &LanguageSettings::storedUserDicPath, DefaultUserDicPath};
  return field;
}

// Written, in this order, by SaveSettings (the settings key, then each enabled language's key) and
// SaveWindowPosition; LoadSettings reads in the same order, ApplyEngineRanges the voice values.
inline constexpr std::array kStoredFields{
    Setting<&AppSettings::UseLanguageSet>(u"UseLanguageSet", 15, stored::NamesALanguage, WrittenBy::Never),
    Setting<&AppSettings::language>(u"language", 0),
    Setting<&AppSettings::x>(u"x", 0, stored::IsScreenCoordinate, WrittenBy::SaveWindowPosition),
    Setting<&AppSettings::y>(u"y", 0, stored::IsScreenCoordinate, WrittenBy::SaveWindowPosition),
    Setting<&AppSettings::Repeat>(u"Repeat", 0, stored::IsOnOff),
    Setting<&AppSettings::Alpha_Min>(u"Alpha_Min", kAlphaMinDefault, stored::IsOpacity),
    Setting<&AppSettings::Alpha_Max>(u"Alpha_Max", kAlphaMaxDefault, stored::IsOpacity),
    Setting<&AppSettings::Alpha>(u"Alpha", 255, stored::IsOpacity),
    Setting<&AppSettings::HotKeySelRead>(u"HotKeySelRead", 0x0250),
    Setting<&AppSettings::HotKeyAllRead>(u"HotKeyAllRead", 0x0350),
    Setting<&AppSettings::HotKeyStop>(u"HotKeyStop", 0x0353),
    Setting<&AppSettings::KeepClipboard>(u"KeepClipboard", 0, stored::IsOnOff),
    Setting<&AppSettings::LanguageByScript>(u"LanguageByScript", 0, stored::IsOnOff),
    Setting<&AppSettings::QuickCapture>(u"QuickCapture", 0, stored::IsOnOff),

    VoiceValue<&VoiceParameters::speed>(u"speed", kSpeed),
    VoiceValue<&VoiceParameters::pitch>(u"pitch", kPitch),
    VoiceValue<&VoiceParameters::volume>(u"volume", kVolume),
    VoiceValue<&VoiceParameters::pause>(u"pause", kPause),
    VoiceValue<&VoiceParameters::commapause>(u"commapause", kCommaPause),
    LanguageNumber<&LanguageSettings::codepage>(u"codepage", 0, stored::IsChineseCode, OnlyIn(kChinese)),
    LanguageNumber<&VoiceParameters::ParenthesisCharNumber>(u"ParenthesisCharNumber", 0, nullptr,
                                                            OnlyIn(kKorean)),
    DictionaryPath(),
};

// What the loops over the table take for granted.
constexpr bool FitsTheStore() {
  for (const StoredField& field : kStoredFields) {
    if (field.IsText() && (field.name != RegistryStore::kTextValueName || field.under != StoredUnder::LanguageKey)) {
      return false;
    }
    if (field.WaitsForEngine() && field.under != StoredUnder::LanguageKey) return false;
    if (field.written == WrittenBy::SaveWindowPosition && (field.IsText() || field.under != StoredUnder::SettingsKey)) {
      return false;
    }
  }
  return true;
}
static_assert(FitsTheStore());

}  // namespace ostrel
