#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../../resources/dictionary_editor_ids.h"
#include "dicteditor/dictionary_document.h"
#include "dicteditor/entry_rows.h"
#include "dicteditor/speech_preview_win32.h"
#include "settings/app_settings.h"
#include "ui/dialog_impl_win32.h"

namespace ostrel::dicteditor {

struct EditorOptions {
  LanguageIndex language = kJapanese;
  std::u16string path;           // the dictionary; empty for a new one
  std::u16string engineFolder;   // holds Orvatone.dll, with a trailing backslash
  std::u16string appDataFolder;  // where a dictionary goes that cannot be written where it is
  // Where to save a new dictionary, and which file to import; nothing when the user cancels.
  std::function<std::optional<std::u16string>(HWND owner)> askSavePath;
  std::function<std::optional<std::u16string>(HWND owner)> askImportPath;
};

// The editor's window: the entries of one dictionary file in a list, edited in place and saved
// so that nothing else in the file changes.
class CDictionaryEditorDlg : public ui::DialogImpl<CDictionaryEditorDlg> {
 public:
  explicit CDictionaryEditorDlg(EditorOptions options);
  ~CDictionaryEditorDlg() override;

  const std::u16string& Path() const { return path_; }
  const DictionaryDocument& Document() const { return document_; }
  // Saves to Path() (asking for one when there is none); false when it did not happen.
  bool Save();


 private:
  BOOL OnInitDialog() override;
  bool PreTranslateMessage(MSG& message) override;
  void OnOK() override;
  void OnCancel() override;

  void OnAdd();
  void OnEdit();
  void OnDelete();
  void OnSpeak();
  void OnImport();
  void OnSaveButton();
  void OnSearchChanged();
  LRESULT OnColumnClick(NMHDR* header);
  LRESULT OnListKey(NMHDR* header);
  void OnSelectionChanged();

  void Load();
  // Shows the entry dialog until the user gives an entry the document takes, or cancels.
  void EditEntry(std::optional<EntryId> editing);
  bool AcceptEntry(HWND dialog, const DictionaryEntry& typed, std::optional<EntryId> editing,
                   std::optional<EntryId>& result);
  bool SaveTo(const std::u16string& target, DWORD& error);
  bool OfferMend(DWORD error);
  void Refill(std::optional<EntryId> select = std::nullopt);
  std::vector<EntryId> SelectedEntries() const;
  void UpdateTitle();
  void UpdateStatus();
  void UpdateButtons();
  int Message(const std::u16string& text, UINT style) const;

  EditorOptions options_;
  std::u16string path_;
  DictionaryDocument document_;
  RowOrder order_;
  std::vector<EntryId> rows_;
  std::unique_ptr<SpeechPreview> preview_;

 public:
  static constexpr ui::Handlers<CDictionaryEditorDlg> kHandlers{
      ui::OnCommand(IDC_DIC_ADD, BN_CLICKED, &CDictionaryEditorDlg::OnAdd),
      ui::OnCommand(IDC_DIC_EDIT, BN_CLICKED, &CDictionaryEditorDlg::OnEdit),
      ui::OnCommand(IDC_DIC_DELETE, BN_CLICKED, &CDictionaryEditorDlg::OnDelete),
      ui::OnCommand(IDC_DIC_SPEAK, BN_CLICKED, &CDictionaryEditorDlg::OnSpeak),
      ui::OnCommand(IDC_DIC_IMPORT, BN_CLICKED, &CDictionaryEditorDlg::OnImport),
      ui::OnCommand(IDC_DIC_SAVE, BN_CLICKED, &CDictionaryEditorDlg::OnSaveButton),
      ui::OnCommand(IDC_DIC_SEARCH, EN_CHANGE, &CDictionaryEditorDlg::OnSearchChanged),
      ui::OnNotify(IDC_DIC_LIST, LVN_COLUMNCLICK, &CDictionaryEditorDlg::OnColumnClick),
      ui::OnNotify(IDC_DIC_LIST, LVN_KEYDOWN, &CDictionaryEditorDlg::OnListKey),
      ui::OnNotify(IDC_DIC_LIST, LVN_ITEMCHANGED, &CDictionaryEditorDlg::OnSelectionChanged),
      ui::OnNotify(IDC_DIC_LIST, NM_DBLCLK, &CDictionaryEditorDlg::OnEdit),
  };
};

}  // namespace ostrel::dicteditor
