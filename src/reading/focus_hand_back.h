#pragma once
#include <cstdint>
#include <vector>

#include "reading/window_filter.h"

namespace ostrel {

// The windows as the focus hand-back sees them.
class WindowFocus {
 public:
  virtual ~WindowFocus() = default;
  virtual uintptr_t ActiveWindow() = 0;
  virtual uintptr_t ForegroundWindow() = 0;
  // False when the window could not be brought there (closed meanwhile, or refused).
  virtual bool BringToFront(uintptr_t window) = 0;
  virtual bool IsNtFamily() = 0;
  virtual void SendAltEscape() = 0;
  virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;  // Z order, top first
  virtual int LocalSecond() = 0;                              // the wall clock's second, read anew
};

// Moves the focus from the toolbar, which a capture has just activated, to the application
// the user works in: Alt+Esc on the NT family, the window filter's choice on the older one.
class FocusHandBack {
 public:
  FocusHandBack(WindowFocus& windows, uintptr_t toolbar) : windows_(windows), toolbar_(toolbar) {}
  FocusHandBack(const FocusHandBack&) = delete;
  FocusHandBack& operator=(const FocusHandBack&) = delete;

  // Returns once the focus has moved or the wall clock's second has changed. Where the
  // focus is still on the toolbar, previousForeground (unless 0) is brought to the front:
  // keys sent next would otherwise reach the toolbar itself.
  // quick: a known previousForeground is brought to the front at once, without Alt+Esc and
  // without the wait (Alt+Esc, still without the wait, when that fails); the copy keys' wait
  // for the focus follows instead.
  void HandBack(uintptr_t previousForeground, bool quick = false);

  const WindowFilterState& FilterState() const { return filterState_; }

  // Bounds the wait for the focus to move in case the clock never advances; far more
  // iterations than a second of spinning takes.
  static constexpr int kFocusWaitGuard = 1 << 25;

 private:
  void MoveFocus();
  void WaitForFocusToMove(uintptr_t notedWindow);

  WindowFocus& windows_;
  uintptr_t toolbar_;
  WindowFilterState filterState_;
};

}  // namespace ostrel
