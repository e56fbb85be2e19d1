#include "updater/update_host_win32.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "updater/feed_download_win32.h"
#include "platform/log_win32.h"
#include "updater/updater_texts.h"

namespace ostrel::updater {
namespace {

constexpr wchar_t kUpdateKey[] = L"SOFTWARE\\BRANTIC\\Ostrel4\\AppUpdate";
constexpr DWORD kMaxAddressBytes = 16 * 1024;

}  // namespace

std::optional<std::u16string> Win32UpdateHost::FeedAddress() {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kUpdateKey, L"FeedUrl", RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  // Longer than any address the check accepts: kept as a refused one rather than cut to fit.
  if (bytes > kMaxAddressBytes) return u"(FeedUrl too long)";
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kUpdateKey, L"FeedUrl", RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(wcsnlen(text.c_str(), text.size()));
  return FromWide(text.c_str(), text.size());
}

std::optional<AddressPieces> Win32UpdateHost::SplitAddress(std::u16string_view address) {
  return SplitWebAddress(address);
}

FetchResult Win32UpdateHost::Fetch(const WebAddress& address) { return DownloadFeed(address); }

bool Win32UpdateHost::AskYesNo(const std::u16string& text) {
  // Topmost: the toolbar that started the check floats above every ordinary window.
  return ShowMessageBox(nullptr, Wide(text), Wide(texts::kCaption),
                        MB_YESNO | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST) == IDYES;
}

void Win32UpdateHost::Tell(const std::u16string& text, Notice notice) {
  const UINT icon = notice == Notice::kWarning ? MB_ICONWARNING : MB_ICONINFORMATION;
  ShowMessageBox(nullptr, Wide(text), Wide(texts::kCaption), MB_OK | icon | MB_SETFOREGROUND | MB_TOPMOST);
}

bool Win32UpdateHost::OpenPage(const std::u16string& address) {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", Wide(address), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) log::Failed("opening the download page", static_cast<DWORD>(result));
  return result > 32;
}

// One record per check, always with this prefix, so that its outcome is found among the others.
void Win32UpdateHost::Log(const std::string& line) { log::Info("update check: " + line); }

}  // namespace ostrel::updater
