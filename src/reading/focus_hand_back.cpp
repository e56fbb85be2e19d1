#include "reading/focus_hand_back.h"

namespace ostrel {

void FocusHandBack::HandBack(uintptr_t previousForeground, bool quick) {
  if (quick && previousForeground != 0 && windows_.BringToFront(previousForeground)) return;
  const uintptr_t noted = windows_.ActiveWindow();
  MoveFocus();
  // Alt+Esc is handled by the toolbar's own message loop, which the copy keys' wait runs.
  if (quick) return;
  WaitForFocusToMove(noted);
  // Where Alt+Esc leaves the focus alone (Wine), the toolbar is still in front.
  if (previousForeground != 0 && windows_.ForegroundWindow() == toolbar_) {
    windows_.BringToFront(previousForeground);
  }
}

void FocusHandBack::MoveFocus() {
  if (windows_.IsNtFamily()) {
    windows_.SendAltEscape();
    return;
  }
  const auto windows = windows_.TopLevelWindows();
  if (const auto target = WindowFilter(windows, toolbar_, filterState_)) windows_.BringToFront(*target);
}

void FocusHandBack::WaitForFocusToMove(uintptr_t notedWindow) {
  // Spins until the focus moves or the wall clock's second changes: at most about a second.
  const int first = windows_.LocalSecond();
  for (int spin = 0; spin < kFocusWaitGuard && windows_.ActiveWindow() == notedWindow; ++spin) {
    if (windows_.LocalSecond() != first) break;
  }
}

}  // namespace ostrel
