#include "dicteditor/dictionary_editor_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "../../resources/dictionary_editor_ids.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "test_files.h"
#include "window_test_support.h"

namespace ostrel::dicteditor {
namespace {

using testing::InitCommonControlsForTests;
using testing::PumpMessages;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

struct Box {
  std::wstring text;
  UINT style;
};

// What the entry dialog gets typed into it once it opens inside the editor's loop. An entry the
// editor refuses leaves the dialog open after OK: a second timer finds it there, cancels it and
// says so in `refused`. An accepted one ends the dialog's loop before that timer can fire.
struct Typing {
  std::wstring written;
  std::wstring reading;
  bool done = false;
  bool refused = false;
  HWND dialog = nullptr;
  UINT_PTR checkTimer = 0;
};
Typing* g_typing = nullptr;

void CALLBACK CancelRefusedEntry(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (!g_typing || !IsWindow(g_typing->dialog)) return;
  g_typing->refused = true;
  SendMessageW(g_typing->dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void CALLBACK TypeIntoEntryDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  for (const wchar_t* title : {L"単語の登録", L"単語の編集"}) {
    if (!dialog) dialog = FindWindowW(L"#32770", title);
  }
  if (!dialog || !g_typing) return;
  KillTimer(nullptr, timer);
  Typing& typing = *g_typing;
  typing.dialog = dialog;
  SetDlgItemTextW(dialog, IDC_ENTRY_WRITTEN, typing.written.c_str());
  SetDlgItemTextW(dialog, IDC_ENTRY_READING, typing.reading.c_str());
  typing.done = true;
  typing.checkTimer = SetTimer(nullptr, 0, 10, CancelRefusedEntry);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

class DictionaryEditorTest : public ::testing::Test {
 protected:
  void SetUp() override { InitCommonControlsForTests(); }

  // The editor on `path`, as its window shows once it has opened.
  std::unique_ptr<CDictionaryEditorDlg> Open(const std::wstring& path, LanguageIndex language = kJapanese) {
    EditorOptions options;
    options.language = language;
    options.path = FromWide(path.c_str());
    options.engineFolder = u".\\";
    options.appDataFolder = FromWide(folder.File(L"appdata").c_str());
    options.askSavePath = [this](HWND) -> std::optional<std::u16string> {
      ++savePathAsked;
      return FromWide(folder.File(L"chosen.csv").c_str());
    };
    auto editor = std::make_unique<CDictionaryEditorDlg>(std::move(options));
    EXPECT_TRUE(editor->Create(nullptr));
    PumpMessages();
    return editor;
  }

  static void Click(CDictionaryEditorDlg& editor, int id) {
    SendMessageW(editor.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(editor.Item(id)));
  }

  // Runs `trigger`, which opens the entry dialog, and types into it.
  static Typing TypeEntry(const std::wstring& written, const std::wstring& reading, const std::function<void()>& trigger) {
    Typing typing{written, reading};
    g_typing = &typing;
    SetTimer(nullptr, 0, 10, TypeIntoEntryDialog);
    trigger();
    g_typing = nullptr;
    // The check of an accepted entry may still be pending: it must not meet the next dialog.
    if (typing.checkTimer) KillTimer(nullptr, typing.checkTimer);
    EXPECT_TRUE(typing.done) << "the entry dialog did not open";
    return typing;
  }

  static HWND List(CDictionaryEditorDlg& editor) { return editor.Item(IDC_DIC_LIST); }

  static std::vector<std::wstring> Rows(CDictionaryEditorDlg& editor) {
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(SendMessageW(List(editor), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      wchar_t written[256] = {};
      wchar_t reading[256] = {};
      ListView_GetItemText(List(editor), row, 0, written, 256);
      ListView_GetItemText(List(editor), row, 1, reading, 256);
      rows.push_back(std::wstring(written) + L"," + reading);
    }
    return rows;
  }

  static void SelectRow(CDictionaryEditorDlg& editor, const std::wstring& written) {
    const std::vector<std::wstring> rows = Rows(editor);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
      const bool match = rows[row].starts_with(written + L",");
      ListView_SetItemState(List(editor), row, match ? LVIS_SELECTED | LVIS_FOCUSED : 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
  }

  static void Key(CDictionaryEditorDlg& editor, WPARAM vk) { SendMessageW(List(editor), WM_KEYDOWN, vk, 0); }

  static std::string FileText(const std::wstring& path) {
    const std::vector<char> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
  }

  TempFolder folder;
  std::vector<Box> boxes;
  std::deque<int> answers;  // for the boxes to come; IDOK once they run out
  int savePathAsked = 0;
  ScopedMessageBoxHook boxHook{[this](HWND, const wchar_t* text, const wchar_t*, UINT style) {
    boxes.push_back({text, style});
    if (answers.empty()) return IDOK;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }};
};

const std::string kDictionary =
    "\xEF\xBB\xBF# 注釈はそのまま\r\n東京,とうきょう\r\nこの行は読めない\"行\r\n  大阪 , おおさか \r\n# 終わり\r\n";

TEST_F(DictionaryEditorTest, AddEditDeleteAndSaveKeepEverythingElseInItsPlace) {
  const std::wstring path = folder.File(L"user.csv");
  WriteBytes(path, kDictionary.data(), kDictionary.size());
  auto editor = Open(path);
  EXPECT_EQ(Rows(*editor), (std::vector<std::wstring>{L"東京,とうきょう", L"大阪,おおさか"}));

  // Insert in the list adds, Enter on a selected row edits, Delete removes after asking.
  EXPECT_FALSE(TypeEntry(L"名古屋", L"なごや", [&] { Key(*editor, VK_INSERT); }).refused);
  SelectRow(*editor, L"東京");
  SetFocus(List(*editor));
  EXPECT_FALSE(TypeEntry(L"東京", L"トーキョー", [&] {
                 SendMessageW(editor->hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
               }).refused);
  SelectRow(*editor, L"大阪");
  answers = {IDYES};
  Key(*editor, VK_DELETE);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(L"削除"), std::wstring::npos);
  EXPECT_EQ(Rows(*editor), (std::vector<std::wstring>{L"東京,トーキョー", L"名古屋,なごや"}));
  EXPECT_TRUE(editor->Document().Modified());

  Click(*editor, IDC_DIC_SAVE);
  EXPECT_FALSE(editor->Document().Modified());
  EXPECT_EQ(FileText(path),
            "\xEF\xBB\xBF# 注釈はそのまま\r\n東京,トーキョー\r\nこの行は読めない\"行\r\n# 終わり\r\n名古屋,なごや\r\n");
  EXPECT_EQ(GetFileAttributesW((path + L".saving").c_str()), INVALID_FILE_ATTRIBUTES);
  editor.reset();

  auto reopened = Open(path);
  EXPECT_EQ(Rows(*reopened), (std::vector<std::wstring>{L"東京,トーキョー", L"名古屋,なごや"}));
}

TEST_F(DictionaryEditorTest, SortsByAColumnAndSearches) {
  const std::string bytes = "b,い\na,う\nc,あ\n";
  const std::wstring path = folder.File(L"sort.csv");
  WriteBytes(path, bytes.data(), bytes.size());
  auto editor = Open(path);
  NMLISTVIEW click{};
  click.hdr.hwndFrom = List(*editor);
  click.hdr.idFrom = IDC_DIC_LIST;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iSubItem = 1;
  SendMessageW(editor->hwnd(), WM_NOTIFY, IDC_DIC_LIST, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(Rows(*editor), (std::vector<std::wstring>{L"c,あ", L"b,い", L"a,う"}));
  SendMessageW(editor->hwnd(), WM_NOTIFY, IDC_DIC_LIST, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(Rows(*editor), (std::vector<std::wstring>{L"a,う", L"b,い", L"c,あ"}));
  SetDlgItemTextW(editor->hwnd(), IDC_DIC_SEARCH, L"い");
  EXPECT_EQ(Rows(*editor), (std::vector<std::wstring>{L"b,い"}));
}

TEST_F(DictionaryEditorTest, RefusesBadEntriesAndOffersToReplaceADuplicate) {
  const std::wstring path = folder.File(L"check.csv");
  WriteBytes(path, kDictionary.data(), kDictionary.size());
  auto editor = Open(path);
  const auto add = [&](const std::wstring& written, const std::wstring& reading) {
    return TypeEntry(written, reading, [&] { Click(*editor, IDC_DIC_ADD); });
  };
  EXPECT_TRUE(add(L"  ", L"から").refused);
  EXPECT_TRUE(add(L"京都", L"Kyoto").refused);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, L"表記を入力してください。");
  EXPECT_EQ(boxes[1].text, L"読みはひらがなまたはカタカナで入力してください。");

  answers = {IDNO};
  EXPECT_TRUE(add(L"東京", L"ひがしきょう").refused);
  answers = {IDYES};
  EXPECT_FALSE(add(L"東京", L"とうけい").refused);
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_NE(boxes[3].text.find(L"「東京」はすでに登録されています"), std::wstring::npos);
  EXPECT_EQ(Rows(*editor), (std::vector<std::wstring>{L"東京,とうけい", L"大阪,おおさか"}));
}

TEST_F(DictionaryEditorTest, ClosingWithUnsavedChangesAsks) {
  const std::wstring path = folder.File(L"close.csv");
  WriteBytes(path, kDictionary.data(), kDictionary.size());
  auto editor = Open(path);
  TypeEntry(L"札幌", L"さっぽろ", [&] { Click(*editor, IDC_DIC_ADD); });

  answers = {IDCANCEL};
  SendMessageW(editor->hwnd(), WM_CLOSE, 0, 0);
  PumpMessages();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(L"保存しますか"), std::wstring::npos);
  EXPECT_EQ(boxes[0].style & 0xF, static_cast<UINT>(MB_YESNOCANCEL));
  EXPECT_EQ(FileText(path), kDictionary);

  answers = {IDYES};
  SendMessageW(editor->hwnd(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_NE(FileText(path).find("札幌,さっぽろ\r\n"), std::string::npos);
  EXPECT_FALSE(editor->Document().Modified());
}

TEST_F(DictionaryEditorTest, AReadOnlyDictionaryIsSavedInTheUsersFolderAndTheEngineIsPointedThere) {
  const std::wstring path = folder.File(L"userdict_jpn.csv");
  WriteBytes(path, kDictionary.data(), kDictionary.size());
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  const wchar_t* key = L"Software\\Brantic\\Ostrel4\\Japanese";
  RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"UserDicPath");

  auto editor = Open(path);
  TypeEntry(L"神戸", L"こうべ", [&] { Click(*editor, IDC_DIC_ADD); });
  answers = {IDYES, IDOK};
  Click(*editor, IDC_DIC_SAVE);

  const std::wstring mended = folder.File(L"appdata") + L"\\Brantic\\Ostrel4\\userdict_jpn.csv";
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].text.find(path), std::wstring::npos);
  EXPECT_NE(boxes[0].text.find(mended), std::wstring::npos);
  EXPECT_NE(boxes[1].text.find(L"次回の起動から"), std::wstring::npos);
  EXPECT_EQ(FileText(path), kDictionary);
  EXPECT_NE(FileText(mended).find("# 注釈はそのまま\r\n"), std::string::npos);
  EXPECT_NE(FileText(mended).find("神戸,こうべ\r\n"), std::string::npos);
  EXPECT_EQ(editor->Path(), FromWide(mended.c_str()));

  wchar_t stored[MAX_PATH] = {};
  DWORD size = sizeof stored;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, key, L"UserDicPath", RRF_RT_REG_SZ, nullptr, stored, &size), ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(stored), mended);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"UserDicPath");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DictionaryEditorTest, AFileThatCannotBeReadIsNamedAndNeverWrittenOver) {
  const std::wstring path = folder.File(L"a folder.csv");
  ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
  auto editor = Open(path);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(path), std::wstring::npos);
  EXPECT_TRUE(Rows(*editor).empty());
  TypeEntry(L"x", L"えっくす", [&] { Click(*editor, IDC_DIC_ADD); });
  Click(*editor, IDC_DIC_SAVE);
  EXPECT_EQ(savePathAsked, 1);
  EXPECT_NE(FileText(folder.File(L"chosen.csv")).find("x,えっくす"), std::string::npos);
}

TEST_F(DictionaryEditorTest, ANewDictionaryAsksWhereToGoAndSaysWhatItIs) {
  auto editor = Open(L"", kEnglish);
  wchar_t title[256] = {};
  GetWindowTextW(editor->hwnd(), title, 256);
  EXPECT_EQ(std::wstring(title), L"新しい辞書 - ユーザー辞書編集（英語）");
  EXPECT_FALSE(TypeEntry(L"NYC", L"New York City", [&] { Click(*editor, IDC_DIC_ADD); }).refused);
  Click(*editor, IDC_DIC_SAVE);
  EXPECT_EQ(savePathAsked, 1);
  const std::string saved = FileText(folder.File(L"chosen.csv"));
  EXPECT_TRUE(saved.starts_with("\xEF\xBB\xBF# "));
  EXPECT_TRUE(saved.ends_with("\r\nNYC,New York City\r\n"));
  // A missing file given by name is a new dictionary under that name.
  auto named = Open(folder.File(L"later.csv"));
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(named->Path(), FromWide(folder.File(L"later.csv").c_str()));
}

}  // namespace
}  // namespace ostrel::dicteditor
