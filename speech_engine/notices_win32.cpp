#include "notices_win32.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "encoding/utf8.h"

#include "engine_log_win32.h"
#include "log_seam.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace ostrel::orvatone {

namespace {

constexpr UINT kNoVoiceNotice = WM_APP + 1;
constexpr UINT kDeviceFailureNotice = WM_APP + 2;
constexpr UINT kVoiceReplacedNotice = WM_APP + 3;
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

// What a replacement notice carries from the player's thread to the user-interface thread.
struct VoiceReplaced {
  HWND owner = nullptr;
  std::wstring failedVoice;
  std::wstring readingVoice;
};

std::wstring Wide(std::string_view utf8) {
  const std::u16string text = DecodeUtf8Lenient(utf8);
  return std::wstring(text.begin(), text.end());
}

std::wstring VoiceReplacedText(int engineLanguage, const VoiceReplaced& replaced) {
  const std::wstring language = kLanguageNames[static_cast<std::size_t>(engineLanguage - 1)];
  std::wstring text = language + L"の音声「" + replaced.failedVoice + L"」で読み上げられなくなりました。\n\n";
  if (replaced.readingVoice.empty()) {
    return text + L"ほかに" + language + L"を読み上げられる音声がありません。ツールバーを起動し直すと、もう一度試します。";
  }
  return text + L"ここからは「" + replaced.readingVoice + L"」で読み上げます。ツールバーを起動し直すと、もとの音声をもう一度試します。";
}

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

void Notices::TellVoiceReplaced(HWND owner, int engineLanguage, std::string_view failedVoice,
                                std::string_view readingVoice) noexcept {
  LogNotice("a voice failed and was replaced, language", engineLanguage);
  try {
    auto detail = std::make_unique<VoiceReplaced>(VoiceReplaced{owner, Wide(failedVoice), Wide(readingVoice)});
    // Posted, it belongs to the window's procedure.
    if (Post(kVoiceReplacedNotice, owner, engineLanguage, detail.get())) detail.release();
  } catch (...) {
    LogCaught("telling of a replaced voice");
  }
}

bool Notices::Post(UINT kind, HWND owner, int engineLanguage, void* detail) noexcept {
  const HWND window = window_.load();
  if (window == nullptr || engineLanguage < 1 || engineLanguage > 4) return false;
  const LPARAM parameter = detail != nullptr ? reinterpret_cast<LPARAM>(detail) : reinterpret_cast<LPARAM>(owner);
  if (!PostMessageW(window, kind, static_cast<WPARAM>(engineLanguage), parameter)) {
    LogFailure("posting a notice", GetLastError());
    return false;
  }
  return true;
}

LRESULT CALLBACK Notices::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kNoVoiceNotice && message != kDeviceFailureNotice && message != kVoiceReplacedNotice) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    std::unique_ptr<VoiceReplaced> replaced;
    if (message == kVoiceReplacedNotice) replaced.reset(reinterpret_cast<VoiceReplaced*>(lParam));
    HWND owner = replaced ? replaced->owner : reinterpret_cast<HWND>(lParam);
    if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
    const int language = static_cast<int>(wParam);
    const std::wstring text = message == kNoVoiceNotice ? NoVoiceText(language)
                              : replaced                ? VoiceReplacedText(language, *replaced)
                                                        : std::wstring(kDeviceFailureText);
    MessageBoxW(owner, text.c_str(), kCaption, MB_OK);
  } catch (...) {
    LogCaught("showing a notice");
  }
  return 0;
}

}  // namespace ostrel::orvatone
