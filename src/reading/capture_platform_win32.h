#pragma once
#include <windows.h>

#include "reading/reading_host.h"

namespace ostrel {

// Clipboard, focus, keystrokes and the clipboard timer of the toolbar window.
class Win32CapturePlatform final : public CapturePlatform {
 public:
  static constexpr UINT_PTR kClipboardTimerId = 1;
  static constexpr UINT kClipboardTimerMs = 50;

  explicit Win32CapturePlatform(HWND toolbar) : toolbar_(toolbar) {}

  uintptr_t ToolbarWindow() const override;
  void ActivateToolbar() override;
  bool OpenClipboard() override;
  bool EmptyClipboard() override;
  void CloseClipboard() override;
  uintptr_t ActiveWindow() override;
  uintptr_t ForegroundWindow() override;
  void SetForegroundWindow(uintptr_t window) override;
  bool IsNtFamily() override;
  void SendAltEscape() override;
  std::vector<TopLevelWindow> TopLevelWindows() override;
  int LocalSecond() override;
  void DispatchWaitingMessages() override;
  void Sleep(int milliseconds) override;
  void SendControlChord(uint8_t virtualKey) override;
  bool StartClipboardTimer() override;
  void StopClipboardTimer() override;
  void ShowWarning(std::u16string_view text) override;
  void PostCloseToMainWindow() override;

 private:
  HWND toolbar_;
};

}  // namespace ostrel
