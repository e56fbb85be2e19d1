// The engine's behaviour without the platform: four languages, each with a worker thread that
// "speaks" a text for a simulated time, honours pause, resume and stop, and reports the end of a
// text through the host. Every operation is journalled under the one lock that also guards the
// speech states, so the journal shows the order in which things really happened.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "engine_host.h"

namespace ostrel::orvatone {

inline constexpr int kEngineOk = 0;
inline constexpr int kEngineUnknownLanguage = 1;
inline constexpr int kEngineLanguageNotStarted = 2;
inline constexpr int kEngineFailed = 3;

inline constexpr int kLanguageCount = 4;
inline constexpr std::size_t kRangeReportSize = 15;

// What every voice reports: volume (maximum, minimum, default), then speed, pitch, pause,
// commapause (minimum, maximum, default).
inline constexpr std::array<int, kRangeReportSize> kRangeReport = {
    500, 0, 100,  50, 250, 100,  50, 200, 100,  0, 65535, 800,  0, 65535, 300};

struct VoiceValues {
  int pitch = 0;
  int speed = 0;
  int volume = 0;
  int pause = 0;
  int commapause = 0;
  int extra = 0;
};

// How long a text takes at a speed (100 = normal): 60 ms per byte, never under 200 ms.
std::chrono::milliseconds SpeechLength(std::size_t textBytes, int speed);

class SimulatedEngine {
 public:
  explicit SimulatedEngine(EngineHost& host);
  ~SimulatedEngine();
  SimulatedEngine(const SimulatedEngine&) = delete;
  SimulatedEngine& operator=(const SimulatedEngine&) = delete;

  // Each entry of the report may be null; the ones given are filled in this order: volume
  // (maximum, minimum, default), speed, pitch, pause, commapause (minimum, maximum, default).
  int StartLanguage(int language, const std::array<int*, kRangeReportSize>& report);
  int Speak(void* window, int language, std::string_view text, const VoiceValues& voice);
  int Stop(int language);
  int Pause(int language);
  int Resume(int language);
  int SetUserDictionary(int language, std::string_view path);
  int CloseLanguage(int language);

 private:
  using Clock = std::chrono::steady_clock;
  enum class SpeechState { kIdle, kSpeaking, kPaused };

  struct Voice {
    SpeechState state = SpeechState::kIdle;
    void* window = nullptr;
    std::string text;
    Clock::duration remaining{};
    Clock::time_point runningSince{};
    bool closing = false;
    std::condition_variable wake;
    std::thread worker;
  };

  static bool IsLanguage(int language) { return language >= 1 && language <= kLanguageCount; }
  Voice* StartedVoice(int language);
  int Control(std::string_view operation, int language, void (*change)(Voice&));
  void RunVoice(int language, Voice& voice) noexcept;

  EngineHost& host_;
  std::mutex mutex_;
  std::array<std::unique_ptr<Voice>, kLanguageCount> voices_;
  std::array<std::string, kLanguageCount> dictionaries_;
};

}  // namespace ostrel::orvatone
