#include "reading/text_capture.h"

#include "app/texts.h"

namespace ostrel {
namespace {

constexpr uint8_t kKeyA = 0x41;
constexpr uint8_t kKeyC = 0x43;
// About a second of message dispatching gives the application time to take the focus.
constexpr int kDispatchRounds = 10;
constexpr int kDispatchSleepMs = 100;

}  // namespace

TextCapture::TextCapture(CapturePlatform& platform, CaptureFlags& flags) : platform_(platform), flags_(flags) {}

void TextCapture::StartTextCapture(int kind) {
  platform_.ActivateToolbar();
  if (!platform_.OpenClipboard()) {
    platform_.ShowWarning(texts::kClipboardOpenFailed);
    return;
  }
  if (!platform_.EmptyClipboard()) {
    // Closed before the message box, so other programs can use the clipboard meanwhile.
    platform_.CloseClipboard();
    platform_.ShowWarning(texts::kClipboardClearFailed);
    return;
  }
  // Not yet waiting: the change the emptying announces is not the text we want.
  platform_.CloseClipboard();
  flags_.ClipboardWaiting = 1;
  flags_.ClipboardChanged = 0;

  const uintptr_t noted = platform_.ActiveWindow();
  HandFocusBack();
  WaitForFocusToMove(noted);
  // Where Alt+Esc leaves the focus alone, the keystrokes would go to the toolbar itself.
  const uintptr_t toolbar = platform_.ToolbarWindow();
  if (previousForeground_ != 0 && platform_.ForegroundWindow() == toolbar) {
    platform_.SetForegroundWindow(previousForeground_);
  }

  if (kind == kWholeTextReading) SendKeySequence(kKeyA);
  SendKeySequence(kKeyC);

  // A timer that already runs serves this capture too.
  if (flags_.ClipboardTimerRunning == 1) return;
  if (!platform_.StartClipboardTimer()) {
    platform_.ShowWarning(texts::kTimerFailed);
    platform_.PostCloseToMainWindow();
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

void TextCapture::HandFocusBack() {
  if (platform_.IsNtFamily()) {
    platform_.SendAltEscape();
    return;
  }
  const auto windows = platform_.TopLevelWindows();
  if (const auto target = WindowFilter(windows, platform_.ToolbarWindow(), filterState_)) {
    platform_.SetForegroundWindow(*target);
  }
}

void TextCapture::WaitForFocusToMove(uintptr_t notedWindow) {
  // Spins until the focus moves or the wall clock's second changes: at most about a second.
  const int first = platform_.LocalSecond();
  for (int spin = 0; spin < kFocusWaitGuard && platform_.ActiveWindow() == notedWindow; ++spin) {
    if (platform_.LocalSecond() != first) break;
  }
}

void TextCapture::SendKeySequence(uint8_t virtualKey) {
  for (int round = 0; round < kDispatchRounds; ++round) {
    platform_.DispatchWaitingMessages();
    platform_.Sleep(kDispatchSleepMs);
  }
  platform_.SendControlChord(virtualKey);
}

}  // namespace ostrel
