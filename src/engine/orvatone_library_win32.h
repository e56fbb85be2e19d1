#pragma once
#include <windows.h>

#include <string>

#include "engine/speech_engine.h"
#include "platform/unique_handle_win32.h"

namespace ostrel {

// Orvatone.dll, imported by ordinal only. A missing library or operation makes
// that operation do nothing (and StartLanguage report zeros), so the program still runs.
class OrvatoneLibrary final : public SpeechEngine {
 public:
  // The library at a full path, never by its bare name: a file of that name in the current
  // folder or on PATH must not be taken for it.
  explicit OrvatoneLibrary(const std::wstring& fullPath);
  bool Loaded() const { return static_cast<bool>(module_); }

  EngineReport StartLanguage(int32_t language) override;
  void Speak(WindowId window, int32_t language, const char* text, int32_t pitch, int32_t speed, int32_t volume,
             int32_t pause, int32_t commapause, int32_t extra) override;
  void Stop(WindowId window, int32_t language) override;
  void Pause(WindowId window, int32_t language) override;
  void Resume(WindowId window, int32_t language) override;
  void SetUserDictionary(WindowId window, int32_t language, const char* path) override;
  void CloseLanguage(WindowId window, int32_t language) override;

 private:
  explicit OrvatoneLibrary(HMODULE module);

  using StartLanguageFn = int(WINAPI*)(int, int*, int*, int*, int*, int*, int*, int*, int*, int*, int*, int*,
                                       int*, int*, int*, int*);
  using SpeakFn = int(WINAPI*)(HWND, int, const char*, int, int, int, int, int, int);
  using WindowLanguageFn = int(WINAPI*)(HWND, int);
  using SetUserDictionaryFn = int(WINAPI*)(HWND, int, const char*);

  UniqueModule module_;
  StartLanguageFn startLanguage_ = nullptr;
  SpeakFn speak_ = nullptr;
  WindowLanguageFn stop_ = nullptr;
  WindowLanguageFn pause_ = nullptr;
  WindowLanguageFn resume_ = nullptr;
  SetUserDictionaryFn setUserDictionary_ = nullptr;
  WindowLanguageFn closeLanguage_ = nullptr;
};

}  // namespace ostrel
