#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/program_directory.h"
#include "platform/program_directory_win32.h"
#include "toolbar_fixture.h"

namespace ostrel {
namespace {

using testing::kSettingsKey;
using testing::PumpMessages;
using testing::StoredDword;
// Where nothing else lies on the test display, so WindowFromPoint finds the toolbar.
constexpr int kLeft = 300;
constexpr int kTop = 300;

// Client points well inside each button's hit region.
constexpr POINT kCentre[8] = {{78, 30}, {129, 28}, {170, 30}, {198, 30}, {241, 30}, {275, 30}, {302, 23}, {302, 38}};
// The logo, left of the buttons: no button there.
constexpr POINT kLogo{20, 30};

LPARAM At(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

// Closes any pop-up menu a few moments after it opens, so a test that opens one (or opens
// one by mistake) cannot hang, and tells whether one was open.
class MenuWatcher {
 public:
  MenuWatcher() {
    opened_ = false;
    timer_ = SetTimer(nullptr, 0, 150, &Tick);
  }
  ~MenuWatcher() { KillTimer(nullptr, timer_); }
  static bool opened() { return opened_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (FindWindowW(L"#32768", nullptr)) {
      opened_ = true;
      EndMenu();
    }
  }
  static inline bool opened_ = false;
  UINT_PTR timer_ = 0;
};

class ToolbarInputTest : public testing::ToolbarFixture {
 protected:
  void SetUp() override {
    ToolbarFixture::SetUp();
    DWORD position = kLeft;
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"x", REG_DWORD, &position, sizeof position);
    position = kTop;
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"y", REG_DWORD, &position, sizeof position);
  }
  HWND Open() {
    window = ToolbarFixture::Open();
    return window;
  }

  void Move(POINT p) { SendMessageW(window, WM_MOUSEMOVE, 0, At(p)); }
  void Down(POINT p) { SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(p)); }
  void Up(POINT p) { SendMessageW(window, WM_LBUTTONUP, 0, At(p)); }
  void Click(int command) {
    Move(kCentre[command]);
    Down(kCentre[command]);
    Up(kCentre[command]);
  }
  const ButtonStates& buttons() const { return toolbar->buttons(); }

  HWND window = nullptr;
};

TEST_F(ToolbarInputTest, HoverHighlightsAnEnabledButtonOnlyWhileTheCursorIsOnIt) {
  Open();
  Move(kCentre[3]);
  EXPECT_EQ(buttons().State(Command::Repeat), ButtonState::Hover);
  EXPECT_EQ(GetCapture(), window);  // keeps the moves coming once the cursor leaves
  EXPECT_EQ(toolbar->mouse().TipButton(), 3);
  EXPECT_FALSE(buttons().Changed());  // redrawn

  Move(kCentre[2]);  // the stop button, disabled while idle
  EXPECT_EQ(buttons().State(Command::Repeat), ButtonState::Normal);
  EXPECT_EQ(buttons().State(Command::Stop), ButtonState::Disabled);

  Move(kLogo);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(toolbar->mouse().TipButton(), -1);

  // Another topmost window over the repeat button (SS_NOTIFY: a plain static lets the point
  // through): the point is not the toolbar's.
  RECT rect{};
  GetWindowRect(window, &rect);
  const HWND cover = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE | SS_NOTIFY,
                                     rect.left + 185, rect.top + 15, 30, 30, nullptr, nullptr, nullptr, nullptr);
  PumpMessages();
  Move(kCentre[3]);
  EXPECT_EQ(buttons().State(Command::Repeat), ButtonState::Normal);
  EXPECT_EQ(GetCapture(), nullptr);
  DestroyWindow(cover);
}

TEST_F(ToolbarInputTest, ClicksOnTheButtonsRunTheirCommands) {
  Open();
  Click(3);
  EXPECT_EQ(buttons().Variant(Command::Repeat), 1);
  EXPECT_EQ(toolbar->settings().Repeat, 1);
  EXPECT_EQ(buttons().State(Command::Repeat), ButtonState::Hover);  // the cursor is still on it
  Click(3);
  EXPECT_EQ(buttons().Variant(Command::Repeat), 0);

  Click(4);
  EXPECT_EQ(buttons().Variant(Command::Language), 1);
  EXPECT_EQ(toolbar->settings().language, 1);

  // The stop button ignores clicks while idle, and a click on it starts no drag.
  Click(2);
  EXPECT_TRUE(engine.Calls("Stop").empty());
  EXPECT_FALSE(toolbar->mouse().Dragging());

  Click(0);
  EXPECT_EQ(app->reading().State(ReadKind::Selection), ReadingState::Speaking);
  EXPECT_EQ(buttons().State(Command::Stop), ButtonState::Normal);
  Click(2);
  EXPECT_EQ(engine.Calls("Stop").size(), 1u);
  EXPECT_EQ(app->reading().State(ReadKind::Selection), ReadingState::Idle);
  EXPECT_EQ(buttons().State(Command::Stop), ButtonState::Disabled);

  MSG posted;
  EXPECT_FALSE(PeekMessageW(&posted, window, WM_CLOSE, WM_CLOSE, PM_NOREMOVE));
  Click(6);
  EXPECT_TRUE(PeekMessageW(&posted, window, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(ToolbarInputTest, PressMoveOffAndReleaseRunsNothing) {
  Open();
  Move(kCentre[3]);
  Down(kCentre[3]);
  EXPECT_EQ(buttons().State(Command::Repeat), ButtonState::Pressed);
  Move(kLogo);
  EXPECT_EQ(buttons().State(Command::Repeat), ButtonState::Hover);  // shown hovered: the click would be lost here
  EXPECT_EQ(GetCapture(), window);
  Move(kCentre[3]);
  EXPECT_EQ(buttons().State(Command::Repeat), ButtonState::Pressed);
  // Released over another button: neither runs, and only hovered or pressed looks are reset.
  Move(kCentre[4]);
  EXPECT_EQ(buttons().State(Command::Language), ButtonState::Normal);
  Up(kCentre[4]);
  EXPECT_EQ(buttons().Variant(Command::Repeat), 0);
  EXPECT_EQ(buttons().Variant(Command::Language), 0);
  EXPECT_EQ(buttons().State(Command::Repeat), ButtonState::Normal);
  EXPECT_EQ(buttons().State(Command::Language), ButtonState::Normal);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(toolbar->mouse().PressedButton(), -1);
}

TEST_F(ToolbarInputTest, LosingTheCaptureKeepsTheStopButtonDisabled) {
  Open();
  Move(kCentre[3]);
  Down(kCentre[3]);
  const HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  SetCapture(other);
  EXPECT_EQ(toolbar->mouse().PressedButton(), -1);
  EXPECT_EQ(buttons().State(Command::Repeat), ButtonState::Normal);
  EXPECT_EQ(buttons().State(Command::Stop), ButtonState::Disabled);
  ReleaseCapture();
  DestroyWindow(other);
  Up(kCentre[3]);
  EXPECT_EQ(buttons().Variant(Command::Repeat), 0);  // the press was cancelled
}

TEST_F(ToolbarInputTest, DragMovesTheWindowByTheCursorsOffsetAndTheMoveIsSaved) {
  Open();
  RECT before{};
  GetWindowRect(window, &before);
  ASSERT_EQ(before.left, kLeft);
  Down(kLogo);
  EXPECT_TRUE(toolbar->mouse().Dragging());
  EXPECT_EQ(GetCapture(), window);
  // Client coordinates are relative to where the window is when the move arrives.
  Move({kLogo.x + 37, kLogo.y + 15});
  // The window now lies 37 right and 15 lower, so this point is 5 left and 4 lower on the screen.
  Move({kLogo.x - 5, kLogo.y + 4});
  Up({kLogo.x - 5, kLogo.y + 4});
  EXPECT_FALSE(toolbar->mouse().Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  RECT after{};
  GetWindowRect(window, &after);
  EXPECT_EQ(after.left, kLeft + 32);
  EXPECT_EQ(after.top, kTop + 19);
  EXPECT_EQ(after.right - after.left, before.right - before.left);

  SendMessageW(window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_EQ(StoredDword(L"x"), static_cast<DWORD>(kLeft + 32));
  EXPECT_EQ(StoredDword(L"y"), static_cast<DWORD>(kTop + 19));
}

TEST_F(ToolbarInputTest, CommandFromOutsideDimsAndUndims) {
  Open();
  SendMessageW(window, WM_COMMAND, 133, 0);
  EXPECT_EQ(buttons().DimmedDisplay(), 1);
  EXPECT_FALSE(buttons().Changed());
  // The dimmed toolbar still reacts to the mouse.
  Click(3);
  EXPECT_EQ(buttons().Variant(Command::Repeat), 1);
  SendMessageW(window, WM_COMMAND, 133, 0);
  EXPECT_EQ(buttons().DimmedDisplay(), 0);
  // Only exactly 133: a notification code in the high word makes it another command.
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(133, 1), 0);
  EXPECT_EQ(buttons().DimmedDisplay(), 0);
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(ToolbarInputTest, WheelChangesTheAlphaByTwelveANotchWithinTheRange) {
  Open();
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(toolbar->currentAlpha(), 255);
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(toolbar->currentAlpha(), 243);
  for (int i = 0; i < 30; ++i) SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(toolbar->currentAlpha(), 55);
  EXPECT_EQ(toolbar->settings().Alpha, 255);  // not stored
}

TEST_F(ToolbarInputTest, MinimiseFadesIntoTheTrayAndAnIconClickBringsItBack) {
  Open();
  RECT before{};
  GetWindowRect(window, &before);
  Click(7);
  EXPECT_TRUE(buttons().InTray());
  EXPECT_EQ(buttons().State(Command::Minimise), ButtonState::Normal);
  EXPECT_EQ(sleeps, std::vector<DWORD>(19, 25));
  RECT inTray{};
  GetWindowRect(window, &inTray);
  EXPECT_EQ(inTray.left, before.left);  // transparent in its old place
  EXPECT_EQ(inTray.top, before.top);
  EXPECT_TRUE(IsWindowVisible(window));

  sleeps.clear();
  MenuWatcher watcher;
  EXPECT_EQ(SendMessageW(window, TrayMessage, kTrayIconId, WM_LBUTTONUP), 1);
  EXPECT_FALSE(buttons().InTray());
  EXPECT_EQ(sleeps, std::vector<DWORD>(7, 25));
  EXPECT_FALSE(buttons().Changed());
  RECT after{};
  GetWindowRect(window, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(toolbar->currentAlpha(), 255);
  PumpMessages();
  EXPECT_FALSE(watcher.opened());
}

TEST_F(ToolbarInputTest, MinimiseWhileStillMarkedInTheTrayFadesInPlace) {
  Open();
  Click(7);
  ASSERT_TRUE(buttons().InTray());
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_TRUE(buttons().InTray());
  sleeps.clear();
  Click(7);
  EXPECT_FALSE(buttons().InTray());
  EXPECT_EQ(sleeps, std::vector<DWORD>(6, 50));  // 1, 124, 186, 217, 232, 240, then 243 stays
  EXPECT_EQ(toolbar->currentAlpha(), 243);
  EXPECT_EQ(buttons().State(Command::Minimise), ButtonState::Normal);
  EXPECT_FALSE(buttons().Changed());
}

TEST_F(ToolbarInputTest, RightButtonStopsTheReadingBeforeTheMenuAndTheTrayMenuDoesNot) {
  Open();
  Click(0);
  ASSERT_EQ(app->reading().State(ReadKind::Selection), ReadingState::Speaking);
  {
    MenuWatcher watcher;
    SendMessageW(window, WM_RBUTTONUP, 0, At(kCentre[3]));
    EXPECT_TRUE(watcher.opened());
  }
  EXPECT_EQ(engine.Calls("Stop").size(), 1u);
  EXPECT_EQ(app->reading().State(ReadKind::Selection), ReadingState::Idle);

  Click(0);
  {
    MenuWatcher watcher;
    EXPECT_EQ(SendMessageW(window, TrayMessage, kTrayIconId, WM_RBUTTONUP), 1);
    EXPECT_TRUE(watcher.opened());
  }
  EXPECT_EQ(engine.Calls("Stop").size(), 1u);
  EXPECT_EQ(app->reading().State(ReadKind::Selection), ReadingState::Speaking);
}

TEST_F(ToolbarInputTest, TrayIconOnADisabledToolbarOnlyBringsItForward) {
  Open();
  Click(7);
  ASSERT_TRUE(buttons().InTray());
  sleeps.clear();
  const HWND other =
      CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  PumpMessages();
  EnableWindow(window, FALSE);
  MenuWatcher watcher;
  SendMessageW(window, TrayMessage, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_EQ(GetForegroundWindow(), window);
  // The release goes to the dialog manager, which reads 0x401 as DM_SETDEFID: no restore.
  SendMessageW(window, TrayMessage, kTrayIconId, WM_LBUTTONUP);
  SendMessageW(window, TrayMessage, kTrayIconId, WM_RBUTTONUP);
  PumpMessages();
  EXPECT_TRUE(buttons().InTray());
  EXPECT_TRUE(sleeps.empty());
  EXPECT_FALSE(watcher.opened());
  EnableWindow(window, TRUE);
  DestroyWindow(other);
}

TEST_F(ToolbarInputTest, MenuDocumentsThatCannotBeOpenedAreReported) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::u16string previous = ProgramDirectory();
  SetProgramDirectory(std::u16string(reinterpret_cast<const char16_t*>(temp)) + u"ostrel-no-documents\\");
  Open();
  SendMessageW(window, WM_COMMAND, 32775, 0);
  SendMessageW(window, WM_COMMAND, 32777, 0);
  SetProgramDirectory(previous);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], L"マニュアルの呼び出しに失敗しました。");
  EXPECT_EQ(boxes[1], L"Branticユーザーサポートページの呼び出しに失敗しました。");
  const std::u16string name = ApplicationName();
  EXPECT_EQ(captions[0], std::wstring(reinterpret_cast<const wchar_t*>(name.c_str())));
  EXPECT_EQ(styles[1], static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_TRUE(IsWindow(window));
}

}  // namespace
}  // namespace ostrel
