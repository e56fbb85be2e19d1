#pragma once
#include <windows.h>
#include <shellapi.h>

namespace ostrel {

// The toolbar's notification-area icon: added at the start and again whenever the taskbar is
// made anew (Explorer restarted), changed for the balloon, removed at the end.
class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  bool Add(HWND window, UINT id, UINT callbackMessage, HICON icon, const wchar_t* tip);
  // The icon as last added, once more: a new taskbar knows nothing of the old one's icons.
  // True also when the notification area still holds it.
  bool AddAgain();
  bool added() const { return added_; }
  bool ShowBalloon(const wchar_t* title, const wchar_t* text);
  void Remove();

 private:
  NOTIFYICONDATAW data_{};
  bool added_ = false;
};

// While one exists the notification area takes no icon, as at sign-in before Explorer is
// ready (tests only).
class ScopedTrayRefusal {
 public:
  ScopedTrayRefusal();
  ~ScopedTrayRefusal();
  ScopedTrayRefusal(const ScopedTrayRefusal&) = delete;
  ScopedTrayRefusal& operator=(const ScopedTrayRefusal&) = delete;
};

}  // namespace ostrel
