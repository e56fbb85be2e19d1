#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace ostrel {

// 0 Japanese, 1 Chinese, 2 English, 3 Korean; the engine counts from 1.
using LanguageIndex = int32_t;
constexpr int kLanguageCount = 4;
constexpr LanguageIndex kJapanese = 0;
constexpr LanguageIndex kChinese = 1;
constexpr LanguageIndex kEnglish = 2;
constexpr LanguageIndex kKorean = 3;
constexpr int32_t EngineLanguage(LanguageIndex language) { return language + 1; }

// Order of the sliders on the voice pages and of the triples in the engine's report.
enum VoiceParameterId : int { kVolume = 0, kSpeed = 1, kPitch = 2, kPause = 3, kCommaPause = 4 };
constexpr int kVoiceParameterCount = 5;

struct ParameterRange {
  int32_t min = 0;
  int32_t def = 0;
  int32_t max = 0;
};

struct VoiceParameters {
  int32_t speed = 0;
  int32_t pitch = 0;
  int32_t volume = 0;
  int32_t pause = 0;
  int32_t commapause = 0;
  int32_t ParenthesisCharNumber = 0;  // Korean only: read "(...)" from this many characters on; 0 never
};

struct LanguageSettings {
  VoiceParameters voice;
  std::array<ParameterRange, kVoiceParameterCount> ranges{};
  std::u16string UserDicPath;
  // "UserDicPath" as last read from or written to the registry: the dictionary editor may point
  // the language at another file while the toolbar runs, and a path not changed here yields to it.
  std::u16string storedUserDicPath;
  int32_t codepage = 0;  // Chinese only: 0 GB, 1 BIG5, 2 XR simplified, 3 XR traditional
};

// Hot key word: low byte the virtual key, high byte the hot-key control's flags.
constexpr uint16_t kHotKeyShift = 0x01;
constexpr uint16_t kHotKeyControl = 0x02;
constexpr uint16_t kHotKeyAlt = 0x04;
constexpr uint16_t kHotKeyExtended = 0x08;
// The hot keys are registered as ids 1, 2, 3: selection reading, whole-text reading, stop.
constexpr int kFirstHotKeyId = 1;
constexpr int kHotKeyCount = 3;

// Starts all zero; LoadSettings gives it its values.
struct AppSettings {
  uint8_t UseLanguageSet = 0;
  std::array<bool, kLanguageCount> languageEnabled{};
  LanguageIndex language = 0;
  int32_t Repeat = 0;
  int32_t Alpha = 0;
  int32_t Alpha_Min = 0;
  int32_t Alpha_Max = 0;
  uint16_t HotKeySelRead = 0;
  uint16_t HotKeyAllRead = 0;
  uint16_t HotKeyStop = 0;
  // The reading options, each 0 or 1: put back what the clipboard held before a capture,
  // let the captured text's script choose the language, wait for events rather than fixed
  // times while capturing.
  int32_t KeepClipboard = 0;
  int32_t LanguageByScript = 0;
  int32_t QuickCapture = 0;
  int32_t x = 0;
  int32_t y = 0;
  std::array<LanguageSettings, kLanguageCount> languages{};

  const LanguageSettings& Current() const { return languages[static_cast<size_t>(language)]; }
};

}  // namespace ostrel
