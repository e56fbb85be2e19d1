// What the engine tells the user (no voice for a language, no sound): message boxes shown on the
// thread that started the languages, the program's user-interface thread, whichever thread noticed.
#pragma once

#include <windows.h>

#include <atomic>
#include <string_view>

namespace ostrel::orvatone {

class Notices {
 public:
  Notices() = default;
  Notices(const Notices&) = delete;
  Notices& operator=(const Notices&) = delete;

  // On the user-interface thread, before anything can be told. The library stays loaded from
  // then on: the window's procedure is its code.
  void Prepare() noexcept;

  // Any thread; the box appears when the user-interface thread next reads its messages.
  void TellNoVoice(HWND owner, int engineLanguage) noexcept;
  void TellDeviceFailure(HWND owner, int engineLanguage) noexcept;
  // Names in UTF-8; an empty readingVoice: no voice is left for the language.
  void TellVoiceReplaced(HWND owner, int engineLanguage, std::string_view failedVoice,
                         std::string_view readingVoice) noexcept;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool Post(UINT kind, HWND owner, int engineLanguage, void* detail = nullptr) noexcept;

  std::atomic<HWND> window_{nullptr};
};

}  // namespace ostrel::orvatone
