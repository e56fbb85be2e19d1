#pragma once
#include <windows.h>

#include <string>

#include "engine/orvatone_library_win32.h"
#include "settings/app_settings.h"
#include "settings/settings_model.h"

namespace ostrel::dicteditor {

// The speech engine of the installation, for hearing a reading: loaded from its own folder by
// full path, the language started on first use and closed with the object.
class SpeechPreview {
 public:
  SpeechPreview(const std::u16string& engineFolder, LanguageIndex language);
  ~SpeechPreview();
  SpeechPreview(const SpeechPreview&) = delete;
  SpeechPreview& operator=(const SpeechPreview&) = delete;

  bool Loaded() const { return engine_.Loaded(); }
  // Speaks the text with the voice values the user set for the language; the engine posts its
  // end to `window`.
  void Speak(HWND window, const std::u16string& text);

 private:
  OrvatoneLibrary engine_;
  LanguageIndex language_;
  HWND lastWindow_ = nullptr;
  bool started_ = false;
  EngineReport report_{};
};

}  // namespace ostrel::dicteditor
