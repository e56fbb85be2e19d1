#include "reading/clipboard_open_win32.h"

#include "platform/log_win32.h"
#include "platform/seams_win32.h"

namespace ostrel {
namespace {

constexpr int kOpenAttempts = 5;
constexpr DWORD kPauseBetweenAttemptsMs = 25;

}  // namespace

bool OpenClipboardWithRetry(HWND owner) {
  for (int attempt = 1;; ++attempt) {
    if (::OpenClipboard(owner)) return true;
    if (attempt == kOpenAttempts) {
      log::Failed("OpenClipboard", GetLastError());
      return false;
    }
    SleepFor(kPauseBetweenAttemptsMs);
  }
}

}  // namespace ostrel
