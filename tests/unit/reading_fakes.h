#pragma once
// Fakes for the reading seams. They write one shared log, so a test can check the order of
// calls across the engine, the toolbar, the platform and the clipboard.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/speech_engine.h"
#include "reading/reading_host.h"
#include "toolbar/button_states.h"
#include "toolbar/reading_buttons.h"

namespace ostrel::testing {

using CallLog = std::vector<std::string>;

inline std::string Hex(std::string_view bytes) {
  std::string hex;
  char digits[3];
  for (const char c : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(static_cast<uint8_t>(c)));
    hex += digits;
  }
  return hex;
}

class FakeEngine : public SpeechEngine {
 public:
  explicit FakeEngine(CallLog& log) : log_(log) {}
  EngineReport StartLanguage(int32_t language) override {
    Add("StartLanguage", language);
    return {};
  }
  void Speak(WindowId window, int32_t language, const char* text, int32_t pitch, int32_t speed, int32_t volume,
             int32_t pause, int32_t commapause, int32_t extra) override {
    lastWindow = window;
    log_.push_back("Speak " + std::to_string(language) + " " + Hex(text) + " " + std::to_string(pitch) + " " +
                   std::to_string(speed) + " " + std::to_string(volume) + " " + std::to_string(pause) + " " +
                   std::to_string(commapause) + " " + std::to_string(extra));
  }
  void Stop(WindowId window, int32_t language) override { Add("Stop", language, window); }
  void Pause(WindowId window, int32_t language) override { Add("Pause", language, window); }
  void Resume(WindowId window, int32_t language) override { Add("Resume", language, window); }
  void SetUserDictionary(WindowId window, int32_t language, const char*) override {
    Add("SetUserDictionary", language, window);
  }
  void CloseLanguage(WindowId window, int32_t language) override { Add("CloseLanguage", language, window); }

  WindowId lastWindow = 0;

 private:
  void Add(const char* name, int32_t language, WindowId window = 0) {
    lastWindow = window;
    log_.push_back(std::string(name) + " " + std::to_string(language));
  }
  CallLog& log_;
};

inline constexpr WindowId kToolbarId = 0x7001;

class FakeHost : public ReadingHost {
 public:
  FakeHost(CallLog& log, ButtonStates& buttons) : log_(log), buttons_(buttons) {}
  WindowId Window() const override { return kToolbarId; }
  void StartTextCapture(ReadKind kind) override {
    log_.push_back("Capture " + std::to_string(Number(kind)));
    if (onCapture) onCapture(Number(kind));
  }
  void EndTextCapture() override {
    ++captureEnds;
    if (onEndCapture) onEndCapture();
  }
  void PostClose() override { log_.push_back("PostClose"); }
  // As the toolbar does.
  void ShowReading(const ReadingShown& reading) override { ShowReadingOnButtons(reading, buttons_); }
  void RedrawToolbar() override {
    log_.push_back("Redraw");
    buttons_.MarkDrawn();
  }
  void RedrawIfChanged() override {
    if (buttons_.Changed()) RedrawToolbar();
  }
  void SleepFor(int milliseconds) override { log_.push_back("SleepFor " + std::to_string(milliseconds)); }
  void OpenSettingsDialog() override { log_.push_back("Settings"); }
  void MinimiseToTray() override { log_.push_back("Tray"); }

  // Runs inside the capture, as a handler would while the capture dispatches messages.
  std::function<void(int)> onCapture;
  std::function<void()> onEndCapture;
  int captureEnds = 0;

 private:
  CallLog& log_;
  ButtonStates& buttons_;
};

}  // namespace ostrel::testing
