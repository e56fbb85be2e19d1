#pragma once
#include <windows.h>
#include <shellapi.h>

namespace ostrel {

// The toolbar's notification-area icon: added once, changed for the balloon, removed at the end.
class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  bool Add(HWND window, UINT id, UINT callbackMessage, HICON icon, const wchar_t* tip);
  bool ShowBalloon(const wchar_t* title, const wchar_t* text);
  void Remove();

 private:
  NOTIFYICONDATAW data_{};
  bool added_ = false;
};

}  // namespace ostrel
