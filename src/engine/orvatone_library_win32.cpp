#include "engine/orvatone_library_win32.h"

#include <cstdio>
#include <string>

#include "platform/library_loading_win32.h"
#include "platform/log_win32.h"

namespace ostrel {
namespace {

template <typename Fn>
Fn Ordinal(HMODULE module, WORD ordinal) {
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

HWND Hwnd(WindowId window) { return reinterpret_cast<HWND>(window); }

// The program never looks at a result; the log does, because a refusal here is silence there.
void NoteResult(const char* operation, int32_t language, int result) noexcept {
  if (result == 0) return;
  char message[96];
  std::snprintf(message, sizeof message, "engine %s language %d: result %d", operation, static_cast<int>(language),
                result);
  log::Warning(message);
}

}  // namespace


OrvatoneLibrary::OrvatoneLibrary(const std::wstring& fullPath) : OrvatoneLibrary(LoadProgramLibrary(fullPath)) {
  if (!module_) log::Failed("loading " + log::Utf8(fullPath), GetLastError());
}

OrvatoneLibrary::OrvatoneLibrary(HMODULE module) : module_(module) {
  startLanguage_ = Ordinal<StartLanguageFn>(module_.get(), 3);
  speak_ = Ordinal<SpeakFn>(module_.get(), 4);
  stop_ = Ordinal<WindowLanguageFn>(module_.get(), 5);
  pause_ = Ordinal<WindowLanguageFn>(module_.get(), 6);
  resume_ = Ordinal<WindowLanguageFn>(module_.get(), 7);
  setUserDictionary_ = Ordinal<SetUserDictionaryFn>(module_.get(), 9);
  closeLanguage_ = Ordinal<WindowLanguageFn>(module_.get(), 10);
  if (module_ && !(startLanguage_ && speak_ && stop_ && pause_ && resume_ && setUserDictionary_ && closeLanguage_)) {
    log::Error("the engine library lacks some of its operations");
  }
}

EngineReport OrvatoneLibrary::StartLanguage(int32_t language) {
  EngineReport r{};
  if (startLanguage_) {
    NoteResult("StartLanguage", language,
               startLanguage_(language, &r[0], &r[1], &r[2], &r[3], &r[4], &r[5], &r[6], &r[7], &r[8], &r[9],
                              &r[10], &r[11], &r[12], &r[13], &r[14]));
  }
  return r;
}

void OrvatoneLibrary::Speak(WindowId window, int32_t language, const char* text, int32_t pitch, int32_t speed,
                            int32_t volume, int32_t pause, int32_t commapause, int32_t extra) {
  if (speak_) {
    NoteResult("Speak", language, speak_(Hwnd(window), language, text, pitch, speed, volume, pause, commapause, extra));
  }
}

void OrvatoneLibrary::Stop(WindowId window, int32_t language) {
  if (stop_) NoteResult("Stop", language, stop_(Hwnd(window), language));
}

void OrvatoneLibrary::Pause(WindowId window, int32_t language) {
  if (pause_) NoteResult("Pause", language, pause_(Hwnd(window), language));
}

void OrvatoneLibrary::Resume(WindowId window, int32_t language) {
  if (resume_) NoteResult("Resume", language, resume_(Hwnd(window), language));
}

void OrvatoneLibrary::SetUserDictionary(WindowId window, int32_t language, const char* path) {
  if (setUserDictionary_) NoteResult("SetUserDictionary", language, setUserDictionary_(Hwnd(window), language, path));
}

void OrvatoneLibrary::CloseLanguage(WindowId window, int32_t language) {
  if (closeLanguage_) NoteResult("CloseLanguage", language, closeLanguage_(Hwnd(window), language));
}

}  // namespace ostrel
