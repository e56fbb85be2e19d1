#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "dicteditor/dictionary_document.h"
#include "ui/dialog_impl_win32.h"

namespace ostrel::dicteditor {

// Asks for one entry's written form and reading. OK hands the typed entry to `accept`, which
// may refuse it (after telling the user why): the dialog then stays with what was typed.
class CEntryDlg : public ui::DialogImpl<CEntryDlg> {
 public:
  using Accept = std::function<bool(HWND dialog, const DictionaryEntry& typed)>;
  CEntryDlg(std::u16string title, DictionaryEntry initial, Accept accept);

 private:
  BOOL OnInitDialog() override;
  void OnOkButton();

  std::u16string title_;
  DictionaryEntry initial_;
  Accept accept_;

 public:
  static constexpr ui::Handlers<CEntryDlg> kHandlers{
      ui::OnCommand(IDOK, BN_CLICKED, &CEntryDlg::OnOkButton),
  };
};

}  // namespace ostrel::dicteditor
