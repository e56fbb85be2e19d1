#include "notices_win32.h"

#include <array>
#include <cstdio>
#include <string>

#include "engine_log_win32.h"
#include "log_seam.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace ostrel::orvatone {

namespace {

constexpr UINT kNoVoiceNotice = WM_APP + 1;
constexpr UINT kDeviceFailureNotice = WM_APP + 2;
constexpr const wchar_t* kWindowClass = L"OrvatoneNotices";

constexpr std::array<const wchar_t*, 4> kLanguageNames = {L"日本語", L"中国語", L"英語", L"韓国語"};

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// The caption of every box the product adds, whichever program the engine speaks for.
constexpr const wchar_t* kCaption = L"Ostrel Quartet";

std::wstring NoVoiceText(int engineLanguage) {
  const std::wstring language = kLanguageNames[static_cast<std::size_t>(engineLanguage - 1)];
  return language + L"の音声がインストールされていないため、読み上げできません。\n\n" +
         L"Windows の［設定］→［時刻と言語］→［言語と地域］（Windows 10 では［言語］）で" + language +
         L"を追加し、［テキスト読み上げ］を選んでインストールしてください。" + language +
         L"がすでに一覧にあるときは、その言語のオプションで音声をダウンロードします。"
         L"インストール後にツールバーを起動し直すと読み上げます。";
}

constexpr const wchar_t* kDeviceFailureText =
    L"音声を再生できませんでした。\n\n"
    L"スピーカーやヘッドホンが接続されていること、Windows の［設定］→［システム］→［サウンド］で"
    L"出力デバイスが選ばれていることを確認してください。";

// Built without the heap: a notice may be about to tell of memory running out.
void LogNotice(const char* what, int engineLanguage) noexcept {
  char message[96];
  std::snprintf(message, sizeof message, "notice: %s %d", what, engineLanguage);
  Log(LogLevel::kError, message);
}

}  // namespace

void Notices::Prepare() noexcept {
  if (window_.load() != nullptr) return;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &Notices::WindowProc;
  windowClass.hInstance = ThisModule();
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);  // fails harmlessly when already registered
  HMODULE pinned = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(ThisModule()), &pinned);
  window_.store(CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr));
  // Without the window no notice can reach the user: the log is then the only place that tells.
  if (window_.load() == nullptr) LogFailure("creating the notices' window", GetLastError());
}

void Notices::TellNoVoice(HWND owner, int engineLanguage) noexcept {
  LogNotice("no voice for language", engineLanguage);
  Post(kNoVoiceNotice, owner, engineLanguage);
}

void Notices::TellDeviceFailure(HWND owner, int engineLanguage) noexcept {
  LogNotice("the sound could not be played, language", engineLanguage);
  Post(kDeviceFailureNotice, owner, engineLanguage);
}

void Notices::Post(UINT kind, HWND owner, int engineLanguage) noexcept {
  const HWND window = window_.load();
  if (window == nullptr || engineLanguage < 1 || engineLanguage > 4) return;
  if (!PostMessageW(window, kind, static_cast<WPARAM>(engineLanguage), reinterpret_cast<LPARAM>(owner))) {
    LogFailure("posting a notice", GetLastError());
  }
}

LRESULT CALLBACK Notices::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kNoVoiceNotice && message != kDeviceFailureNotice) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    HWND owner = reinterpret_cast<HWND>(lParam);
    if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
    const std::wstring text =
        message == kNoVoiceNotice ? NoVoiceText(static_cast<int>(wParam)) : std::wstring(kDeviceFailureText);
    MessageBoxW(owner, text.c_str(), kCaption, MB_OK);
  } catch (...) {
    LogCaught("showing a notice");
  }
  return 0;
}

}  // namespace ostrel::orvatone
