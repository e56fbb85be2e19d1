#pragma once
#include <windows.h>

#include "reading/capture_platform.h"
#include "reading/focus_hand_back.h"
#include "reading/kept_clipboard_win32.h"

namespace ostrel {

// Focus, Alt+Esc, the top-level windows and the clock, as the focus hand-back reads them.
class Win32WindowFocus final : public WindowFocus {
 public:
  uintptr_t ActiveWindow() override;
  uintptr_t ForegroundWindow() override;
  bool BringToFront(uintptr_t window) override;
  bool IsNtFamily() override;
  void SendAltEscape() override;  // keybd_event: Alt down, Esc down, Esc up, Alt up
  std::vector<TopLevelWindow> TopLevelWindows() override;
  int LocalSecond() override;
};

// The thread's messages, the foreground window and the clock, for the quick capture's wait.
class Win32FocusWaitHost final : public FocusWaitHost {
 public:
  void DispatchMessages() override;
  uintptr_t ForegroundWindow() override;
  void Sleep(int milliseconds) override;
  uint64_t NowMs() override;
};

// Clipboard, focus, keystrokes and the clipboard timer of the toolbar window.
class Win32CapturePlatform final : public CapturePlatform {
 public:
  static constexpr UINT_PTR kClipboardTimerId = 1;
  static constexpr UINT kClipboardTimerMs = 50;

  explicit Win32CapturePlatform(HWND toolbar);

  uintptr_t ToolbarWindow() const override;
  void ActivateToolbar() override;
  ClipboardClearing ClearClipboard(bool keepContents) override;
  uint32_t ClipboardSequence() override;
  bool PutKeptClipboardBack() override;
  void DropKeptClipboard() override;
  void HandFocusBack(uintptr_t previousForeground, bool quick) override;
  void SendCopyKeys(CopyKeys keys, bool quick) override;
  bool StartClipboardWait(bool soon) override;
  void EndClipboardWait() override;
  void Sleep(int milliseconds) override;
  void ShowWarning(std::u16string_view text) override;
  void CloseToolbar() override;

 private:
  HWND toolbar_;
  Win32WindowFocus windows_;
  FocusHandBack focus_;
  Win32FocusWaitHost focusWait_;
  KeptClipboard kept_;
};

// Runs what waits in the thread's queue; a quit request stays queued for the loop that ends
// the program.
void DispatchWaitingMessages();

// Left Ctrl + key as one SendInput. Shift, Alt and the Windows keys still held from the hot
// key would turn the chord into another command: those down are released in the same
// SendInput (Shift before the chord; Alt and the Windows keys while Ctrl is down, so that
// their release opens no menu) and not pressed again.
void SendControlChord(BYTE virtualKey);

}  // namespace ostrel
