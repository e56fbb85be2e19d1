#include "reading/text_capture.h"

#include "reading/reading_texts.h"

namespace ostrel {

TextCapture::TextCapture(CapturePlatform& platform, CaptureFlags& flags) : platform_(platform), flags_(flags) {}

void TextCapture::StartTextCapture(int kind) {
  platform_.ActivateToolbar();
  switch (platform_.ClearClipboard()) {
    case ClipboardClearing::kNotOpened:
      platform_.ShowWarning(texts::kClipboardOpenFailed);
      return;
    case ClipboardClearing::kNotEmptied:
      platform_.ShowWarning(texts::kClipboardClearFailed);
      return;
    case ClipboardClearing::kCleared:
      break;
  }
  // Only now waiting: the change the emptying announces is not the text we want.
  flags_.ClipboardWaiting = 1;
  flags_.ClipboardChanged = 0;

  platform_.HandFocusBack(previousForeground_);
  platform_.SendCopyKeys(kind == kWholeTextReading ? CopyKeys::kSelectAllAndCopy : CopyKeys::kCopy);

  // A timer that already runs serves this capture too.
  if (flags_.ClipboardTimerRunning == 1) return;
  if (!platform_.StartClipboardWait()) {
    platform_.ShowWarning(texts::kTimerFailed);
    platform_.CloseToolbar();
  }
  flags_.ClipboardTimerRunning = 1;
}

void TextCapture::OnClipboardChanged() {
  if (flags_.ClipboardWaiting != 1) return;
  flags_.ClipboardChanged = 1;
  flags_.ClipboardWaiting = 0;
}

void TextCapture::RememberPreviousForeground(uintptr_t window) {
  if (window == 0 || window == platform_.ToolbarWindow()) return;
  previousForeground_ = window;
}

}  // namespace ostrel
