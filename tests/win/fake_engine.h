#pragma once
#include <string>
#include <vector>

#include "engine/speech_engine.h"

namespace ostrel::testing {

// Records every engine call as text, e.g. "Speak 1 <text>" or "Stop 3".
class FakeEngine final : public SpeechEngine {
 public:
  EngineReport StartLanguage(int32_t language) override {
    Log("StartLanguage", language);
    return {500, 0, 100, 50, 250, 100, 50, 200, 100, 0, 65535, 800, 0, 65535, 300};
  }
  void Speak(WindowId window, int32_t language, const char* text, int32_t pitch, int32_t speed, int32_t volume,
             int32_t pause, int32_t commapause, int32_t extra) override {
    lastWindow = window;
    calls.push_back("Speak " + std::to_string(language) + " " + std::to_string(pitch) + " " +
                    std::to_string(speed) + " " + std::to_string(volume) + " " + std::to_string(pause) + " " +
                    std::to_string(commapause) + " " + std::to_string(extra) + " " + (text ? text : ""));
  }
  void Stop(WindowId window, int32_t language) override { Log("Stop", language, window); }
  void Pause(WindowId window, int32_t language) override { Log("Pause", language, window); }
  void Resume(WindowId window, int32_t language) override { Log("Resume", language, window); }
  void SetUserDictionary(WindowId window, int32_t language, const char* path) override {
    lastWindow = window;
    calls.push_back("SetUserDictionary " + std::to_string(language) + " " + (path ? path : ""));
  }
  void CloseLanguage(WindowId window, int32_t language) override { Log("CloseLanguage", language, window); }

  // The calls whose text starts with the given operation name.
  std::vector<std::string> Calls(const std::string& operation) const {
    std::vector<std::string> found;
    for (const auto& call : calls) {
      if (call.rfind(operation + " ", 0) == 0) found.push_back(call);
    }
    return found;
  }

  std::vector<std::string> calls;
  WindowId lastWindow = 0;

 private:
  void Log(const char* operation, int32_t language, WindowId window = 0) {
    if (window) lastWindow = window;
    calls.push_back(std::string(operation) + " " + std::to_string(language));
  }
};

}  // namespace ostrel::testing
