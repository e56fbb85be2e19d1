#pragma once
#include <optional>
#include <vector>

namespace ostrel {

struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Height() const { return bottom - top; }
};

// One frame of a slide: move the window (size and Z order kept) to position, present with
// alpha, sleep.
struct AnimationStep {
  ScreenPoint position;
  int alpha = 0;
  friend bool operator==(const AnimationStep&, const AnimationStep&) = default;
};

// All arithmetic below divides integers truncating toward zero, also for the negative
// coordinates of monitors left of or above the primary one.

// The close fade: each alpha is shown and followed by a 50 ms sleep; the last stays on
// screen. From 255: 255, 170, 114, 76, 51, 34, 23, 16, 11, 8, 6.
std::vector<int> CloseFadeAlphas(int currentAlpha);

// Where the toolbar slides to: its left edge on the notification area's, vertically
// centred on it. tray is the notification area's window rectangle.
ScreenPoint TrayPoint(const ScreenRect& tray, const ScreenRect& window);

// Sliding into the tray while fading out, from window (the rectangle when the animation
// starts) towards trayPoint; 25 ms per step. Without a notification area (no trayPoint)
// the window fades where it is. From 255 the alphas are 203, 162, ..., 2, 1. Afterwards the
// caller sets InTray, presents alpha 0 and moves the window back to its old place.
std::vector<AnimationStep> MinimiseToTraySteps(const ScreenRect& window, std::optional<ScreenPoint> trayPoint,
                                               int currentAlpha);

// The way back: from the tray point to the window's place while fading in; 25 ms per step.
// From 255: 129, 193, 225, 241, 249, 253, 255. Afterwards the caller presents currentAlpha,
// moves the window to its place and redraws.
std::vector<AnimationStep> RestoreFromTraySteps(const ScreenRect& window, std::optional<ScreenPoint> trayPoint,
                                                int currentAlpha);

// The minimise button reached while the toolbar is still marked as in the tray (a wheel
// turn made it visible): a fade-in in place, 50 ms per step. From 255: 1, 130, 195, 227,
// 243, 251, 255. Afterwards the caller presents currentAlpha.
std::vector<int> TrayFadeInAlphas(int currentAlpha);

}  // namespace ostrel
