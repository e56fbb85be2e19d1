#include "engine_host_win32.h"

#include <windows.h>

#include <string>

#include "environment_win32.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace ostrel::orvatone {

namespace {

HMODULE ThisModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

}  // namespace

void Win32EngineHost::PostSpoken(void* window) noexcept {
  // A null window would post to the worker's own thread queue, where nobody reads.
  if (window != nullptr) PostMessageW(static_cast<HWND>(window), kEngineDoneMessage, 0, static_cast<LPARAM>(-1));
}

std::optional<std::chrono::milliseconds> Win32EngineHost::FixedSpeechLength() noexcept {
  try {
    const std::wstring text = EnvironmentValue(L"ORVATONE_SPEAK_MS");
    // Plain decimal of at most nine digits; anything else leaves the length to the text.
    if (text.empty() || text.size() > 9) return std::nullopt;
    long long ms = 0;
    for (const wchar_t c : text) {
      if (c < L'0' || c > L'9') return std::nullopt;
      ms = ms * 10 + (c - L'0');
    }
    return std::chrono::milliseconds(ms);
  } catch (...) {
    return std::nullopt;
  }
}

// A worker runs this module's code until CloseLanguage joins it; the reference keeps a
// FreeLibrary without CloseLanguage from unmapping that code under it.
void Win32EngineHost::OnWorkerStarted() noexcept {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(ThisModule()), &module);
}

// The caller of CloseLanguage holds its own reference, so this one never unloads the module.
void Win32EngineHost::OnWorkerEnded() noexcept { FreeLibrary(ThisModule()); }

}  // namespace ostrel::orvatone
