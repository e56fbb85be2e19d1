#include "ui/combo_box_win32.h"

namespace ostrel::ui {

int ComboBox::AddString(const wchar_t* text) const {
  return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int ComboBox::GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }

void ComboBox::SetCurSel(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }

int ComboBox::GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }

}  // namespace ostrel::ui
