#include "ui/open_file_dialog_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

namespace ostrel {
namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  return name;
}

// The first visible window that `match` accepts: among the thread's top-level windows, or
// among the descendants of `parent`.
template <typename Match>
HWND FindVisible(HWND parent, Match match) {
  struct Search {
    Match& match;
    HWND found = nullptr;
  } search{match};
  const WNDENUMPROC visit = [](HWND window, LPARAM state) -> BOOL {
    auto& s = *reinterpret_cast<Search*>(state);
    if (!IsWindowVisible(window) || !s.match(window)) return TRUE;
    s.found = window;
    return FALSE;
  };
  if (parent) {
    EnumChildWindows(parent, visit, reinterpret_cast<LPARAM>(&search));
  } else {
    EnumThreadWindows(GetCurrentThreadId(), visit, reinterpret_cast<LPARAM>(&search));
  }
  return search.found;
}

// Plays the user from a thread timer, which the file dialog's own loop dispatches: types
// `answer` into the file name box of the dialog the owner opened and presses Open, or
// presses Cancel when there is no answer.
class FileDialogUser {
 public:
  FileDialogUser(HWND owner, std::wstring answer) {
    owner_ = owner;
    answer_ = std::move(answer);
    ticks_ = 0;
    timer_ = SetTimer(nullptr, 0, 50, &FileDialogUser::Tick);
  }
  ~FileDialogUser() { KillTimer(nullptr, timer_); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindVisible(nullptr, [](HWND w) { return GetWindow(w, GW_OWNER) == owner_ && ClassOf(w) == L"#32770"; });
    if (dialog && !IsWindowEnabled(dialog)) {
      // The dialog put up a message of its own: OK to it, and the next tick cancels.
      if (HWND box = FindVisible(nullptr, [dialog](HWND w) { return GetWindow(w, GW_OWNER) == dialog; }))
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      return;
    }
    // A few ticks more, so that the dialog has finished setting itself up.
    if (!dialog || ++ticks_ < 4) return;
    // The file name box is the first visible edit (inside a combo box on the classic form).
    HWND edit = FindVisible(dialog, [](HWND w) { return ClassOf(w) == L"Edit"; });
    if (answer_.empty() || !edit) {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return;
    }
    SetWindowTextW(edit, answer_.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    answer_.clear();
  }

  static inline HWND owner_ = nullptr;
  static inline std::wstring answer_;
  static inline int ticks_ = 0;
  UINT_PTR timer_ = 0;
};

bool RunsUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

class UiOpenFileDialogTest : public ::testing::TestWithParam<ui::FileDialogForm> {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(owner_, SW_SHOWNOACTIVATE);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"ostrel_ui_test";
    CreateDirectoryW(folder_.c_str(), nullptr);
    dictionary_ = folder_ + L"\\辞書.CSV";
    HANDLE file = CreateFileW(dictionary_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }
  void TearDown() override {
    DestroyWindow(owner_);
    DeleteFileW(dictionary_.c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  std::optional<std::wstring> Ask(std::wstring answer) {
    static constexpr ui::FileFilter kFilters[] = {{L"CSVテキスト (*.CSV)", L"*.CSV"}};
    FileDialogUser user(owner_, std::move(answer));
    return ui::OpenFileDialog(owner_, kFilters, L"CSV", L"*.CSV", folder_ + L"\\",
                              OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT, GetParam());
  }

  HWND owner_ = nullptr;
  std::wstring folder_;
  std::wstring dictionary_;
};

TEST_P(UiOpenFileDialogTest, CancelGivesNothing) { EXPECT_FALSE(Ask(L"").has_value()); }

TEST_P(UiOpenFileDialogTest, AChosenFileComesBackWithItsFullPath) {
  const auto chosen = Ask(dictionary_);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(CompareStringOrdinal(chosen->c_str(), -1, dictionary_.c_str(), -1, TRUE), CSTR_EQUAL) << chosen->size();
}

TEST_P(UiOpenFileDialogTest, TheDefaultExtensionCompletesATypedName) {
  if (GetParam() == ui::FileDialogForm::kClassic && RunsUnderWine()) {
    GTEST_SKIP() << "Wine's classic dialog reports a name without extension as missing instead of trying the "
                    "default extension";
  }
  const auto chosen = Ask(folder_ + L"\\辞書");
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(CompareStringOrdinal(chosen->c_str(), -1, dictionary_.c_str(), -1, TRUE), CSTR_EQUAL);
}

INSTANTIATE_TEST_SUITE_P(Ui, UiOpenFileDialogTest,
                         ::testing::Values(ui::FileDialogForm::kNewest, ui::FileDialogForm::kClassic),
                         [](const auto& param) { return param.param == ui::FileDialogForm::kNewest ? "Newest" : "Classic"; });

}  // namespace
}  // namespace ostrel
