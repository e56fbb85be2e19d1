#pragma once
#include <windows.h>

#include <string>

#include "platform/unique_handle_win32.h"
#include "settings/app_settings.h"

namespace ostrel::dicteditor {

// The speech engine of the installation, for hearing a reading: loaded from its own folder by
// full path, the language started on first use and closed with the object.
class SpeechPreview {
 public:
  SpeechPreview(const std::u16string& engineFolder, LanguageIndex language);
  ~SpeechPreview();
  SpeechPreview(const SpeechPreview&) = delete;
  SpeechPreview& operator=(const SpeechPreview&) = delete;

  bool Loaded() const { return speak_ != nullptr; }
  // Speaks the text with the voice values the user set for the language; the engine posts its
  // end to `window`.
  void Speak(HWND window, const std::u16string& text);

 private:
  using StartLanguageFn = int(WINAPI*)(int, int*, int*, int*, int*, int*, int*, int*, int*, int*, int*, int*,
                                       int*, int*, int*, int*);
  using SpeakFn = int(WINAPI*)(HWND, int, const char*, int, int, int, int, int, int);
  using WindowLanguageFn = int(WINAPI*)(HWND, int);

  UniqueModule module_;
  LanguageIndex language_;
  StartLanguageFn startLanguage_ = nullptr;
  SpeakFn speak_ = nullptr;
  WindowLanguageFn stop_ = nullptr;
  WindowLanguageFn closeLanguage_ = nullptr;
  HWND lastWindow_ = nullptr;
  bool started_ = false;
};

}  // namespace ostrel::dicteditor
