#pragma once
#include <windows.h>

#include "ui/control_win32.h"

namespace ostrel::ui {

class ComboBox : public Control {
 public:
  using Control::Control;

  // The index of the new entry, or CB_ERR / CB_ERRSPACE.
  int AddString(const wchar_t* text) const;
  int GetCount() const;
  // -1 clears the selection.
  void SetCurSel(int index) const;
  // CB_ERR (-1) when nothing is selected.
  int GetCurSel() const;
};

}  // namespace ostrel::ui
