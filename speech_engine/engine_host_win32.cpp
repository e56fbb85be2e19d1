#include "engine_host_win32.h"

#include <windows.h>

#include <string>

#include "encoding/code_page_win32.h"
#include "encoding/language_code_pages.h"
#include "engine_log_win32.h"
#include "environment_win32.h"
#include "log_seam.h"
#include "platform/unique_handle_win32.h"
#include "sapi_synthesiser_win32.h"
#include "voices_win32.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace ostrel::orvatone {

namespace {

HMODULE ThisModule() { return reinterpret_cast<HMODULE>(&__ImageBase); }

// Far beyond any dictionary a person writes; a larger file is not a dictionary.
constexpr LONGLONG kLargestDictionary = 64LL * 1024 * 1024;

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
    LogCaught("reading ORVATONE_SPEAK_MS");
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

// The multithreaded apartment: the player's thread has no window and pumps no messages.
bool Win32EngineHost::OnPlayerThreadStarted() noexcept {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (FAILED(result)) LogFailedHresult("CoInitializeEx on the player's thread", result);
  return SUCCEEDED(result);
}

// The thread's COM objects go before its apartment does.
void Win32EngineHost::OnPlayerThreadEnding(bool started) noexcept {
  ReleaseSapiThreadVoice();
  if (started) CoUninitialize();
}

}  // namespace ostrel::orvatone

namespace ostrel::orvatone {

std::u16string Win32EngineHost::DecodeText(int language, std::string_view bytes) noexcept {
  try {
    if (language < 1 || language > static_cast<int>(kLanguageCodePages.size())) return {};
    return FromCodePage(bytes, LanguageCodePage(language - 1));
  } catch (...) {
    LogCaught("decoding a text");
    return {};
  }
}

std::optional<std::string> Win32EngineHost::ReadDictionaryFile(std::string_view path) noexcept {
  try {
    // Bytes the code page does not define name no file; decoded leniently they could name
    // another one.
    const std::optional<std::u16string> decoded = FromCodePageExactly(path, kEnginePathCodePage);
    if (!decoded || decoded->empty()) return std::nullopt;
    const std::wstring widePath(decoded->begin(), decoded->end());
    const UniqueFile file(CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      LogFailure("opening the user dictionary", GetLastError());
      return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestDictionary) return std::nullopt;
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!content.empty() && !ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) {
      return std::nullopt;
    }
    content.resize(read);
    return content;
  } catch (...) {
    LogCaught("reading the user dictionary");
    return std::nullopt;
  }
}

std::optional<LanguageVoice> Win32EngineHost::OpenVoice(int language) noexcept {
  // StartLanguage runs on the program's user-interface thread, where the boxes must appear.
  notices_.Prepare();
  return OpenBestVoice(language);
}

void Win32EngineHost::TellNoVoice(void* window, int language) noexcept {
  notices_.TellNoVoice(static_cast<HWND>(window), language);
}

void Win32EngineHost::TellDeviceFailure(void* window, int language) noexcept {
  notices_.TellDeviceFailure(static_cast<HWND>(window), language);
}

void Win32EngineHost::TellVoiceReplaced(void* window, int language, std::string_view failedVoice,
                                        std::string_view readingVoice) noexcept {
  notices_.TellVoiceReplaced(static_cast<HWND>(window), language, failedVoice, readingVoice);
}

}  // namespace ostrel::orvatone
