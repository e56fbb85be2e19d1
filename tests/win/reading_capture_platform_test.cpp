// The capture's platform side under Wine: keystrokes, clipboard, focus, windows, timer, messages.

#include "reading/capture_platform_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/seams_win32.h"
#include "reading/clipboard_reader_win32.h"
#include "clipboard_test_support.h"
#include "window_test_support.h"

namespace ostrel {
namespace {

using testing::ClipboardBytes;
using testing::ExpectSameBytes;
using testing::PumpMessages;
using testing::PumpUntil;
using testing::PutTextPictureAndPrivateData;

bool ClearClipboard() { return testing::ClearClipboard(nullptr); }
bool PutText(const std::u16string& text) { return testing::PutText(nullptr, text); }

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kPong = WM_APP + 2;

std::vector<UINT>& Handled() {
  static std::vector<UINT> handled;
  return handled;
}

// Answers a ping with a pong posted to itself, so a dispatch must also take what
// arrives while it dispatches.
LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kPing || message == kPong) {
    Handled().push_back(message);
    if (message == kPing) PostMessageW(window, kPong, 0, 0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* TestWindowClass() {
  static const ATOM atom = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"OstrelReadingTestWindow";
    return RegisterClassW(&windowClass);
  }();
  return atom ? L"OstrelReadingTestWindow" : nullptr;
}

// A popup window: no system menu for Alt to open, no window manager frame.
class TestWindow {
 public:
  explicit TestWindow(const wchar_t* title, DWORD exStyle = 0, bool visible = true)
      : window_(CreateWindowExW(exStyle, TestWindowClass(), title, WS_POPUP | (visible ? WS_VISIBLE : 0), 10, 10,
                                300, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~TestWindow() {
    if (window_) DestroyWindow(window_);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

uintptr_t Id(HWND window) { return reinterpret_cast<uintptr_t>(window); }

// Every keystroke as the system sees it, from a low-level keyboard hook.
struct KeyEvent {
  DWORD virtualKey;
  DWORD scanCode;
  DWORD flags;
  ULONG_PTR extraInfo;
};

std::vector<KeyEvent>& SeenKeys() {
  static std::vector<KeyEvent> keys;
  return keys;
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    SeenKeys().push_back({key->vkCode, key->scanCode, key->flags, key->dwExtraInfo});
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class KeyRecorder {
 public:
  KeyRecorder() : hook_(SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, GetModuleHandleW(nullptr), 0)) {
    SeenKeys().clear();
  }
  ~KeyRecorder() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  KeyRecorder(const KeyRecorder&) = delete;
  KeyRecorder& operator=(const KeyRecorder&) = delete;
  bool installed() const { return hook_ != nullptr; }

 private:
  HHOOK hook_;
};

class ReadingCapturePlatform : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(toolbar.get(), nullptr);
    Handled().clear();
    PumpMessages();
  }
  void TearDown() override { PumpMessages(); }

  TestWindow toolbar{L"Ostrel toolbar under test", WS_EX_TOPMOST};
  Win32CapturePlatform platform{toolbar.get()};
  Win32WindowFocus windows;
};

// The one place that pins down the keys a capture sends: left Ctrl around A (select all),
// then around C (copy), each an extended key with its scan code, injected without extra data.
TEST_F(ReadingCapturePlatform, CopyKeysAreLeftControlChordsSelectAllFirst) {
  TestWindow target(L"Ostrel key target");
  SetForegroundWindow(target.get());
  KeyRecorder recorder;
  ASSERT_TRUE(recorder.installed());

  platform.SendCopyKeys(CopyKeys::kSelectAllAndCopy, false);
  ASSERT_TRUE(PumpUntil([] { return SeenKeys().size() >= 8; })) << SeenKeys().size() << " keys seen";

  const std::vector<DWORD> keys = {VK_LCONTROL, 'A', 'A', VK_LCONTROL, VK_LCONTROL, 'C', 'C', VK_LCONTROL};
  ASSERT_EQ(SeenKeys().size(), keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    const KeyEvent& seen = SeenKeys()[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(seen.virtualKey, keys[i]);
    EXPECT_EQ(seen.scanCode, MapVirtualKeyW(keys[i], 0));
    EXPECT_NE(seen.flags & LLKHF_EXTENDED, 0u);
    EXPECT_EQ((seen.flags & LLKHF_UP) != 0, i % 4 >= 2);
    EXPECT_NE(seen.flags & LLKHF_INJECTED, 0u);
    EXPECT_EQ(seen.extraInfo, 0u);
  }
  EXPECT_EQ(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0) << "Ctrl left held down";
}

void SendKey(WORD virtualKey, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, 0));
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

bool KeyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// A modifier still held from the hot key would make Ctrl+C another command (Ctrl+Shift+C
// opens a browser's developer tools): it is released first and stays released. Alt and the
// Windows keys go up while Ctrl is down, so that their release opens no menu.
struct Seen {
  DWORD virtualKey;
  bool up;
  friend bool operator==(const Seen&, const Seen&) = default;
  friend void PrintTo(const Seen& key, std::ostream* out) { *out << key.virtualKey << (key.up ? " up" : " down"); }
};

TEST_F(ReadingCapturePlatform, ModifiersHeldFromTheHotKeyAreReleasedBeforeTheCopyKeys) {
  struct Row {
    const char* name;
    std::vector<std::pair<WORD, DWORD>> held;
    std::vector<Seen> keys;
  };
  const Seen ctrlDown{VK_LCONTROL, false}, cDown{'C', false}, cUp{'C', true}, ctrlUp{VK_LCONTROL, true};
  const std::vector<Row> rows = {
      {"Shift", {{VK_LSHIFT, 0}}, {{VK_LSHIFT, true}, ctrlDown, cDown, cUp, ctrlUp}},
      {"Alt", {{VK_LMENU, 0}}, {ctrlDown, {VK_LMENU, true}, cDown, cUp, ctrlUp}},
      {"Shift and Alt", {{VK_LSHIFT, 0}, {VK_LMENU, 0}}, {{VK_LSHIFT, true}, ctrlDown, {VK_LMENU, true}, cDown, cUp, ctrlUp}},
      {"Windows key", {{VK_LWIN, KEYEVENTF_EXTENDEDKEY}}, {ctrlDown, {VK_LWIN, true}, cDown, cUp, ctrlUp}},
      {"nothing held", {}, {ctrlDown, cDown, cUp, ctrlUp}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TestWindow target(L"Ostrel key target");
    SetForegroundWindow(target.get());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == target.get(); }));
    // Wine sets the key state anew from the X server's when the focus arrives there, which
    // may come after the keys: a key found up again is pressed again.
    ULONGLONG pressedAt = 0;
    ASSERT_TRUE(PumpUntil(
        [&] {
          const bool allDown = std::all_of(row.held.begin(), row.held.end(),
                                           [](const auto& held) { return KeyDown(held.first); });
          if (!allDown && GetTickCount64() - pressedAt >= 250) {
            for (const auto& [key, flags] : row.held) {
              if (!KeyDown(key)) SendKey(key, flags);
            }
            pressedAt = GetTickCount64();
          }
          return allDown;
        },
        5000))
        << "the held keys did not register";

    std::vector<Seen> seen;
    {
      KeyRecorder recorder;
      ASSERT_TRUE(recorder.installed());
      platform.SendCopyKeys(CopyKeys::kCopy, false);
      PumpUntil([&] { return SeenKeys().size() >= row.keys.size(); });
      PumpMessages();
      for (const KeyEvent& key : SeenKeys()) seen.push_back({key.virtualKey, (key.flags & LLKHF_UP) != 0});
    }
    EXPECT_EQ(seen, row.keys);
    for (const int key : {VK_SHIFT, VK_MENU, VK_CONTROL, VK_LWIN}) EXPECT_FALSE(KeyDown(key)) << key << " still down";
  }
}

TEST_F(ReadingCapturePlatform, AltEscapeIsAltAroundEscape) {
  TestWindow target(L"Ostrel key target");
  SetForegroundWindow(target.get());
  KeyRecorder recorder;
  ASSERT_TRUE(recorder.installed());

  windows.SendAltEscape();
  ASSERT_TRUE(PumpUntil([] { return SeenKeys().size() >= 4; })) << SeenKeys().size() << " keys seen";

  const std::vector<DWORD> keys = {VK_MENU, VK_ESCAPE, VK_ESCAPE, VK_MENU};
  const std::vector<DWORD> menuKeys = {VK_MENU, VK_LMENU};  // either is how the system may report Alt
  ASSERT_EQ(SeenKeys().size(), 4u);
  for (size_t i = 0; i < keys.size(); ++i) {
    const KeyEvent& seen = SeenKeys()[i];
    SCOPED_TRACE(i);
    if (keys[i] == VK_MENU) {
      EXPECT_NE(std::find(menuKeys.begin(), menuKeys.end(), seen.virtualKey), menuKeys.end()) << seen.virtualKey;
    } else {
      EXPECT_EQ(seen.virtualKey, keys[i]);
    }
    EXPECT_EQ(seen.scanCode, MapVirtualKeyW(keys[i], 0) & 0xFF);
    EXPECT_EQ(seen.flags & LLKHF_EXTENDED, 0u);
    EXPECT_EQ((seen.flags & LLKHF_UP) != 0, i >= 2);
    EXPECT_EQ(seen.extraInfo, 0u);
  }
  EXPECT_EQ(GetAsyncKeyState(VK_MENU) & 0x8000, 0) << "Alt left held down";
}

class EditWindow {
 public:
  explicit EditWindow(const wchar_t* text)
      : frame_(L"Ostrel editor"),
        edit_(CreateWindowExW(0, L"EDIT", text, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 280, 24, frame_.get(),
                              nullptr, GetModuleHandleW(nullptr), nullptr)) {
    SetForegroundWindow(frame_.get());
    SetFocus(edit_);
    PumpMessages();
  }
  HWND frame() const { return frame_.get(); }
  HWND edit() const { return edit_; }
  std::pair<DWORD, DWORD> Selection() const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }

 private:
  TestWindow frame_;
  HWND edit_;
};

std::optional<std::u16string> TakeClipboardText(HWND owner) {
  Win32ClipboardReader reader(owner);
  if (!reader.Open()) return std::nullopt;
  std::optional<std::u16string> text = reader.UnicodeText();
  reader.Empty();
  reader.Close();
  return text;
}

TEST_F(ReadingCapturePlatform, CopyKeysCopyTheSelectionOfTheFocusedEditor) {
  // The quick capture sends the same keys once the editor is in front.
  for (const bool quick : {false, true}) {
    SCOPED_TRACE(quick);
    EditWindow editor(L"選択した部分 and the rest");
    ASSERT_NE(editor.edit(), nullptr);
    ASSERT_EQ(GetFocus(), editor.edit());
    SendMessageW(editor.edit(), EM_SETSEL, 0, 6);
    ASSERT_TRUE(ClearClipboard());

    platform.SendCopyKeys(CopyKeys::kCopy, quick);
    ASSERT_TRUE(PumpUntil([] { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }))
        << "the editor copied nothing";
    EXPECT_EQ(TakeClipboardText(toolbar.get()), u"選択した部分");
  }
}

TEST_F(ReadingCapturePlatform, SelectAllAndCopyKeysCopyTheWholeText) {
  const std::u16string whole = u"the whole text of the editor";
  EditWindow editor(reinterpret_cast<const wchar_t*>(whole.c_str()));
  ASSERT_EQ(GetFocus(), editor.edit());
  SendMessageW(editor.edit(), EM_SETSEL, 3, 3);
  ASSERT_TRUE(ClearClipboard());

  platform.SendCopyKeys(CopyKeys::kSelectAllAndCopy, false);
  ASSERT_TRUE(PumpUntil([] { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }))
      << "the editor copied nothing; selection " << editor.Selection().first << ".." << editor.Selection().second;
  EXPECT_EQ(editor.Selection(), std::make_pair(DWORD{0}, static_cast<DWORD>(whole.size())));
  EXPECT_EQ(TakeClipboardText(toolbar.get()), whole);
}

TEST_F(ReadingCapturePlatform, ClearingEmptiesTheClipboardAndClosesIt) {
  ASSERT_TRUE(PutText(u"old text"));
  EXPECT_EQ(platform.ClearClipboard(false), ClipboardClearing::kCleared);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
}

// Another program holds the clipboard open for longer than the retries last.
DWORD WINAPI HoldClipboardOpen(void* parameter) {
  auto* events = static_cast<HANDLE*>(parameter);
  HWND holder = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  const bool opened = holder && OpenClipboard(holder);
  SetEvent(events[0]);
  WaitForSingleObject(events[1], 10000);
  if (opened) CloseClipboard();
  if (holder) DestroyWindow(holder);
  return opened ? 0 : 1;
}

TEST_F(ReadingCapturePlatform, ClearingFailsWhileAnotherProgramHoldsTheClipboard) {
  ASSERT_TRUE(PutText(u"kept text"));
  HANDLE events[2] = {CreateEventW(nullptr, TRUE, FALSE, nullptr), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HANDLE holder = CreateThread(nullptr, 0, HoldClipboardOpen, events, 0, nullptr);
  ASSERT_NE(holder, nullptr);
  ASSERT_EQ(WaitForSingleObject(events[0], 5000), WAIT_OBJECT_0);
  ASSERT_NE(GetOpenClipboardWindow(), nullptr) << "the holder could not open the clipboard";

  EXPECT_EQ(platform.ClearClipboard(false), ClipboardClearing::kNotOpened);
  EXPECT_NE(GetOpenClipboardWindow(), toolbar.get());

  SetEvent(events[1]);
  WaitForSingleObject(holder, 5000);
  CloseHandle(holder);
  CloseHandle(events[0]);
  CloseHandle(events[1]);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT)) << "what the other program holds was emptied";
}

TEST_F(ReadingCapturePlatform, AKeptClipboardGoesBackWithTheBytesOfEachFormat) {
  const UINT privateFormat = RegisterClipboardFormatW(L"OstrelTests.Private");
  const std::vector<UINT> formats = {CF_UNICODETEXT, privateFormat, CF_DIB};
  TestWindow other(L"Ostrel other program");
  ASSERT_TRUE(PutTextPictureAndPrivateData(other.get(), privateFormat));
  const auto before = ClipboardBytes(formats);

  ASSERT_EQ(platform.ClearClipboard(true), ClipboardClearing::kCleared);
  EXPECT_EQ(CountClipboardFormats(), 0);
  // What the application copies and the reading takes.
  ASSERT_TRUE(PutText(u"the captured text"));
  ASSERT_TRUE(ClearClipboard());
  const DWORD sequence = GetClipboardSequenceNumber();

  EXPECT_TRUE(platform.PutKeptClipboardBack());
  EXPECT_NE(GetClipboardSequenceNumber(), sequence);
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
  ExpectSameBytes(before, ClipboardBytes(formats), formats);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP)) << "the picture is not offered as a bitmap again";

  // Once back, nothing is kept: a second put-back leaves the clipboard alone.
  ASSERT_TRUE(PutText(u"later"));
  EXPECT_TRUE(platform.PutKeptClipboardBack());
  EXPECT_FALSE(IsClipboardFormatAvailable(privateFormat));
  ClearClipboard();
}

TEST_F(ReadingCapturePlatform, ClearingWithoutKeepingOrFailingToClearKeepsNothing) {
  const UINT privateFormat = RegisterClipboardFormatW(L"OstrelTests.Private");
  TestWindow other(L"Ostrel other program");
  ASSERT_TRUE(PutTextPictureAndPrivateData(other.get(), privateFormat));
  ASSERT_EQ(platform.ClearClipboard(false), ClipboardClearing::kCleared);
  EXPECT_TRUE(platform.PutKeptClipboardBack());
  EXPECT_EQ(CountClipboardFormats(), 0);

  // Kept, then given up: nothing goes back.
  ASSERT_TRUE(PutTextPictureAndPrivateData(other.get(), privateFormat));
  ASSERT_EQ(platform.ClearClipboard(true), ClipboardClearing::kCleared);
  platform.DropKeptClipboard();
  EXPECT_TRUE(platform.PutKeptClipboardBack());
  EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST_F(ReadingCapturePlatform, FocusMovesBetweenTheToolbarAndAnotherWindow) {
  TestWindow other(L"Ostrel other application");
  EXPECT_EQ(platform.ToolbarWindow(), Id(toolbar.get()));

  EXPECT_TRUE(windows.BringToFront(Id(other.get())));
  PumpMessages();
  EXPECT_EQ(windows.ForegroundWindow(), Id(other.get()));

  platform.ActivateToolbar();
  PumpMessages();
  EXPECT_EQ(windows.ActiveWindow(), Id(toolbar.get()));

  // A window closed since it was remembered cannot come back.
  uintptr_t closed = 0;
  {
    TestWindow gone(L"Ostrel closed application", 0, false);
    closed = Id(gone.get());
  }
  EXPECT_FALSE(windows.BringToFront(closed));
}

// Alt+Esc moves the focus on Windows; where it does not (Wine), the window used before the
// toolbar is brought back. Either way the copy keys will not reach the toolbar.
TEST_F(ReadingCapturePlatform, HandingTheFocusBackLeavesTheToolbar) {
  EditWindow editor(L"text");
  platform.ActivateToolbar();
  SetForegroundWindow(toolbar.get());
  PumpMessages();
  ASSERT_EQ(GetForegroundWindow(), toolbar.get());

  platform.HandFocusBack(Id(editor.frame()), false);
  PumpMessages();
  EXPECT_NE(GetForegroundWindow(), toolbar.get());
}

TEST_F(ReadingCapturePlatform, TopLevelWindowsComeInZOrderWithTitleAndTopmostFlag) {
  const std::wstring longTitle(80, L'L');
  TestWindow plain(L"Ostrel plain window");
  TestWindow topmost(L"Ostrel topmost window", WS_EX_TOPMOST);
  TestWindow hidden(L"Ostrel hidden window", 0, false);
  TestWindow longNamed(longTitle.c_str());
  PumpMessages();

  const std::vector<TopLevelWindow> all = windows.TopLevelWindows();
  auto find = [&](HWND window) {
    return std::find_if(all.begin(), all.end(), [&](const TopLevelWindow& w) { return w.id == Id(window); });
  };
  const auto plainEntry = find(plain.get());
  const auto topmostEntry = find(topmost.get());
  const auto hiddenEntry = find(hidden.get());
  const auto longEntry = find(longNamed.get());
  ASSERT_NE(plainEntry, all.end());
  ASSERT_NE(topmostEntry, all.end());
  ASSERT_NE(hiddenEntry, all.end());
  ASSERT_NE(longEntry, all.end());

  EXPECT_TRUE(plainEntry->visible);
  EXPECT_EQ(plainEntry->title, u"Ostrel plain window");
  EXPECT_FALSE(plainEntry->topmost);
  EXPECT_TRUE(topmostEntry->visible);
  EXPECT_EQ(topmostEntry->title, u"Ostrel topmost window");
  EXPECT_TRUE(topmostEntry->topmost);
  EXPECT_LT(topmostEntry, plainEntry) << "topmost windows lie above the others";
  EXPECT_FALSE(hiddenEntry->visible);
  // 69 characters and the terminator fill the title buffer.
  EXPECT_EQ(longEntry->title, std::u16string(69, u'L'));
}

TEST_F(ReadingCapturePlatform, ClipboardWaitTicksWithTimerIdOneUntilEnded) {
  ASSERT_TRUE(platform.StartClipboardWait(false));
  MSG tick{};
  ASSERT_TRUE(PumpUntil([&] { return PeekMessageW(&tick, toolbar.get(), WM_TIMER, WM_TIMER, PM_REMOVE) != FALSE; }));
  EXPECT_EQ(tick.wParam, 1u);

  platform.EndClipboardWait();
  // Six periods without a tick.
  EXPECT_FALSE(PumpUntil(
      [&] { return PeekMessageW(&tick, toolbar.get(), WM_TIMER, WM_TIMER, PM_REMOVE) != FALSE; }, 300))
      << "a tick after the timer was stopped";
}

TEST_F(ReadingCapturePlatform, TimerFailureIsReported) {
  HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  Win32CapturePlatform orphan(gone);
  EXPECT_FALSE(orphan.StartClipboardWait(false));
}

TEST_F(ReadingCapturePlatform, DispatchRunsEverythingWaitingAndKeepsAQuitRequest) {
  PostMessageW(toolbar.get(), kPing, 0, 0);
  PostQuitMessage(7);
  DispatchWaitingMessages();

  EXPECT_EQ(Handled(), (std::vector<UINT>{kPing, kPong}));
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

TEST_F(ReadingCapturePlatform, WarningIsATopmostBoxWithTheReadingCaption) {
  std::vector<std::wstring> seen;
  ScopedMessageBoxHook boxes([&](HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
    EXPECT_EQ(owner, nullptr);
    EXPECT_STREQ(caption, L"Ostrel");
    EXPECT_EQ(style, static_cast<UINT>(MB_OK | MB_TOPMOST | MB_ICONWARNING));
    seen.emplace_back(text);
    return IDOK;
  });
  const std::u16string text = u"クリップボードがオープンできません。and more";
  platform.ShowWarning(std::u16string_view(text).substr(0, 18));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], L"クリップボードがオープンできません。");
}

}  // namespace
}  // namespace ostrel
