#include "dicteditor/dictionary_editor_win32.h"

#include <commdlg.h>

#include <algorithm>
#include <utility>

#include "dicteditor/dictionary_files_win32.h"
#include "dicteditor/editor_setup.h"
#include "dicteditor/editor_texts.h"
#include "dicteditor/entry_check.h"
#include "dicteditor/entry_dialog_win32.h"
#include "dicteditor/message_text.h"
#include "platform/log_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "settings/registry_store.h"
#include "settings/registry_win32.h"
#include "settings/settings_model.h"
#include "ui/open_file_dialog_win32.h"
#include "ui/window_text_win32.h"

namespace ostrel::dicteditor {
namespace {

int EditorMessage(HWND owner, const std::u16string& text, UINT style) {
  return ShowMessageBox(owner, Wide(text), Wide(texts::kCaption), style);
}

std::optional<std::u16string> AskSavePathWithDialog(HWND owner, LanguageIndex language, const std::u16string& appData) {
  std::vector<wchar_t> file(32768, L'\0');
  const std::u16string suggested(MendPath(appData, u"", language));
  std::u16string(FileNameOf(suggested)).copy(reinterpret_cast<char16_t*>(file.data()), file.size() - 1);
  const std::u16string folder = MendFolder(appData);
  MakeFolder(folder);
  // "name\0pattern\0\0"
  std::u16string filter = texts::kFileFilterName;
  filter += u'\0';
  filter += texts::kFileFilterPattern;
  filter += u'\0';
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = Wide(filter);
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = Wide(folder);
  ofn.lpstrDefExt = Wide(texts::kDefaultExtension);
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!GetSaveFileNameW(&ofn)) return std::nullopt;
  return FromWide(file.data());
}

std::optional<std::u16string> AskImportPathWithDialog(HWND owner) {
  const ui::FileFilter filters[] = {{Wide(texts::kFileFilterName), Wide(texts::kFileFilterPattern)}};
  const auto chosen = ui::OpenFileDialog(owner, filters, Wide(texts::kDefaultExtension), L"", L"",
                                         OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
  if (!chosen) return std::nullopt;
  return FromWide(chosen->c_str(), chosen->size());
}

}  // namespace

CDictionaryEditorDlg::CDictionaryEditorDlg(EditorOptions options)
    : DialogImpl(IDD_DICTIONARY_EDITOR), options_(std::move(options)), path_(options_.path) {
  if (!options_.askSavePath) {
    options_.askSavePath = [language = options_.language, appData = options_.appDataFolder](HWND owner) {
      return AskSavePathWithDialog(owner, language, appData);
    };
  }
  if (!options_.askImportPath) options_.askImportPath = &AskImportPathWithDialog;
}

CDictionaryEditorDlg::~CDictionaryEditorDlg() = default;

int CDictionaryEditorDlg::Message(const std::u16string& text, UINT style) const {
  return EditorMessage(hwnd(), text, style);
}

BOOL CDictionaryEditorDlg::OnInitDialog() {
  HWND list = Item(IDC_DIC_LIST);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  RECT client{};
  GetClientRect(list, &client);
  const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
  const std::u16string headers[] = {texts::kColumnWritten, texts::kColumnReading};
  for (int column = 0; column < 2; ++column) {
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    lvc.pszText = const_cast<wchar_t*>(Wide(headers[column]));
    lvc.cx = column == 0 ? width / 2 : width - width / 2;
    lvc.iSubItem = column;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvc));
  }
  Load();
  UpdateTitle();
  Refill();
  SetFocus(list);
  return FALSE;
}

void CDictionaryEditorDlg::Load() {
  document_ = DictionaryDocument();
  if (path_.empty()) return;
  const FileBytes file = ReadWholeFile(path_);
  if (file.error == ERROR_FILE_NOT_FOUND) return;  // a new dictionary under the name given
  if (file.error != 0) {
    log::Failed("reading the dictionary " + log::Utf8(WideView(path_)), file.error);
    Message(FillIn(texts::kUnreadable, {path_, ErrorText(file.error)}), MB_OK | MB_ICONWARNING);
    // Saving must not write over a file the editor could not show.
    path_.clear();
    return;
  }
  document_ = DictionaryDocument::Parse(file.bytes, CodePageDecoderFor(DictionaryCodePage(options_.language)));
}

void CDictionaryEditorDlg::UpdateTitle() {
  const std::u16string name = path_.empty() ? std::u16string(texts::kUntitled) : std::u16string(FileNameOf(path_));
  const std::u16string title =
      FillIn(texts::kTitleFormat, {name, texts::kLanguageNames[std::clamp(options_.language, 0, kLanguageCount - 1)]});
  SetWindowTextW(hwnd(), Wide(title));
}

void CDictionaryEditorDlg::UpdateStatus() {
  const auto total = static_cast<unsigned long long>(document_.Entries().size());
  const std::size_t unknown = document_.UnknownLines();
  std::u16string text;
  if (rows_.size() != total) {
    text = FillIn(texts::kEntryCountFiltered, {DecimalText(total), DecimalText(rows_.size())});
  } else if (unknown > 0) {
    text = FillIn(texts::kEntryCountWithUnknown, {DecimalText(total), DecimalText(unknown)});
  } else {
    text = FillIn(texts::kEntryCount, {DecimalText(total)});
  }
  ui::SetItemText(hwnd(), IDC_DIC_STATUS, Wide(text));
}

void CDictionaryEditorDlg::UpdateButtons() {
  const bool selected = SendMessageW(Item(IDC_DIC_LIST), LVM_GETSELECTEDCOUNT, 0, 0) > 0;
  EnableWindow(Item(IDC_DIC_EDIT), selected);
  EnableWindow(Item(IDC_DIC_DELETE), selected);
  EnableWindow(Item(IDC_DIC_SPEAK), selected);
}

void CDictionaryEditorDlg::Refill(std::optional<EntryId> select) {
  HWND list = Item(IDC_DIC_LIST);
  const std::wstring search = ui::GetItemText(hwnd(), IDC_DIC_SEARCH);
  rows_ = VisibleEntries(document_, FromWide(search.c_str(), search.size()), order_);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  int selectedRow = -1;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    const DictionaryEntry& entry = document_.Entry(rows_[row]);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(row);
    item.pszText = const_cast<wchar_t*>(Wide(entry.written));
    item.lParam = static_cast<LPARAM>(rows_[row]);
    const int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    LVITEMW reading{};
    reading.iSubItem = 1;
    reading.pszText = const_cast<wchar_t*>(Wide(entry.reading));
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&reading));
    if (select && *select == rows_[row]) selectedRow = index;
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  if (selectedRow >= 0) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selectedRow), reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(selectedRow), FALSE);
  }
  InvalidateRect(list, nullptr, TRUE);
  UpdateStatus();
  UpdateButtons();
}

std::vector<EntryId> CDictionaryEditorDlg::SelectedEntries() const {
  std::vector<EntryId> ids;
  HWND list = Item(IDC_DIC_LIST);
  for (int row = -1;;) {
    row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) break;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    ids.push_back(static_cast<EntryId>(item.lParam));
  }
  return ids;
}

bool CDictionaryEditorDlg::AcceptEntry(HWND dialog, const DictionaryEntry& typed, std::optional<EntryId> editing,
                                       std::optional<EntryId>& result) {
  const DictionaryEntry entry = CleanEntry(typed);
  const EntryCheck check = CheckEntry(options_.language, entry, document_, editing);
  const auto refuse = [dialog](const char16_t* text) {
    EditorMessage(dialog, text, MB_OK | MB_ICONWARNING);
    return false;
  };
  switch (check.problem) {
    case EntryProblem::kLineBreak:
      return refuse(texts::kLineBreak);
    case EntryProblem::kEmptyWritten:
      return refuse(texts::kEmptyWritten);
    case EntryProblem::kReadingNotKana:
      return refuse(texts::kReadingNotKana);
    case EntryProblem::kDuplicate: {
      const std::u16string question =
          FillIn(texts::kDuplicate, {entry.written, document_.Entry(*check.duplicate).reading});
      if (EditorMessage(dialog, question, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
      // The other entry takes the new reading; the one being changed gives way to it.
      document_.Replace(*check.duplicate, entry);
      if (editing) document_.Remove(*editing);
      result = check.duplicate;
      return true;
    }
    case EntryProblem::kNone:
      break;
  }
  if (editing) {
    document_.Replace(*editing, entry);
    result = editing;
  } else {
    result = document_.Add(entry);
  }
  return true;
}

void CDictionaryEditorDlg::EditEntry(std::optional<EntryId> editing) {
  DictionaryEntry initial;
  if (editing) initial = document_.Entry(*editing);
  std::optional<EntryId> result;
  CEntryDlg dialog(editing ? texts::kEditTitle : texts::kAddTitle, initial,
                   [&](HWND entryDialog, const DictionaryEntry& typed) {
                     return AcceptEntry(entryDialog, typed, editing, result);
                   });
  if (dialog.DoModal(hwnd()) != IDOK || !result) return;
  // A new entry the search would hide is shown all the same.
  if (std::find(rows_.begin(), rows_.end(), *result) == rows_.end()) ui::SetItemText(hwnd(), IDC_DIC_SEARCH, L"");
  Refill(result);
}

void CDictionaryEditorDlg::OnAdd() { EditEntry(std::nullopt); }

void CDictionaryEditorDlg::OnEdit() {
  const std::vector<EntryId> selected = SelectedEntries();
  if (!selected.empty()) EditEntry(selected.front());
}

void CDictionaryEditorDlg::OnDelete() {
  const std::vector<EntryId> selected = SelectedEntries();
  if (selected.empty()) return;
  if (Message(FillIn(texts::kAskDelete, {DecimalText(selected.size())}), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  for (const EntryId id : selected) document_.Remove(id);
  Refill();
}

void CDictionaryEditorDlg::OnSpeak() {
  const std::vector<EntryId> selected = SelectedEntries();
  if (selected.empty()) {
    Message(texts::kNothingToSpeak, MB_OK);
    return;
  }
  if (!preview_) preview_ = std::make_unique<SpeechPreview>(options_.engineFolder, options_.language);
  if (!preview_->Loaded()) {
    Message(texts::kEngineMissing, MB_OK | MB_ICONWARNING);
    return;
  }
  const DictionaryEntry& entry = document_.Entry(selected.front());
  // An entry without a reading silences its written form: there is nothing to hear.
  if (!entry.reading.empty()) preview_->Speak(hwnd(), entry.reading);
}

void CDictionaryEditorDlg::OnImport() {
  const std::optional<std::u16string> source = options_.askImportPath(hwnd());
  if (!source) return;
  const FileBytes file = ReadWholeFile(*source);
  if (file.error != 0) {
    log::Failed("reading a dictionary to import " + log::Utf8(WideView(*source)), file.error);
    Message(FillIn(texts::kImportUnreadable, {*source, ErrorText(file.error)}), MB_OK | MB_ICONWARNING);
    return;
  }
  const DictionaryDocument other =
      DictionaryDocument::Parse(file.bytes, CodePageDecoderFor(DictionaryCodePage(options_.language)));
  bool replace = false;
  if (const std::size_t conflicts = document_.ConflictsWith(other); conflicts > 0) {
    const int answer =
        Message(FillIn(texts::kImportConflicts, {DecimalText(conflicts)}), MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return;
    replace = answer == IDYES;
  }
  const DictionaryDocument::ImportCount count = document_.Import(other, replace);
  Refill();
  Message(FillIn(texts::kImportDone, {DecimalText(count.added), DecimalText(count.replaced)}), MB_OK);
}

void CDictionaryEditorDlg::OnSaveButton() { Save(); }

bool CDictionaryEditorDlg::SaveTo(const std::u16string& target, DWORD& error) {
  Win32SaveFileSystem files;
  const std::string bytes = document_.Serialize(CodePageEncoderFor(DictionaryCodePage(options_.language)));
  const SaveResult result = SaveReplacing(files, target, bytes);
  error = result.error;
  if (!result.Saved()) log::Failed("saving the dictionary " + log::Utf8(WideView(target)), error);
  return result.Saved();
}

bool CDictionaryEditorDlg::Save() {
  if (path_.empty()) {
    const std::optional<std::u16string> chosen = options_.askSavePath(hwnd());
    if (!chosen) return false;
    path_ = *chosen;
    UpdateTitle();
  }
  DWORD error = 0;
  if (SaveTo(path_, error)) {
    document_.MarkSaved();
    return true;
  }
  return OfferMend(error);
}

// The default dictionaries lie below the program, where an installed program's user may not
// write: the user's own folder takes the file, and the engine is pointed at it.
bool CDictionaryEditorDlg::OfferMend(DWORD error) {
  const std::u16string mendPath = MendPath(options_.appDataFolder, path_, options_.language);
  if (options_.appDataFolder.empty() || mendPath == path_) {
    Message(FillIn(texts::kSaveFailed, {path_, ErrorText(error)}), MB_OK | MB_ICONWARNING);
    return false;
  }
  const std::u16string question = FillIn(texts::kOfferMend, {path_, ErrorText(error), mendPath});
  if (Message(question, MB_YESNO | MB_ICONWARNING) != IDYES) return false;
  DWORD mendError = 0;
  if (!MakeFolder(MendFolder(options_.appDataFolder)) || !SaveTo(mendPath, mendError)) {
    Message(FillIn(texts::kSaveFailed, {mendPath, ErrorText(mendError ? mendError : GetLastError())}),
            MB_OK | MB_ICONWARNING);
    return false;
  }
  Win32Registry registry;
  RegistryStore store(registry);
  store.AppRegSetStr(LanguageKey(options_.language), mendPath);
  path_ = mendPath;
  document_.MarkSaved();
  UpdateTitle();
  Message(FillIn(texts::kMended, {mendPath}), MB_OK | MB_ICONINFORMATION);
  return true;
}

void CDictionaryEditorDlg::OnSearchChanged() {
  const std::vector<EntryId> selected = SelectedEntries();
  Refill(selected.empty() ? std::nullopt : std::optional<EntryId>(selected.front()));
}

LRESULT CDictionaryEditorDlg::OnColumnClick(NMHDR* header) {
  const auto* view = reinterpret_cast<const NMLISTVIEW*>(header);
  order_.ClickColumn(view->iSubItem == 0 ? SortColumn::kWritten : SortColumn::kReading);
  const std::vector<EntryId> selected = SelectedEntries();
  Refill(selected.empty() ? std::nullopt : std::optional<EntryId>(selected.front()));
  return 0;
}

LRESULT CDictionaryEditorDlg::OnListKey(NMHDR* header) {
  const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
  if (key->wVKey == VK_INSERT) OnAdd();
  if (key->wVKey == VK_DELETE) OnDelete();
  return 0;
}

void CDictionaryEditorDlg::OnSelectionChanged() { UpdateButtons(); }

bool CDictionaryEditorDlg::PreTranslateMessage(MSG& message) {
  if (message.message == WM_KEYDOWN && message.wParam == 'S' && (GetKeyState(VK_CONTROL) & 0x8000)) {
    Save();
    return true;
  }
  return false;
}

// Enter: in the list it edits the selected entry, in the search box it goes to the list.
void CDictionaryEditorDlg::OnOK() {
  HWND focus = GetFocus();
  if (focus == Item(IDC_DIC_LIST)) {
    OnEdit();
  } else if (focus == Item(IDC_DIC_SEARCH)) {
    SetFocus(Item(IDC_DIC_LIST));
  }
}

void CDictionaryEditorDlg::OnCancel() {
  if (document_.Modified()) {
    const int answer = Message(texts::kAskSave, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return;
    if (answer == IDYES && !Save()) return;
  }
  EndDialog(IDCANCEL);
}

}  // namespace ostrel::dicteditor
