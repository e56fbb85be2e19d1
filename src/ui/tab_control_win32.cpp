#include "ui/tab_control_win32.h"

#include <commctrl.h>

namespace ostrel::ui {

int TabControl::InsertItem(int index, const wchar_t* text) const {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(text);
  return static_cast<int>(Send(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

int TabControl::GetItemCount() const { return static_cast<int>(Send(TCM_GETITEMCOUNT)); }

std::wstring TabControl::GetItemText(int index) const {
  wchar_t buffer[256] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = static_cast<int>(std::size(buffer));
  if (!Send(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
  // The control may answer with a pointer of its own instead of filling the buffer.
  return item.pszText ? std::wstring(item.pszText) : std::wstring();
}

int TabControl::GetCurSel() const { return static_cast<int>(Send(TCM_GETCURSEL)); }

int TabControl::SetCurSel(int index) const { return static_cast<int>(Send(TCM_SETCURSEL, static_cast<WPARAM>(index))); }

}  // namespace ostrel::ui
