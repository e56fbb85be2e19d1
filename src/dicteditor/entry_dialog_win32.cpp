#include "dicteditor/entry_dialog_win32.h"

#include <utility>

#include "../../resources/dictionary_editor_ids.h"
#include "platform/wide_win32.h"
#include "ui/window_text_win32.h"

namespace ostrel::dicteditor {

CEntryDlg::CEntryDlg(std::u16string title, DictionaryEntry initial, Accept accept)
    : DialogImpl(IDD_DICTIONARY_ENTRY), title_(std::move(title)), initial_(std::move(initial)), accept_(std::move(accept)) {}

BOOL CEntryDlg::OnInitDialog() {
  SetWindowTextW(hwnd(), Wide(title_));
  ui::SetItemText(hwnd(), IDC_ENTRY_WRITTEN, Wide(initial_.written));
  ui::SetItemText(hwnd(), IDC_ENTRY_READING, Wide(initial_.reading));
  // An entry being changed is mostly changed in its reading.
  const int first = initial_.written.empty() ? IDC_ENTRY_WRITTEN : IDC_ENTRY_READING;
  SetFocus(Item(first));
  SendMessageW(Item(first), EM_SETSEL, 0, -1);
  return FALSE;
}

void CEntryDlg::OnOkButton() {
  const std::wstring written = ui::GetItemText(hwnd(), IDC_ENTRY_WRITTEN);
  const std::wstring reading = ui::GetItemText(hwnd(), IDC_ENTRY_READING);
  const DictionaryEntry typed{FromWide(written.c_str(), written.size()), FromWide(reading.c_str(), reading.size())};
  if (!accept_ || accept_(hwnd(), typed)) EndDialog(IDOK);
}

}  // namespace ostrel::dicteditor
