#pragma once
#include <cstdint>

#include "reading/capture_flags.h"
#include "reading/capture_platform.h"
#include "reading/reading_host.h"

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

 private:
  CapturePlatform& platform_;
  CaptureFlags& flags_;
  uintptr_t previousForeground_ = 0;
};

}  // namespace ostrel
