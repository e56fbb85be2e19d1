// What the toolbar does when the system refuses it something: it says so once and goes on.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/orvatone_library_win32.h"
#include "platform/library_loading_win32.h"
#include "test_files.h"
#include "toolbar/toolbar_button.h"
#include "toolbar_fixture.h"

namespace ostrel {
namespace {

using testing::PumpMessages;

using ToolbarFailuresTest = testing::ToolbarFixture;

size_t CountBoxes(const std::vector<std::wstring>& boxes, const std::wstring& start) {
  return static_cast<size_t>(std::count_if(boxes.begin(), boxes.end(), [&](const std::wstring& text) {
    return text.rfind(start, 0) == 0;
  }));
}

// NIM_MODIFY succeeds only for an icon the notification area holds.
bool TrayHoldsIcon(HWND window) {
  NOTIFYICONDATAW probe{};
  probe.cbSize = sizeof probe;
  probe.hWnd = window;
  probe.uID = kTrayIconId;
  probe.uFlags = NIF_TIP;
  wcscpy(probe.szTip, L"probe");
  return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

TEST_F(ToolbarFailuresTest, SettingsThatCannotBeWrittenAreReportedOnceAndTheCloseGoesOn) {
  // No lasting key can be made below a volatile one: every write of the settings fails.
  HKEY parent = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brantic", 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &parent, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(parent);
  const HWND window = Open();
  ASSERT_TRUE(boxes.empty());

  SendMessageW(window, WM_CLOSE, 0, 0);
  PumpMessages();  // the dialog manager's Cancel closes a second time
  EXPECT_EQ(CountBoxes(boxes, L"設定をレジストリに保存できませんでした。"), 1u);
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(toolbar->currentAlpha(), 1);  // faded out all the same
}

TEST_F(ToolbarFailuresTest, SettingsThatWereWrittenSayNothing) {
  const HWND window = Open();
  SendMessageW(window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ToolbarFailuresTest, TheTrayIconComesBackWhenTheTaskbarIsMadeAnew) {
  const HWND window = Open();
  ASSERT_TRUE(TrayHoldsIcon(window)) << "no notification area to test with";

  // A restarted Explorer has lost every icon.
  NOTIFYICONDATAW gone{};
  gone.cbSize = sizeof gone;
  gone.hWnd = window;
  gone.uID = kTrayIconId;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
  ASSERT_FALSE(TrayHoldsIcon(window));

  SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(TrayHoldsIcon(window));
  // Announced again while the area still holds the icon: the refused add is no failure,
  // and nothing starts trying again.
  SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_FALSE(KillTimer(window, kTrayRetryTimerId));
  EXPECT_TRUE(boxes.empty());
}

const std::wstring kTrayIconFailed =
    L"通知領域にアイコンを追加できませんでした。ツールバーを通知領域に格納することはできません。";

TEST_F(ToolbarFailuresTest, AtSignInTheTrayIconIsTriedAgainUntilTheNotificationAreaTakesIt) {
  HWND window = nullptr;
  {
    const ScopedTrayRefusal notReadyYet;
    window = Open();
    ASSERT_FALSE(TrayHoldsIcon(window));
    PumpMessages();
  }
  EXPECT_TRUE(testing::PumpUntil([&] { return TrayHoldsIcon(window); }, 3 * kTrayRetryPeriodMs))
      << "the icon was not added again";
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(testing::PumpUntil([&] { return !KillTimer(window, kTrayRetryTimerId); }))
      << "still trying after the icon was added";
}

TEST_F(ToolbarFailuresTest, ANotificationAreaThatNeverTakesTheIconIsReportedOnceWhenTheTriesAreUsedUp) {
  const ScopedTrayRefusal never;
  const HWND window = Open();
  EXPECT_TRUE(boxes.empty());
  // Its ticks from here on are the test's own, counted exactly.
  ASSERT_TRUE(KillTimer(window, kTrayRetryTimerId)) << "no retry was started";
  for (int tick = 1; tick < kTrayRetries; ++tick) PostMessageW(window, WM_TIMER, kTrayRetryTimerId, 0);
  PumpMessages();
  EXPECT_TRUE(boxes.empty());
  for (int tick = 0; tick < 3; ++tick) PostMessageW(window, WM_TIMER, kTrayRetryTimerId, 0);
  PumpMessages();
  EXPECT_EQ(boxes, std::vector<std::wstring>{kTrayIconFailed});

  // The taskbar made anew tries once more, in silence.
  SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(KillTimer(window, kTrayRetryTimerId));
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ToolbarFailuresTest, TheFirstViewerOfAnEmptyChainIsNoFailure) {
  // The test process is alone on its desktop's chain or follows another viewer; either way
  // joining works and nothing is said.
  const HWND window = Open();
  EXPECT_EQ(GetClipboardViewer(), window);
  EXPECT_EQ(CountBoxes(boxes, L"クリップボードの監視"), 0u);
}

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// A library planted in the current folder under the engine's name must never be the engine.
TEST(LibraryLoadingTest, AnEngineInTheCurrentFolderIsNotLoaded) {
  RestrictLibrarySearch();
  const testing::TempFolder planted;
  const std::wstring programFolder = ExeFolder();
  ASSERT_TRUE(CopyFileW((programFolder + L"Hanvert.dll").c_str(), planted.File(L"Orvatone.dll").c_str(), FALSE));
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(planted.File(L"").c_str()));

  {
    // Where the program folder has no engine, there is none: not the planted one.
    const testing::TempFolder emptyFolder;
    OrvatoneLibrary missing(emptyFolder.File(L"Orvatone.dll"));
    EXPECT_FALSE(missing.Loaded());
    // Even the bare name, after the search was restricted, finds the program's own or nothing.
    if (HMODULE bare = LoadLibraryW(L"Orvatone.dll")) {
      wchar_t found[MAX_PATH] = {};
      GetModuleFileNameW(bare, found, MAX_PATH);
      EXPECT_EQ(lstrcmpiW(found, (programFolder + L"Orvatone.dll").c_str()), 0) << found;
      FreeLibrary(bare);
    }
    EXPECT_EQ(GetModuleHandleW(planted.File(L"Orvatone.dll").c_str()), nullptr);
  }
  {
    OrvatoneLibrary engine(programFolder + L"Orvatone.dll");
    EXPECT_TRUE(engine.Loaded());
    wchar_t loaded[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"Orvatone.dll"), loaded, MAX_PATH);
    EXPECT_EQ(lstrcmpiW(loaded, (programFolder + L"Orvatone.dll").c_str()), 0) << loaded;
  }
  SetCurrentDirectoryW(previous);
}

}  // namespace
}  // namespace ostrel
