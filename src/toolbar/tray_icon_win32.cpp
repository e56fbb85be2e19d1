#include "toolbar/tray_icon_win32.h"

#include <cwchar>

#include "platform/log_win32.h"

namespace ostrel {
namespace {

int& Refusals() {
  static int refusals = 0;
  return refusals;
}

bool Notify(DWORD message, NOTIFYICONDATAW& data) {
  return Refusals() == 0 && Shell_NotifyIconW(message, &data) != FALSE;
}

}  // namespace

bool TrayIcon::Add(HWND window, UINT id, UINT callbackMessage, HICON icon, const wchar_t* tip) {
  data_ = {};
  data_.cbSize = sizeof data_;
  data_.hWnd = window;
  data_.uID = id;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  data_.hIcon = icon;
  wcsncpy(data_.szTip, tip, _countof(data_.szTip) - 1);
  added_ = Notify(NIM_ADD, data_);
  if (!added_) log::Failed("adding the notification-area icon", GetLastError());
  return added_;
}

bool TrayIcon::AddAgain() {
  if (!data_.hWnd) return false;
  // An add is refused for an icon the area already holds (an add that timed out but went
  // through, a "TaskbarCreated" without a new taskbar); the change finds it.
  added_ = Notify(NIM_ADD, data_) || Notify(NIM_MODIFY, data_);
  if (!added_) log::Failed("adding the notification-area icon again", GetLastError());
  return added_;
}

bool TrayIcon::ShowBalloon(const wchar_t* title, const wchar_t* text) {
  NOTIFYICONDATAW info{};
  info.cbSize = sizeof info;
  info.hWnd = data_.hWnd;
  info.uID = data_.uID;
  info.uFlags = NIF_INFO;
  wcsncpy(info.szInfoTitle, title, _countof(info.szInfoTitle) - 1);
  wcsncpy(info.szInfo, text, _countof(info.szInfo) - 1);
  info.dwInfoFlags = NIIF_INFO;
  if (Notify(NIM_MODIFY, info)) return true;
  log::Failed("showing the notification-area balloon", GetLastError());
  return false;
}

void TrayIcon::Remove() {
  if (!data_.hWnd) return;
  NOTIFYICONDATAW remove{};
  remove.cbSize = sizeof remove;
  remove.hWnd = data_.hWnd;
  remove.uID = data_.uID;
  // An icon Explorer lost with its restart is gone already; that is no failure worth a record.
  if (!Notify(NIM_DELETE, remove) && added_) {
    log::Failed("removing the notification-area icon", GetLastError());
  }
  data_ = {};
  added_ = false;
}

ScopedTrayRefusal::ScopedTrayRefusal() { ++Refusals(); }
ScopedTrayRefusal::~ScopedTrayRefusal() { --Refusals(); }

}  // namespace ostrel
