#include "ui/dialog_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/dialog_impl_win32.h"
#include "ui/dialog_template_win32.h"
#include "ui/tab_control_win32.h"
#include "ui/window_text_win32.h"
#include "window_test_support.h"

namespace ostrel {
namespace {

using testing::InitCommonControlsForTests;
using testing::PumpMessages;

constexpr int kFirstNumber = 1013;  // number boxes 1013..1017
constexpr int kLastNumber = 1017;
constexpr int kPathEdit = 1021;
constexpr int kTestButton = 1020;
constexpr int kSlider = 1008;
constexpr int kTab = 1002;
constexpr UINT kTrayMessage = 0x401;
constexpr WPARAM kDimCommand = 133;

ui::DialogTemplate TestTemplate(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME) {
  ui::DialogTemplate t(style, 240, 160);
  t.Caption(L"テスト").Font(8, L"MS Shell Dlg");
  t.Control(L"EDIT", kFirstNumber, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE, 10, 10, 35, 14);
  for (int id = kFirstNumber + 1; id <= kLastNumber; ++id) {
    t.Control(L"EDIT", id, L"", ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE, 10, static_cast<short>(10 + 16 * (id - kFirstNumber)), 35, 14);
  }
  t.Control(L"EDIT", kPathEdit, L"", ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_VISIBLE, 60, 10, 160, 14);
  t.Control(TRACKBAR_CLASSW, kSlider, L"", TBS_AUTOTICKS | WS_VISIBLE, 60, 30, 115, 15);
  t.Control(WC_TABCONTROLW, kTab, L"", WS_VISIBLE, 60, 50, 170, 40);
  t.Control(L"BUTTON", kTestButton, L"テスト", BS_PUSHBUTTON | WS_VISIBLE, 60, 100, 42, 14);
  t.Control(L"BUTTON", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 60, 140, 50, 14);
  t.Control(L"BUTTON", IDCANCEL, L"キャンセル", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 120, 140, 50, 14);
  return t;
}

ui::DialogTemplate PageTemplate() {
  ui::DialogTemplate t(WS_CHILD | DS_CONTROL, 100, 60);
  t.Font(9, L"MS Shell Dlg").Control(L"EDIT", kFirstNumber, L"", WS_BORDER | WS_VISIBLE, 5, 5, 40, 14);
  return t;
}

class DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitCommonControlsForTests(); }
  void TearDown() override { PumpMessages(); }
};

// --- the handler table -----------------------------------------------------------

class TableDialog : public ui::DialogImpl<TableDialog> {
 public:
  TableDialog() : DialogImpl(TestTemplate()) {}
  std::vector<std::wstring> events;
  bool allowTabChange = false;

 private:
  friend class ui::DialogImpl<TableDialog>;

  LRESULT OnAppMessage(WPARAM wParam, LPARAM) {
    events.push_back(L"app");
    return 1000 + static_cast<LRESULT>(wParam);
  }
  void OnTestButton() { events.push_back(L"test button"); }
  void OnNumberTyped(int id) { events.push_back(L"typed " + std::to_wstring(id) + L" " + ui::GetItemText(hwnd(), id)); }
  LRESULT OnTabChanging(NMHDR*) {
    events.push_back(L"tab changing");
    return allowTabChange ? FALSE : TRUE;  // TRUE keeps the selection
  }
  void OnTabChange() { events.push_back(L"tab change"); }
  void OnSliderMoved(HWND slider) {
    events.push_back(L"slider " + std::to_wstring(GetDlgCtrlID(slider)) + L" at " +
                     std::to_wstring(SendMessageW(slider, TBM_GETPOS, 0, 0)));
  }

  static constexpr ui::Handlers<TableDialog> kHandlers{
      ui::OnMessage(WM_APP, &TableDialog::OnAppMessage),
      ui::OnCommand(kTestButton, BN_CLICKED, &TableDialog::OnTestButton),
      ui::OnCommandRange(kFirstNumber, kLastNumber, EN_CHANGE, &TableDialog::OnNumberTyped),
      ui::OnNotify(kTab, TCN_SELCHANGING, &TableDialog::OnTabChanging),
      ui::OnNotify(kTab, TCN_SELCHANGE, &TableDialog::OnTabChange),
      ui::OnHScroll(&TableDialog::OnSliderMoved),
  };
};

TEST_F(DialogTest, TableAnswersMessagesCommandsRangesNotificationsAndScrolls) {
  TableDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  HWND window = dialog.hwnd();

  EXPECT_EQ(SendMessageW(window, WM_APP, 5, 0), 1005);  // the result travels through DWLP_MSGRESULT

  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kTestButton, BN_CLICKED), reinterpret_cast<LPARAM>(dialog.Item(kTestButton)));
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kTestButton, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(dialog.Item(kTestButton)));

  ui::SetItemText(window, 1014, L"150");  // a real EN_CHANGE from inside the range
  ui::SetItemText(window, kPathEdit, L"C:\\x.csv");  // outside it

  SendMessageW(dialog.Item(kSlider), WM_KEYDOWN, VK_RIGHT, 0);

  const ui::TabControl tab(window, kTab);
  ASSERT_EQ(tab.InsertItem(0, L"A"), 0);
  ASSERT_EQ(tab.InsertItem(1, L"B"), 1);
  tab.SetCurSel(0);
  RECT second{};
  SendMessageW(tab.hwnd(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  const LPARAM click = MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2);
  SendMessageW(tab.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, click);
  SendMessageW(tab.hwnd(), WM_LBUTTONUP, 0, click);
  EXPECT_EQ(tab.GetCurSel(), 0) << "the TRUE result of TCN_SELCHANGING was lost";
  dialog.allowTabChange = true;
  SendMessageW(tab.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, click);
  SendMessageW(tab.hwnd(), WM_LBUTTONUP, 0, click);
  EXPECT_EQ(tab.GetCurSel(), 1);

  const std::vector<std::wstring> expected{L"app",          L"test button",  L"typed 1014 150", L"slider 1008 at 1",
                                           L"tab changing", L"tab changing", L"tab change"};
  EXPECT_EQ(dialog.events, expected);

  // Not in the table: the dialog manager answers.
  EXPECT_EQ(SendMessageW(window, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
}

// --- interception before the table, and the default handling -----------------------

class InterceptingDialog : public ui::DialogImpl<InterceptingDialog> {
 public:
  InterceptingDialog() : DialogImpl(TestTemplate()) {}
  std::vector<std::wstring> log;
  bool dimmed = false;
  bool defaultFirstOnClose = false;

  void OnDimCommand() { log.push_back(L"table 133"); }
  LRESULT OnTrayMessage(WPARAM, LPARAM) {
    log.push_back(L"table tray");
    return 7;
  }
  LRESULT OnWindowPosChanged(WPARAM, LPARAM) {
    log.push_back(L"pos changed");
    const LRESULT result = DefaultHandling();  // sends WM_MOVE, which must still reach the table
    log.push_back(L"pos changed after default");
    return result;
  }
  LRESULT OnMove(WPARAM, LPARAM) {
    log.push_back(L"move");
    return 0;
  }

  static constexpr ui::Handlers<InterceptingDialog> kHandlers{
      ui::OnCommand(static_cast<UINT>(kDimCommand), 0, &InterceptingDialog::OnDimCommand),
      ui::OnMessage(kTrayMessage, &InterceptingDialog::OnTrayMessage),
      ui::OnMessage(WM_WINDOWPOSCHANGED, &InterceptingDialog::OnWindowPosChanged),
      ui::OnMessage(WM_MOVE, &InterceptingDialog::OnMove),
  };

 protected:
  bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND && wParam == kDimCommand) {
      dimmed = !dimmed;
      log.push_back(L"proc 133");
      return false;
    }
    if (message == kTrayMessage && lParam == WM_LBUTTONUP) {
      result = 1;
      return true;
    }
    if (message == WM_CLOSE && defaultFirstOnClose) DefaultHandling();
    return false;
  }
};

TEST_F(DialogTest, WindowProcSeesMessagesBeforeTheTableAndMayStopThem) {
  InterceptingDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));

  PostMessageW(dialog.hwnd(), WM_COMMAND, kDimCommand, 0);
  PumpMessages();
  EXPECT_TRUE(dialog.dimmed);
  EXPECT_EQ(dialog.log, (std::vector<std::wstring>{L"proc 133", L"table 133"}));

  dialog.log.clear();
  EXPECT_EQ(SendMessageW(dialog.hwnd(), kTrayMessage, 1, WM_LBUTTONUP), 1);
  EXPECT_TRUE(dialog.log.empty());
  EXPECT_EQ(SendMessageW(dialog.hwnd(), kTrayMessage, 1, WM_MOUSEMOVE), 7);
  EXPECT_EQ(dialog.log, (std::vector<std::wstring>{L"table tray"}));
}

TEST_F(DialogTest, DefaultHandlingRunsInsideAHandlerWithoutSwallowingWhatItSends) {
  InterceptingDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  dialog.log.clear();
  SetWindowPos(dialog.hwnd(), nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(dialog.log, (std::vector<std::wstring>{L"pos changed", L"move", L"pos changed after default"}));
}

int CountPostedCancels(HWND window) {
  int count = 0;
  MSG message;
  while (PeekMessageW(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    if (LOWORD(message.wParam) == IDCANCEL) ++count;
  }
  return count;
}

TEST_F(DialogTest, DefaultHandlingRunsOncePerMessage) {
  InterceptingDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  // WM_CLOSE is in no table: the dialog manager posts the Cancel command.
  SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(CountPostedCancels(dialog.hwnd()), 1);
  // Run early by WindowProc, it is not run a second time after the table.
  dialog.defaultFirstOnClose = true;
  SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(CountPostedCancels(dialog.hwnd()), 1);
}

// --- modal runs ------------------------------------------------------------------

class ScriptedDialog : public ui::DialogImpl<ScriptedDialog> {
 public:
  explicit ScriptedDialog(const ui::DialogTemplate& source = TestTemplate()) : DialogImpl(source) {}

  std::function<void(ScriptedDialog&)> onInit;
  std::function<void(ScriptedDialog&, WPARAM)> onApp;
  std::function<bool(ScriptedDialog&, MSG&)> preTranslate;
  std::function<void()> onDestroy;
  int initCount = 0;
  bool visibleAtInit = true;

  LRESULT OnApp(WPARAM wParam, LPARAM) {
    if (onApp) onApp(*this, wParam);
    return 0;
  }
  LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
  LRESULT OnDestroy(WPARAM, LPARAM) {
    if (onDestroy) onDestroy();
    return 0;
  }

  static constexpr ui::Handlers<ScriptedDialog> kHandlers{
      ui::OnMessage(WM_APP, &ScriptedDialog::OnApp),
      ui::OnMessage(WM_APP + 9, &ScriptedDialog::OnThrow),
      ui::OnMessage(WM_DESTROY, &ScriptedDialog::OnDestroy),
  };

 protected:
  BOOL OnInitDialog() override {
    ++initCount;
    visibleAtInit = IsWindowVisible(hwnd()) != FALSE;
    if (onInit) onInit(*this);
    return TRUE;
  }
  bool PreTranslateMessage(MSG& message) override { return preTranslate && preTranslate(*this, message); }
};

// Shown without activation: Wine then does not wait (2 s) for a window manager when it goes.
class Owner {
 public:
  Owner() : window_(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr)) {
    ShowWindow(window_, SW_SHOWNOACTIVATE);
  }
  ~Owner() { DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

TEST_F(DialogTest, DoModalReturnsTheEndDialogValueAndDestroysTheWindow) {
  ScriptedDialog dialog;
  HWND seen = nullptr;
  bool shownWhenRunning = false;
  dialog.onInit = [&](ScriptedDialog& d) {
    seen = d.hwnd();
    EXPECT_NE(d.Item(IDOK), nullptr);
    PostMessageW(d.hwnd(), WM_APP, 0, 0);
  };
  dialog.onApp = [&](ScriptedDialog& d, WPARAM) {
    shownWhenRunning = IsWindowVisible(d.hwnd()) != FALSE;
    d.EndDialog(42);
  };
  EXPECT_EQ(dialog.DoModal(nullptr), 42);
  EXPECT_EQ(dialog.initCount, 1);
  EXPECT_FALSE(dialog.visibleAtInit);
  EXPECT_TRUE(shownWhenRunning);
  EXPECT_EQ(dialog.hwnd(), nullptr);
  EXPECT_FALSE(IsWindow(seen));
}

TEST_F(DialogTest, CloseCancelOkAndKeysEndTheRunThroughTheDialogManager) {
  struct Case {
    const char* name;
    std::function<void(ScriptedDialog&)> post;
    INT_PTR expected;
  };
  const Case cases[] = {
      {"WM_CLOSE", [](ScriptedDialog& d) { PostMessageW(d.hwnd(), WM_CLOSE, 0, 0); }, IDCANCEL},
      {"IDOK", [](ScriptedDialog& d) { PostMessageW(d.hwnd(), WM_COMMAND, IDOK, 0); }, IDOK},
      {"IDCANCEL", [](ScriptedDialog& d) { PostMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }, IDCANCEL},
      {"Escape", [](ScriptedDialog& d) { PostMessageW(d.Item(kFirstNumber), WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
      {"Enter", [](ScriptedDialog& d) { PostMessageW(d.Item(kFirstNumber), WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
  };
  for (const Case& c : cases) {
    ScriptedDialog dialog;
    dialog.onInit = c.post;
    EXPECT_EQ(dialog.DoModal(nullptr), c.expected) << c.name;
  }
}

TEST_F(DialogTest, TheOwnerIsDisabledDuringTheRunAndEnabledBeforeTheWindowGoes) {
  Owner owner;
  SetForegroundWindow(owner.get());
  PumpMessages();
  ScriptedDialog dialog;
  bool ownerEnabledDuringRun = true;
  bool ownerEnabledAtDestroy = false;
  dialog.onInit = [&](ScriptedDialog& d) {
    ownerEnabledDuringRun = IsWindowEnabled(owner.get()) != FALSE;
    EXPECT_EQ(GetWindow(d.hwnd(), GW_OWNER), owner.get());
    PostMessageW(d.hwnd(), WM_COMMAND, IDOK, 0);
  };
  dialog.onDestroy = [&] { ownerEnabledAtDestroy = IsWindowEnabled(owner.get()) != FALSE; };
  EXPECT_EQ(dialog.DoModal(owner.get()), IDOK);
  EXPECT_FALSE(ownerEnabledDuringRun);
  EXPECT_TRUE(ownerEnabledAtDestroy);
  EXPECT_TRUE(IsWindowEnabled(owner.get()));
  EXPECT_EQ(GetActiveWindow(), owner.get()) << "activation went elsewhere when the dialog went";

  // An owner that an outer run disabled stays disabled.
  EnableWindow(owner.get(), FALSE);
  ScriptedDialog second;
  second.onInit = [](ScriptedDialog& d) { PostMessageW(d.hwnd(), WM_COMMAND, IDOK, 0); };
  EXPECT_EQ(second.DoModal(owner.get()), IDOK);
  EXPECT_FALSE(IsWindowEnabled(owner.get()));
}

TEST_F(DialogTest, AModalRunOpenedFromAHandlerOfAnotherEndsOnItsOwn) {
  Owner owner;
  ScriptedDialog outer;
  INT_PTR innerResult = 0;
  bool outerEnabledDuringInner = true;
  bool outerEnabledAfterInner = false;
  outer.onInit = [](ScriptedDialog& d) { PostMessageW(d.hwnd(), WM_APP, 0, 0); };
  outer.onApp = [&](ScriptedDialog& d, WPARAM) {
    ScriptedDialog inner;
    inner.onInit = [&](ScriptedDialog& i) {
      outerEnabledDuringInner = IsWindowEnabled(d.hwnd()) != FALSE;
      PostMessageW(i.hwnd(), WM_CLOSE, 0, 0);
    };
    innerResult = inner.DoModal(d.hwnd());
    outerEnabledAfterInner = IsWindowEnabled(d.hwnd()) != FALSE;
    EXPECT_FALSE(IsWindowEnabled(owner.get()));
    d.EndDialog(7);
  };
  EXPECT_EQ(outer.DoModal(owner.get()), 7);
  EXPECT_EQ(innerResult, IDCANCEL);
  EXPECT_FALSE(outerEnabledDuringInner);
  EXPECT_TRUE(outerEnabledAfterInner);
  EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

TEST_F(DialogTest, AQuitMessageEndsTheRunAndIsPostedAgain) {
  ScriptedDialog dialog;
  dialog.onInit = [](ScriptedDialog&) { PostQuitMessage(3); };
  EXPECT_EQ(dialog.DoModal(nullptr), -1);
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
}

TEST_F(DialogTest, EndDialogDuringInitialisationEndsWithoutShowing) {
  ScriptedDialog dialog;
  HWND seen = nullptr;
  dialog.onInit = [&](ScriptedDialog& d) {
    seen = d.hwnd();
    d.EndDialog(5);
  };
  bool everShown = false;
  dialog.onDestroy = [&] { everShown = IsWindowVisible(seen) != FALSE; };
  EXPECT_EQ(dialog.DoModal(nullptr), 5);
  EXPECT_FALSE(everShown);
}

TEST_F(DialogTest, AMissingTemplateFailsTheRunAndLeavesTheOwnerEnabled) {
  Owner owner;
  ui::Dialog missing(59999);
  EXPECT_EQ(missing.DoModal(owner.get()), -1);
  EXPECT_TRUE(IsWindowEnabled(owner.get()));
  EXPECT_FALSE(missing.Create(owner.get()));
}

TEST_F(DialogTest, DestroyingTheWindowEndsTheRun) {
  Owner owner;
  ScriptedDialog dialog;
  dialog.onInit = [](ScriptedDialog& d) { PostMessageW(d.hwnd(), WM_APP, 0, 0); };
  dialog.onApp = [](ScriptedDialog& d, WPARAM) { d.Destroy(); };
  EXPECT_EQ(dialog.DoModal(owner.get()), -1);
  EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

TEST_F(DialogTest, PreTranslateMessageSeesQueuedMessagesForTheDialogAndItsControls) {
  ScriptedDialog dialog;
  std::vector<std::pair<int, UINT>> seen;  // control id (0 for the dialog), message
  int appHandled = 0;
  dialog.onInit = [](ScriptedDialog& d) {
    PostMessageW(d.hwnd(), WM_APP, 1, 0);
    PostMessageW(d.Item(kFirstNumber), WM_APP + 2, 0, 0);
    PostMessageW(d.hwnd(), WM_APP, 2, 0);
  };
  dialog.preTranslate = [&](ScriptedDialog& d, MSG& message) {
    if (message.message < WM_APP || message.message > WM_APP + 2) return false;
    seen.emplace_back(message.hwnd == d.hwnd() ? 0 : GetDlgCtrlID(message.hwnd), message.message);
    return message.message == WM_APP && message.wParam == 1;  // taken here: no handler runs
  };
  dialog.onApp = [&](ScriptedDialog& d, WPARAM wParam) {
    ++appHandled;
    if (wParam == 2) d.EndDialog(IDOK);
  };
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_EQ(seen, (std::vector<std::pair<int, UINT>>{{0, WM_APP}, {kFirstNumber, WM_APP + 2}, {0, WM_APP}}));
  EXPECT_EQ(appHandled, 1);
}

TEST_F(DialogTest, AnExceptionInAHandlerStopsAtTheDialogProcedure) {
  ScriptedDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_EQ(SendMessageW(dialog.hwnd(), WM_APP + 9, 0, 0), 0);
  EXPECT_TRUE(IsWindow(dialog.hwnd()));
}

TEST_F(DialogTest, TheObjectAndItsWindowLetGoOfEachOther) {
  // The window goes first: the object forgets it, and its WM_DESTROY handler ran.
  ScriptedDialog first;
  bool destroyHandled = false;
  first.onDestroy = [&] { destroyHandled = true; };
  ASSERT_TRUE(first.Create(nullptr));
  DestroyWindow(first.hwnd());
  EXPECT_TRUE(destroyHandled);
  EXPECT_EQ(first.hwnd(), nullptr);

  // The object goes first: its window goes with it, and late messages reach nothing.
  int appHandled = 0;
  auto second = std::make_unique<ScriptedDialog>();
  second->onApp = [&](ScriptedDialog&, WPARAM) { ++appHandled; };
  ASSERT_TRUE(second->Create(nullptr));
  HWND window = second->hwnd();
  PostMessageW(window, WM_APP, 0, 0);
  second.reset();
  PumpMessages();
  EXPECT_EQ(appHandled, 0);
  EXPECT_FALSE(IsWindow(window));
}

// --- child pages -----------------------------------------------------------------

TEST_F(DialogTest, PagesAreCreatedHiddenAndMoveWithoutChangingSize) {
  ScriptedDialog frame;
  ASSERT_TRUE(frame.Create(nullptr));
  ScriptedDialog page(PageTemplate());
  ASSERT_TRUE(page.Create(frame.hwnd()));
  EXPECT_EQ(GetParent(page.hwnd()), frame.hwnd());
  EXPECT_FALSE(GetWindowLongPtrW(page.hwnd(), GWL_STYLE) & WS_VISIBLE);

  RECT before{};
  GetWindowRect(page.hwnd(), &before);
  page.MoveTo(15, 25);
  RECT after{};
  GetWindowRect(page.hwnd(), &after);
  POINT topLeft{after.left, after.top};
  ScreenToClient(frame.hwnd(), &topLeft);
  EXPECT_EQ(topLeft.x, 15);
  EXPECT_EQ(topLeft.y, 25);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);

  page.Show(true);
  EXPECT_TRUE(GetWindowLongPtrW(page.hwnd(), GWL_STYLE) & WS_VISIBLE);
  page.Show(false);
  EXPECT_FALSE(GetWindowLongPtrW(page.hwnd(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(page.Create(frame.hwnd())) << "one window per object";
}

TEST_F(DialogTest, APageSeesQueuedMessagesForItsControlsBeforeItsFrame) {
  ScriptedDialog page(PageTemplate());
  ScriptedDialog frame;
  std::vector<std::wstring> order;
  page.preTranslate = [&](ScriptedDialog&, MSG& message) {
    if (message.message == WM_APP + 2) order.push_back(L"page");
    return false;
  };
  frame.preTranslate = [&](ScriptedDialog&, MSG& message) {
    if (message.message == WM_APP + 2) order.push_back(L"frame");
    return false;
  };
  frame.onInit = [&](ScriptedDialog& d) {
    ASSERT_TRUE(page.Create(d.hwnd()));
    PostMessageW(page.Item(kFirstNumber), WM_APP + 2, 0, 0);
    PostMessageW(d.hwnd(), WM_COMMAND, IDOK, 0);
  };
  EXPECT_EQ(frame.DoModal(nullptr), IDOK);
  EXPECT_EQ(order, (std::vector<std::wstring>{L"page", L"frame"}));
  EXPECT_EQ(page.hwnd(), nullptr) << "the page went with its frame";
}

TEST_F(DialogTest, TemplatesBuiltInMemoryCarryCaptionStylesAndControls) {
  ScriptedDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_EQ(ui::GetText(dialog.hwnd()), L"テスト");
  EXPECT_TRUE(GetWindowLongPtrW(dialog.hwnd(), GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(ui::GetItemText(dialog.hwnd(), IDCANCEL), L"キャンセル");
  wchar_t className[64] = {};
  GetClassNameW(dialog.Item(kSlider), className, 64);
  EXPECT_STREQ(className, TRACKBAR_CLASSW);
  RECT units{240, 160, 0, 0};
  MapDialogRect(dialog.hwnd(), &units);
  RECT client{};
  GetClientRect(dialog.hwnd(), &client);
  EXPECT_EQ(client.right, units.left);
  EXPECT_EQ(client.bottom, units.top);
}

}  // namespace
}  // namespace ostrel
