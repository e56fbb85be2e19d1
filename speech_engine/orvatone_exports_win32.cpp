// The library's face: seven plain C functions, exported by ordinal only (Orvatone.def). Each one
// hands its plain arguments to the engine and turns any failure into a result value.
#include <windows.h>

#include <string>
#include <string_view>

#include "engine_host_win32.h"
#include "engine_log_win32.h"
#include "log_seam.h"
#include "orvatone_engine.h"

namespace {

using ostrel::orvatone::kEngineFailed;
using ostrel::orvatone::OrvatoneEngine;

OrvatoneEngine& Engine() {
  // Never destroyed: at process exit the workers are already killed, and tearing the engine down
  // would try to join them.
  static const bool logging = (ostrel::orvatone::StartEngineLog(), true);
  static_cast<void>(logging);
  static auto* const host = new ostrel::orvatone::Win32EngineHost;
  static auto* const engine = new OrvatoneEngine(*host);
  return *engine;
}

std::string_view TextOf(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

std::string OperationName(const char* operation, int language) {
  return std::string(operation) + " language " + std::to_string(language);
}

template <class Call>
int Guarded(const char* operation, int language, Call call) noexcept {
  try {
    return call(Engine());
  } catch (...) {
    try {
      ostrel::LogCaught(OperationName(operation, language));
    } catch (...) {
      ostrel::LogCaught(operation);
    }
    return kEngineFailed;
  }
}

}  // namespace

extern "C" {

int WINAPI StartLanguage(int language, int* r1, int* r2, int* r3, int* r4, int* r5, int* r6, int* r7,
                         int* r8, int* r9, int* r10, int* r11, int* r12, int* r13, int* r14,
                         int* r15) noexcept {
  return Guarded("StartLanguage", language, [&](OrvatoneEngine& engine) {
    return engine.StartLanguage(language, {r1, r2, r3, r4, r5, r6, r7, r8, r9, r10, r11, r12, r13, r14, r15});
  });
}

int WINAPI Speak(HWND window, int language, const char* text, int pitch, int speed, int volume, int pause,
                 int commapause, int extra) noexcept {
  return Guarded("Speak", language, [&](OrvatoneEngine& engine) {
    return engine.Speak(window, language, TextOf(text), {pitch, speed, volume, pause, commapause, extra});
  });
}

int WINAPI Stop(HWND, int language) noexcept {
  return Guarded("Stop", language, [&](OrvatoneEngine& engine) { return engine.Stop(language); });
}

int WINAPI Pause(HWND, int language) noexcept {
  return Guarded("Pause", language, [&](OrvatoneEngine& engine) { return engine.Pause(language); });
}

int WINAPI Resume(HWND, int language) noexcept {
  return Guarded("Resume", language, [&](OrvatoneEngine& engine) { return engine.Resume(language); });
}

int WINAPI SetUserDictionary(HWND, int language, const char* path) noexcept {
  return Guarded("SetUserDictionary", language,
                 [&](OrvatoneEngine& engine) { return engine.SetUserDictionary(language, TextOf(path)); });
}

int WINAPI CloseLanguage(HWND, int language) noexcept {
  return Guarded("CloseLanguage", language,
                 [&](OrvatoneEngine& engine) { return engine.CloseLanguage(language); });
}

}  // extern "C"
