#include "toolbar/toolbar_window_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolbar_fixture.h"

namespace ostrel {
namespace {

using testing::HotKeyHolder;
using testing::HotKeyIsFree;
using testing::kSettingsKey;
using testing::PumpMessages;
using testing::StoredDword;

using ToolbarWindowTest = testing::ToolbarFixture;

TEST_F(ToolbarWindowTest, OpensAsATopmostLayeredBarOfTheCanvasSize) {
  const HWND window = Open();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(app->toolbar().hwnd(), window);
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, 327);
  EXPECT_EQ(rect.bottom - rect.top, 60);
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"Ostrel Quartet");
  EXPECT_TRUE(boxes.empty());

  EXPECT_EQ(toolbar->buttons().State(Command::Stop), ButtonState::Disabled);
  EXPECT_EQ(toolbar->buttons().State(Command{8}), ButtonState::Terminator);
  EXPECT_FALSE(toolbar->buttons().Changed());
  EXPECT_EQ(toolbar->currentAlpha(), 255);
  EXPECT_EQ(toolbar->settings().HotKeySelRead, 0x0250);
  // The toolbar now holds the default hot keys.
  EXPECT_FALSE(HotKeyIsFree(MOD_CONTROL, 'P'));
  EXPECT_FALSE(HotKeyIsFree(MOD_CONTROL | MOD_SHIFT, 'P'));
  EXPECT_FALSE(HotKeyIsFree(MOD_CONTROL | MOD_SHIFT, 'S'));

  const std::vector<std::string> start{"StartLanguage 1", "StartLanguage 2", "StartLanguage 3", "StartLanguage 4"};
  EXPECT_EQ(engine.Calls("StartLanguage"), start);
  ASSERT_EQ(engine.Calls("SetUserDictionary").size(), 4u);
  EXPECT_EQ(engine.calls[0].rfind("SetUserDictionary 1 ", 0), 0u);
  EXPECT_EQ(engine.lastWindow, reinterpret_cast<WindowId>(window));
}

TEST_F(ToolbarWindowTest, AHotKeyHeldElsewhereIsReportedAndTurnedOff) {
  HotKeyHolder other(MOD_CONTROL, 'P');
  ASSERT_TRUE(other.held());
  const HWND window = Open();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], L"範囲指定読上げのホットキーの登録に失敗");
  EXPECT_EQ(toolbar->settings().HotKeySelRead, 0);
  EXPECT_EQ(toolbar->settings().HotKeyAllRead, 0x0350);

  SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(StoredDword(L"HotKeySelRead"), 0u);
  EXPECT_EQ(StoredDword(L"HotKeyAllRead"), 0x0350u);
}

TEST_F(ToolbarWindowTest, CloseSavesFadesOnceAndDestroyReleasesEverything) {
  const HWND window = Open();
  SetWindowPos(window, nullptr, 140, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
  EXPECT_EQ(toolbar->settings().x, 140);
  EXPECT_EQ(toolbar->settings().y, 90);

  SendMessageW(window, WM_CLOSE, 0, 0);
  PumpMessages();  // the dialog manager's Cancel runs the sequence again, without a fade
  EXPECT_EQ(sleeps, std::vector<DWORD>(11, 50));
  EXPECT_EQ(toolbar->currentAlpha(), 1);
  EXPECT_EQ(StoredDword(L"x"), 140u);
  EXPECT_EQ(StoredDword(L"y"), 90u);
  EXPECT_EQ(StoredDword(L"Alpha"), 255u);
  EXPECT_EQ(StoredDword(L"UseLanguageSet"), 0xDEADBEEFu);

  engine.calls.clear();
  DestroyWindow(window);
  const std::vector<std::string> closed{"CloseLanguage 1", "CloseLanguage 2", "CloseLanguage 3", "CloseLanguage 4"};
  EXPECT_EQ(engine.calls, closed);
  EXPECT_TRUE(HotKeyIsFree(MOD_CONTROL, 'P'));
  EXPECT_TRUE(HotKeyIsFree(MOD_CONTROL | MOD_SHIFT, 'S'));
}

TEST_F(ToolbarWindowTest, StoredPositionIsTheOuterCornerBothWays) {
  DWORD x = 200;
  DWORD y = 150;
  RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"x", REG_DWORD, &x, sizeof x);
  RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"y", REG_DWORD, &y, sizeof y);
  const HWND window = Open();
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 200);
  EXPECT_EQ(rect.top, 150);
  EXPECT_EQ(toolbar->settings().x, 200);
  EXPECT_EQ(toolbar->settings().y, 150);
}

TEST_F(ToolbarWindowTest, OnlyEnabledLanguagesStartAndTheLanguageSettles) {
  DWORD mask = 10;  // Chinese and Korean
  DWORD language = 0;
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSettingsKey, L"UseLanguageSet", REG_DWORD, &mask, sizeof mask);
  RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"language", REG_DWORD, &language, sizeof language);
  Open();
  const std::vector<std::string> start{"StartLanguage 2", "StartLanguage 4"};
  EXPECT_EQ(engine.Calls("StartLanguage"), start);
  EXPECT_EQ(toolbar->settings().language, 1);
  EXPECT_EQ(toolbar->buttons().Variant(Command::Language), 1);
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

// A clipboard viewer that records what reaches it.
struct RecordingViewer {
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWCLIPBOARD || message == WM_CHANGECBCHAIN) {
      auto* self = reinterpret_cast<RecordingViewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
      if (self) self->received.push_back({message, wParam, lParam});
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  RecordingViewer() {
    window = CreateWindowExW(0, L"STATIC", L"viewer", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
  }
  ~RecordingViewer() { DestroyWindow(window); }
  struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Message&) const = default;
  };
  HWND window;
  std::vector<Message> received;
};

TEST_F(ToolbarWindowTest, ClipboardChainMessagesArePassedOnAndTheChainRepaired) {
  RecordingViewer next;
  const HWND previous = SetClipboardViewer(next.window);
  const HWND window = Open();
  ASSERT_EQ(app->nextClipboardViewer(), next.window);
  next.received.clear();

  SendMessageW(window, WM_DRAWCLIPBOARD, 0, 0);
  ASSERT_EQ(next.received.size(), 1u);
  EXPECT_EQ(next.received[0].message, static_cast<UINT>(WM_DRAWCLIPBOARD));
  EXPECT_EQ(app->captureFlags().ClipboardChanged, 0);  // nothing was waiting for it

  // Another window leaves the chain: the message goes on unchanged.
  const HWND other = reinterpret_cast<HWND>(0x1234);
  SendMessageW(window, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(other), 0x5678);
  ASSERT_EQ(next.received.size(), 2u);
  EXPECT_EQ(next.received[1], (RecordingViewer::Message{WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(other), 0x5678}));

  // The next viewer leaves: the one after it takes its place, and is not told.
  SendMessageW(window, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(next.window), 0);
  EXPECT_EQ(app->nextClipboardViewer(), nullptr);
  EXPECT_EQ(next.received.size(), 2u);
  SendMessageW(window, WM_DRAWCLIPBOARD, 0, 0);  // with no next viewer nothing is passed on
  EXPECT_EQ(next.received.size(), 2u);

  DestroyWindow(window);
  ChangeClipboardChain(next.window, previous);
}

TEST_F(ToolbarWindowTest, HotKeysRunTheirCommandsAndDisabledOnesNothing) {
  const HWND window = Open();
  SendMessageW(window, WM_HOTKEY, 3, 0);  // stop while idle: its button is disabled
  EXPECT_TRUE(engine.Calls("Stop").empty());
  SendMessageW(window, EngineDoneMessage, 0, 5);  // not the end of a text
  EXPECT_TRUE(engine.Calls("Stop").empty());
  EXPECT_EQ(toolbar->buttons().State(Command::Stop), ButtonState::Disabled);
  EXPECT_EQ(app->reading().State(ReadKind::Selection), ReadingState::Idle);
}

}  // namespace
}  // namespace ostrel
