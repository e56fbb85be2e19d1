#pragma once
#include <windows.h>

namespace ostrel::ui {

// Base of the thin control wrappers: a handle it does not own (the dialog owns its controls).
class Control {
 public:
  Control() = default;
  explicit Control(HWND window) : hwnd_(window) {}
  Control(HWND dialog, int id) : hwnd_(GetDlgItem(dialog, id)) {}

  void Attach(HWND window) { hwnd_ = window; }
  void Attach(HWND dialog, int id) { hwnd_ = GetDlgItem(dialog, id); }
  HWND hwnd() const { return hwnd_; }

 protected:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(hwnd_, message, wParam, lParam);
  }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace ostrel::ui
