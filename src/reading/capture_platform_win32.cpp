#include "reading/capture_platform_win32.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/log_win32.h"
#include "platform/seams_win32.h"
#include "platform/wide_win32.h"
#include "reading/clipboard_open_win32.h"
#include "reading/reading_texts.h"

namespace ostrel {
namespace {

constexpr int kTitleBufferLength = 70;

HWND Hwnd(uintptr_t window) { return reinterpret_cast<HWND>(window); }
uintptr_t Id(HWND window) { return reinterpret_cast<uintptr_t>(window); }

BYTE ScanCode(BYTE virtualKey) { return static_cast<BYTE>(MapVirtualKeyW(virtualKey, 0) & 0xFF); }

INPUT KeyInput(WORD virtualKey, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, 0));
  input.ki.dwFlags = flags;
  input.ki.time = 0;
  input.ki.dwExtraInfo = 0;
  return input;
}

BOOL CALLBACK CollectTopLevelWindow(HWND window, LPARAM parameter) {
  // No exception may unwind through the system's enumeration.
  try {
    TopLevelWindow entry;
    entry.id = Id(window);
    entry.visible = IsWindowVisible(window) != FALSE;
    if (entry.visible) {
      wchar_t title[kTitleBufferLength] = {};
      const int length = GetWindowTextW(window, title, kTitleBufferLength);
      entry.title = FromWide(title, static_cast<size_t>(std::clamp(length, 0, kTitleBufferLength - 1)));
    }
    entry.topmost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    reinterpret_cast<std::vector<TopLevelWindow>*>(parameter)->push_back(std::move(entry));
    return TRUE;
  } catch (...) {
    log::Caught("listing the top-level windows");
    return FALSE;
  }
}

}  // namespace

uintptr_t Win32WindowFocus::ActiveWindow() { return Id(GetActiveWindow()); }

uintptr_t Win32WindowFocus::ForegroundWindow() { return Id(GetForegroundWindow()); }

bool Win32WindowFocus::BringToFront(uintptr_t window) {
  return IsWindow(Hwnd(window)) && ::SetForegroundWindow(Hwnd(window));
}

bool Win32WindowFocus::IsNtFamily() { return (GetVersion() & 0x80000000u) == 0; }

void Win32WindowFocus::SendAltEscape() {
  keybd_event(VK_MENU, ScanCode(VK_MENU), 0, 0);
  keybd_event(VK_ESCAPE, ScanCode(VK_ESCAPE), 0, 0);
  keybd_event(VK_ESCAPE, ScanCode(VK_ESCAPE), KEYEVENTF_KEYUP, 0);
  keybd_event(VK_MENU, ScanCode(VK_MENU), KEYEVENTF_KEYUP, 0);
}

std::vector<TopLevelWindow> Win32WindowFocus::TopLevelWindows() {
  std::vector<TopLevelWindow> windows;
  EnumWindows(CollectTopLevelWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

int Win32WindowFocus::LocalSecond() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wSecond;
}

void DispatchWaitingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Taken from the queue here, it would never reach the loop that ends the program.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

namespace {

bool IsDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// Releases of the keys of a pair (left, right) that are down; the generic key when the
// system reports only that one.
void AddReleases(std::vector<INPUT>& inputs, int generic, std::initializer_list<std::pair<WORD, DWORD>> sides) {
  bool any = false;
  for (const auto& [key, flags] : sides) {
    if (!IsDown(key)) continue;
    inputs.push_back(KeyInput(key, flags | KEYEVENTF_KEYUP));
    any = true;
  }
  if (!any && generic != 0 && IsDown(generic)) inputs.push_back(KeyInput(static_cast<WORD>(generic), KEYEVENTF_KEYUP));
}

}  // namespace

void SendControlChord(BYTE virtualKey) {
  std::vector<INPUT> inputs;
  AddReleases(inputs, VK_SHIFT, {{VK_LSHIFT, 0}, {VK_RSHIFT, 0}});
  inputs.push_back(KeyInput(VK_LCONTROL, KEYEVENTF_EXTENDEDKEY));
  AddReleases(inputs, VK_MENU, {{VK_LMENU, 0}, {VK_RMENU, KEYEVENTF_EXTENDEDKEY}});
  AddReleases(inputs, 0, {{VK_LWIN, KEYEVENTF_EXTENDEDKEY}, {VK_RWIN, KEYEVENTF_EXTENDEDKEY}});
  inputs.push_back(KeyInput(virtualKey, KEYEVENTF_EXTENDEDKEY));
  inputs.push_back(KeyInput(virtualKey, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP));
  inputs.push_back(KeyInput(VK_LCONTROL, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP));
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // 0 is what a window of higher integrity in front gets: the copy keys never reach it.
  if (sent < inputs.size()) log::Failed("SendInput of the copy keys", GetLastError());
  // A partly inserted chord would leave Ctrl held down for every later keystroke of the
  // user: send the releases that did not go in.
  if (sent > 0 && sent < inputs.size()) {
    std::vector<INPUT> releases;
    for (size_t i = sent; i < inputs.size(); ++i) {
      if (inputs[i].ki.dwFlags & KEYEVENTF_KEYUP) releases.push_back(inputs[i]);
    }
    SendInput(static_cast<UINT>(releases.size()), releases.data(), sizeof(INPUT));
  }
}

void Win32FocusWaitHost::DispatchMessages() { DispatchWaitingMessages(); }

uintptr_t Win32FocusWaitHost::ForegroundWindow() { return Id(GetForegroundWindow()); }

void Win32FocusWaitHost::Sleep(int milliseconds) { SleepFor(static_cast<DWORD>(std::max(milliseconds, 0))); }

uint64_t Win32FocusWaitHost::NowMs() { return GetTickCount64(); }

Win32CapturePlatform::Win32CapturePlatform(HWND toolbar) : toolbar_(toolbar), focus_(windows_, Id(toolbar)) {}

uintptr_t Win32CapturePlatform::ToolbarWindow() const { return Id(toolbar_); }

void Win32CapturePlatform::ActivateToolbar() { SetActiveWindow(toolbar_); }

ClipboardClearing Win32CapturePlatform::ClearClipboard(bool keepContents) {
  if (!OpenClipboardWithRetry(toolbar_)) return ClipboardClearing::kNotOpened;
  KeptClipboard taken;
  if (keepContents) taken.TakeFromOpenClipboard();
  const bool emptied = ::EmptyClipboard() != FALSE;
  if (!emptied) log::Failed("EmptyClipboard before a capture", GetLastError());
  ::CloseClipboard();
  if (keepContents && emptied) kept_ = std::move(taken);
  return emptied ? ClipboardClearing::kCleared : ClipboardClearing::kNotEmptied;
}

uint32_t Win32CapturePlatform::ClipboardSequence() { return GetClipboardSequenceNumber(); }

bool Win32CapturePlatform::PutKeptClipboardBack() {
  if (kept_.empty()) return true;
  if (!OpenClipboardWithRetry(toolbar_)) {
    kept_.Clear();
    return false;
  }
  const bool emptied = ::EmptyClipboard() != FALSE;
  const bool all = emptied && kept_.PutOnOpenClipboard();
  if (!all) log::Failed("putting the kept clipboard back", GetLastError());
  ::CloseClipboard();
  kept_.Clear();
  return all;
}

void Win32CapturePlatform::DropKeptClipboard() { kept_.Clear(); }

void Win32CapturePlatform::HandFocusBack(uintptr_t previousForeground, bool quick) {
  focus_.HandBack(previousForeground, quick);
}

void Win32CapturePlatform::SendCopyKeys(CopyKeys keys, bool quick) {
  for (const KeyStep& step : CopyKeySteps(keys, quick)) {
    switch (step.kind) {
      case KeyStep::Kind::kDispatchMessages:
        DispatchWaitingMessages();
        break;
      case KeyStep::Kind::kSleep:
        Sleep(step.value);
        break;
      case KeyStep::Kind::kControlChord:
        SendControlChord(static_cast<BYTE>(step.value));
        break;
      case KeyStep::Kind::kWaitForFocus:
        WaitForApplicationInFront(focusWait_, Id(toolbar_), step.value);
        break;
    }
  }
}

bool Win32CapturePlatform::StartClipboardWait(bool soon) {
  // The same timer restarted with the shortest period: one tick comes at once, and the tick
  // ends the timer when it has taken the text.
  if (SetTimer(toolbar_, kClipboardTimerId, soon ? USER_TIMER_MINIMUM : kClipboardTimerMs, nullptr)) return true;
  log::Failed("SetTimer for the clipboard", GetLastError());
  return false;
}

void Win32CapturePlatform::EndClipboardWait() { KillTimer(toolbar_, kClipboardTimerId); }

void Win32CapturePlatform::Sleep(int milliseconds) { SleepFor(static_cast<DWORD>(std::max(milliseconds, 0))); }

void Win32CapturePlatform::ShowWarning(std::u16string_view text) {
  const std::u16string terminated(text);
  log::Warning("told the user: " + log::Utf8(WideView(terminated)));
  ShowMessageBox(nullptr, Wide(terminated), Wide(texts::kReadingCaption), MB_OK | MB_TOPMOST | MB_ICONWARNING);
}

void Win32CapturePlatform::CloseToolbar() { PostMessageW(toolbar_, WM_CLOSE, 0, 0); }

}  // namespace ostrel
