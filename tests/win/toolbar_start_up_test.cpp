// What reaches the toolbar while its start-up shows a box: the box's own loop delivers it
// before the toolbar is ready. Nothing may read, draw or crash then, and a close ends the
// program once the box is answered, without another box and without saving.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/module_path_win32.h"
#include "platform/wide_win32.h"
#include "test_files.h"
#include "toolbar/toolbar_button.h"
#include "toolbar_fixture.h"

namespace ostrel {
namespace {

using testing::HotKeyHolder;
using testing::HotKeyIsFree;
using testing::kSettingsKey;
using testing::PumpMessages;
using testing::StoredDword;

constexpr UINT kCtrlShift = MOD_CONTROL | MOD_SHIFT;
constexpr wchar_t kSelectionHotKeyFailed[] = L"範囲指定読上げのホットキーの登録に失敗";
constexpr wchar_t kWholeTextHotKeyFailed[] = L"全文読上げのホットキーの登録に失敗";

class ToolbarStartUpTest : public testing::ToolbarFixture {
 protected:
  // The first box is answered late: meanwhile the toolbar is disabled, as under a real box,
  // and what `meanwhile` posts to it is dispatched by the box's loop.
  std::function<void(HWND window)> meanwhile;
  ScopedMessageBoxHook lateAnswer{[this](HWND owner, const wchar_t* text, const wchar_t*, UINT) {
    boxes.emplace_back(text);
    if (boxes.size() == 1 && meanwhile) {
      EnableWindow(owner, FALSE);
      meanwhile(owner);
      PumpMessages();
      EnableWindow(owner, TRUE);
    }
    return IDOK;
  }};
};

// An unusable skin beside the test program, as a user's broken skin beside the real one: its
// box is the first thing the start-up shows, before the window has its size.
class UnusableSkinBesideProgram {
 public:
  UnusableSkinBesideProgram() : path_(WideView(ModulePath())) {
    path_.replace(path_.size() - 4, 4, L".png");
    testing::WriteBytes(path_, "not a picture", 13);
  }
  ~UnusableSkinBesideProgram() { DeleteFileW(path_.c_str()); }
  UnusableSkinBesideProgram(const UnusableSkinBesideProgram&) = delete;
  UnusableSkinBesideProgram& operator=(const UnusableSkinBesideProgram&) = delete;

 private:
  std::wstring path_;
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST_F(ToolbarStartUpTest, WhatArrivesDuringAStartUpBoxRunsNothingAndTheToolbarThenWorks) {
  // Hot key 1 is registered when hot key 2's box opens: another program holds hot key 2.
  HotKeyHolder other(kCtrlShift, 'P');
  ASSERT_TRUE(other.held());
  meanwhile = [](HWND window) {
    for (WPARAM id = 1; id <= 3; ++id) PostMessageW(window, WM_HOTKEY, id, 0);
    SendMessageW(window, WM_DRAWCLIPBOARD, 0, 0);
    PostMessageW(window, EngineDoneMessage, 0, -1);
    PostMessageW(window, WM_TIMER, 1, 0);  // the clipboard's timer
    PostMessageW(window, TrayMessage, kTrayIconId, WM_LBUTTONDOWN);
    PostMessageW(window, TrayMessage, kTrayIconId, WM_LBUTTONUP);
    // A click on the selection-reading button, the dimming from outside and a wheel turn.
    PostMessageW(window, WM_MOUSEMOVE, 0, At(78, 30));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(78, 30));
    PostMessageW(window, WM_LBUTTONUP, 0, At(78, 30));
    PostMessageW(window, WM_COMMAND, kDimCommand, 0);
    PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
  };
  const HWND window = Open();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(boxes, std::vector<std::wstring>{kWholeTextHotKeyFailed});

  for (const std::string& call : engine.calls) {
    EXPECT_TRUE(call.rfind("SetUserDictionary ", 0) == 0 || call.rfind("StartLanguage ", 0) == 0) << call;
  }
  EXPECT_EQ(app->reading().State(ReadKind::Selection), ReadingState::Idle);
  EXPECT_EQ(app->reading().State(ReadKind::WholeText), ReadingState::Idle);
  EXPECT_EQ(app->captureFlags().ClipboardChanged, 0);
  EXPECT_EQ(toolbar->buttons().State(Command::SelectionReading), ButtonState::Normal);
  EXPECT_EQ(toolbar->buttons().State(Command::Stop), ButtonState::Disabled);
  EXPECT_EQ(toolbar->buttons().DimmedDisplay(), 0);
  EXPECT_EQ(toolbar->currentAlpha(), 255);
  EXPECT_EQ(toolbar->mouse().PressedButton(), -1);

  // Started, the toolbar answers as always, and the close saves.
  SendMessageW(window, WM_COMMAND, kDimCommand, 0);
  EXPECT_EQ(toolbar->buttons().DimmedDisplay(), 1);
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
  EXPECT_EQ(toolbar->currentAlpha(), 243);
  SendMessageW(window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_EQ(StoredDword(L"HotKeyAllRead"), 0u);
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ToolbarStartUpTest, ACloseDuringTheSkinBoxEndsTheProgramUnseenWithoutAnotherBoxOrASave) {
  const UnusableSkinBesideProgram skin;
  DWORD alpha = 200;
  RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"Alpha", REG_DWORD, &alpha, sizeof alpha);
  // Two hot keys that could not be registered would each have a box.
  HotKeyHolder selection(MOD_CONTROL, 'P');
  HotKeyHolder stop(kCtrlShift, 'S');
  meanwhile = [](HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);  // an installer's upgrade, a sign-out
    PostMessageW(window, WM_HOTKEY, 1, 0);
  };
  app = std::make_unique<Application>(engine);
  toolbar = &app->toolbar();
  EXPECT_FALSE(app->Open());
  PumpMessages();

  ASSERT_EQ(boxes.size(), 1u);  // no failure to draw, no hot keys, no tray icon
  EXPECT_EQ(boxes[0].rfind(L"スキンファイルを読み込めませんでした。", 0), 0u) << boxes[0];
  EXPECT_EQ(toolbar->hwnd(), nullptr);
  EXPECT_TRUE(sleeps.empty());  // no fade of a window never shown
  EXPECT_TRUE(engine.calls.empty());
  EXPECT_EQ(StoredDword(L"Alpha"), 200u);
  EXPECT_EQ(StoredDword(L"x"), 0xDEADBEEFu);
  EXPECT_EQ(StoredDword(L"HotKeySelRead"), 0xDEADBEEFu);
}

TEST_F(ToolbarStartUpTest, ACloseDuringAHotKeyBoxReleasesWhatTheStartUpTookAndSaysNoMore) {
  HotKeyHolder selection(MOD_CONTROL, 'P');
  HotKeyHolder stop(kCtrlShift, 'S');
  meanwhile = [](HWND window) { PostMessageW(window, WM_COMMAND, IDCANCEL, 0); };
  app = std::make_unique<Application>(engine);
  toolbar = &app->toolbar();
  EXPECT_FALSE(app->Open());

  EXPECT_EQ(boxes, std::vector<std::wstring>{kSelectionHotKeyFailed});
  EXPECT_TRUE(HotKeyIsFree(kCtrlShift, 'P'));  // hot key 2 was registered, and given back
  EXPECT_TRUE(engine.calls.empty());
  EXPECT_EQ(StoredDword(L"HotKeySelRead"), 0xDEADBEEFu);  // tried again at the next start
}

}  // namespace
}  // namespace ostrel
