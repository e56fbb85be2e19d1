#pragma once
#include <cstdint>

#include "reading/capture_flags.h"
#include "reading/reading_host.h"
#include "reading/window_filter.h"

namespace ostrel {

// Takes the text to read from the application the user was working in: empties the
// clipboard, hands the focus back, has the application copy (after selecting all for a
// whole-text reading) and starts the clipboard timer that picks the text up.
class TextCapture {
 public:
  TextCapture(CapturePlatform& platform, CaptureFlags& flags);
  TextCapture(const TextCapture&) = delete;
  TextCapture& operator=(const TextCapture&) = delete;

  // kind: kSelectionReading or kWholeTextReading. Failures are shown to the user.
  void StartTextCapture(int kind);

  // WM_DRAWCLIPBOARD, after the default handling and before passing it on.
  void OnClipboardChanged();

  // The window that had the foreground before the toolbar took it (on a hot key or a click
  // that activates the toolbar). The toolbar itself and 0 are ignored.
  void RememberPreviousForeground(uintptr_t window);
  uintptr_t PreviousForeground() const { return previousForeground_; }

  const WindowFilterState& FilterState() const { return filterState_; }

  // Bounds the wait for the focus to move in case the clock never advances; far more
  // iterations than a second of spinning takes.
  static constexpr int kFocusWaitGuard = 1 << 25;

 private:
  void HandFocusBack();
  void WaitForFocusToMove(uintptr_t notedWindow);
  void SendKeySequence(uint8_t virtualKey);

  CapturePlatform& platform_;
  CaptureFlags& flags_;
  WindowFilterState filterState_;
  uintptr_t previousForeground_ = 0;
};

}  // namespace ostrel
