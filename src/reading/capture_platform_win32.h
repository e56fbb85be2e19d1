#pragma once
#include <windows.h>

#include "reading/capture_platform.h"
#include "reading/focus_hand_back.h"

namespace ostrel {

// Focus, Alt+Esc, the top-level windows and the clock, as the focus hand-back reads them.
class Win32WindowFocus final : public WindowFocus {
 public:
  uintptr_t ActiveWindow() override;
  uintptr_t ForegroundWindow() override;
  void BringToFront(uintptr_t window) override;
  bool IsNtFamily() override;
  void SendAltEscape() override;  // keybd_event: Alt down, Esc down, Esc up, Alt up
  std::vector<TopLevelWindow> TopLevelWindows() override;
  int LocalSecond() override;
};

// Clipboard, focus, keystrokes and the clipboard timer of the toolbar window.
class Win32CapturePlatform final : public CapturePlatform {
 public:
  static constexpr UINT_PTR kClipboardTimerId = 1;
  static constexpr UINT kClipboardTimerMs = 50;

  explicit Win32CapturePlatform(HWND toolbar);

  uintptr_t ToolbarWindow() const override;
  void ActivateToolbar() override;
  ClipboardClearing ClearClipboard() override;
  void HandFocusBack(uintptr_t previousForeground) override;
  void SendCopyKeys(CopyKeys keys) override;
  bool StartClipboardWait() override;
  void EndClipboardWait() override;
  void Sleep(int milliseconds) override;
  void ShowWarning(std::u16string_view text) override;
  void CloseToolbar() override;

 private:
  HWND toolbar_;
  Win32WindowFocus windows_;
  FocusHandBack focus_;
};

// Runs what waits in the thread's queue; a quit request stays queued for the loop that ends
// the program.
void DispatchWaitingMessages();

// Left Ctrl + key as one SendInput.
void SendControlChord(BYTE virtualKey);

}  // namespace ostrel
