#include "reading/text_capture.h"

#include "reading/reading_texts.h"

namespace ostrel {

TextCapture::TextCapture(CapturePlatform& platform, CaptureFlags& flags) : platform_(platform), flags_(flags) {}

void TextCapture::StartTextCapture(int kind) {
  platform_.ActivateToolbar();
  auto keep = ClipboardKeeping::AtCapture::kKeepNothing;
  if (options_.keepClipboard || keeping_.Pending()) {
    keep = keeping_.BeforeClearing(options_.keepClipboard, platform_.ClipboardSequence());
    if (keep == ClipboardKeeping::AtCapture::kKeepNothing) platform_.DropKeptClipboard();
  }
  const ClipboardClearing cleared = platform_.ClearClipboard(keep == ClipboardKeeping::AtCapture::kKeepNow);
  if (cleared != ClipboardClearing::kCleared && keep == ClipboardKeeping::AtCapture::kKeepNow) {
    // The clipboard still holds what was to be kept.
    platform_.DropKeptClipboard();
    keeping_.Forget();
  }
  switch (cleared) {
    case ClipboardClearing::kNotOpened:
      platform_.ShowWarning(texts::kClipboardOpenFailed);
      return;
    case ClipboardClearing::kNotEmptied:
      platform_.ShowWarning(texts::kClipboardClearFailed);
      return;
    case ClipboardClearing::kCleared:
      break;
  }
  if (keep != ClipboardKeeping::AtCapture::kKeepNothing) keeping_.AfterOwnChange(platform_.ClipboardSequence());
  ticksWithoutCopy_ = 0;
  // Only now waiting: the change the emptying announces is not the text we want.
  flags_.ClipboardWaiting = 1;
  flags_.ClipboardChanged = 0;

  platform_.HandFocusBack(previousForeground_, options_.quick);
  platform_.SendCopyKeys(kind == kWholeTextReading ? CopyKeys::kSelectAllAndCopy : CopyKeys::kCopy, options_.quick);

  // A stop pressed while the keys went out has ended this capture: nothing to wait for.
  if (flags_.ClipboardWaiting == 0 && flags_.ClipboardChanged == 0) return;
  // A timer that already runs serves this capture too.
  if (flags_.ClipboardTimerRunning == 1) return;
  // The copy may have come while the keys went out.
  if (!platform_.StartClipboardWait(options_.quick && flags_.ClipboardChanged == 1)) {
    platform_.ShowWarning(texts::kTimerFailed);
    platform_.CloseToolbar();
  }
  flags_.ClipboardTimerRunning = 1;
}

void TextCapture::OnClipboardChanged() {
  if (flags_.ClipboardWaiting != 1) return;
  flags_.ClipboardChanged = 1;
  flags_.ClipboardWaiting = 0;
  // The text is taken at the next tick, which comes at once; a timer not yet started is
  // started so by the capture itself.
  if (options_.quick && flags_.ClipboardTimerRunning == 1) platform_.StartClipboardWait(true);
}

void TextCapture::RememberPreviousForeground(uintptr_t window) {
  if (window == 0 || window == platform_.ToolbarWindow()) return;
  previousForeground_ = window;
}

void TextCapture::ClipboardTextTaken() {
  if (keeping_.Pending()) keeping_.AfterOwnChange(platform_.ClipboardSequence());
}

void TextCapture::PutClipboardBack() {
  if (!keeping_.Pending()) return;
  if (keeping_.PutBack(platform_.ClipboardSequence())) {
    // A clipboard that will not go back is lost like any clipboard a reading empties; the
    // reading itself goes on.
    platform_.PutKeptClipboardBack();
  } else {
    platform_.DropKeptClipboard();
  }
}

void TextCapture::EndForClose() {
  // Putting the clipboard back is a change, and not the application's copy.
  flags_.ClipboardWaiting = 0;
  PutClipboardBack();
}

void TextCapture::EndForStop() {
  const bool underWay =
      flags_.ClipboardWaiting == 1 || (flags_.ClipboardChanged == 1 && flags_.ClipboardTimerRunning == 1);
  if (!underWay) return;
  flags_.ClipboardWaiting = 0;
  flags_.ClipboardChanged = 0;
  if (flags_.ClipboardTimerRunning == 1) {
    platform_.EndClipboardWait();
    flags_.ClipboardTimerRunning = 0;
  }
  PutClipboardBack();
}

bool TextCapture::NoCopyInTime() {
  if (!keeping_.Pending() || flags_.ClipboardWaiting != 1) return false;
  if (++ticksWithoutCopy_ < kTicksWithoutCopy) return false;
  flags_.ClipboardWaiting = 0;
  return true;
}

}  // namespace ostrel
