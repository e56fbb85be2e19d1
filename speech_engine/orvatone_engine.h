// The seven operations behind the library's exports. A language started while
// ORVATONE_SPEAK_MS is set is the silent simulated one (fast tests); any other speaks through
// the best installed voice: text → Unicode → user dictionary → (Korean) parenthesis rule →
// utterances → synthesiser → player.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "engine_host.h"
#include "simulated_engine.h"

namespace ostrel::orvatone {

class SpeechPlayer;

class OrvatoneEngine {
 public:
  explicit OrvatoneEngine(EngineHost& host);
  ~OrvatoneEngine();
  OrvatoneEngine(const OrvatoneEngine&) = delete;
  OrvatoneEngine& operator=(const OrvatoneEngine&) = delete;

  int StartLanguage(int language, const std::array<int*, kRangeReportSize>& report);
  int Speak(void* window, int language, std::string_view text, const VoiceValues& voice);
  int Stop(int language);
  int Pause(int language);
  int Resume(int language);
  int SetUserDictionary(int language, std::string_view path);
  int CloseLanguage(int language);

 private:
  struct Spoken;
  static bool IsLanguage(int language) { return language >= 1 && language <= kLanguageCount; }
  Spoken* RealLanguage(int language);
  void LoadDictionary(int language, Spoken& spoken);
  int Control(std::string_view operation, int language, int (SimulatedEngine::*simulated)(int),
              void (SpeechPlayer::*play)());

  EngineHost& host_;
  SimulatedEngine simulated_;
  std::mutex mutex_;
  std::array<std::unique_ptr<Spoken>, kLanguageCount> spoken_;
  std::array<std::string, kLanguageCount> dictionaryPaths_;
};

}  // namespace ostrel::orvatone
