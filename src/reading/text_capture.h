#pragma once
#include <cstdint>

#include "reading/capture_flags.h"
#include "reading/capture_options.h"
#include "reading/capture_platform.h"
#include "reading/clipboard_keeping.h"
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

  // For the captures that follow.
  void SetOptions(const CaptureOptions& options) { options_ = options; }
  const CaptureOptions& Options() const { return options_; }

  // kind: kSelectionReading or kWholeTextReading. Failures are shown to the user.
  void StartTextCapture(int kind);

  // WM_DRAWCLIPBOARD, after the default handling and before passing it on.
  void OnClipboardChanged();

  // The window that had the foreground before the toolbar took it (on a hot key or a click
  // that activates the toolbar). The toolbar itself and 0 are ignored.
  void RememberPreviousForeground(uintptr_t window);
  uintptr_t PreviousForeground() const { return previousForeground_; }

  // The clipboard tick has taken the text and emptied the clipboard (its own change).
  void ClipboardTextTaken();
  // The user's kept clipboard goes back unless somebody else has changed the clipboard since
  // our own last change; either way it is no longer kept. Nothing is done when nothing is kept.
  void PutClipboardBack();
  // Closing: a capture still waiting ends, and the user's clipboard goes back as above.
  void EndForClose();
  // A stop: a capture whose text has not been taken yet ends, its timer too; a copy that
  // arrives later is left on the clipboard for the user. The kept clipboard goes back as above.
  void EndForStop();

  // A clipboard timer tick that found no change. While the user's clipboard is kept, the
  // wait for the application's copy is bounded like the wait for its text: true once the
  // bound is reached, and the wait has then ended.
  bool NoCopyInTime();

  // Ticks without a copy after which a capture that keeps the clipboard gives up: 5.5 s of
  // the 50 ms timer, as long as the tick waits for a text that is slow to come.
  static constexpr int kTicksWithoutCopy = 110;

 private:
  CapturePlatform& platform_;
  CaptureFlags& flags_;
  CaptureOptions options_;
  ClipboardKeeping keeping_;
  int ticksWithoutCopy_ = 0;
  uintptr_t previousForeground_ = 0;
};

}  // namespace ostrel
