#pragma once
#include <windows.h>

#include <string>

#include "ui/control_win32.h"

namespace ostrel::ui {

class TabControl : public Control {
 public:
  using Control::Control;

  // A text-only tab; the index it got, or -1.
  int InsertItem(int index, const wchar_t* text) const;
  int GetItemCount() const;
  std::wstring GetItemText(int index) const;
  // -1 when no tab is selected.
  int GetCurSel() const;
  // Sends no selection-change notification; returns the previous selection or -1.
  int SetCurSel(int index) const;
};

}  // namespace ostrel::ui
