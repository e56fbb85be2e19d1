#include "toolbar/toolbar_animation.h"

#include <cstdint>

namespace ostrel {
namespace {

// The point a fraction (part / whole) of the way from `from` to `to`, whole > 0. 64-bit so
// that an alpha beyond 255 cannot overflow the products.
ScreenPoint Between(ScreenPoint from, ScreenPoint to, int64_t part, int64_t whole) {
  return {static_cast<int>((from.x * (whole - part) + to.x * part) / whole),
          static_cast<int>((from.y * (whole - part) + to.y * part) / whole)};
}

}  // namespace

std::vector<int> CloseFadeAlphas(int currentAlpha) {
  std::vector<int> alphas;
  for (int a = currentAlpha; a > 5; a -= a / 3) alphas.push_back(a);
  return alphas;
}

ScreenPoint TrayPoint(const ScreenRect& tray, const ScreenRect& window) {
  const int64_t y = int64_t{tray.top} + (int64_t{tray.bottom} - tray.top) / 2 - (int64_t{window.bottom} - window.top) / 2;
  return {tray.left, static_cast<int>(y)};
}

std::vector<AnimationStep> MinimiseToTraySteps(const ScreenRect& window, std::optional<ScreenPoint> trayPoint,
                                               int currentAlpha) {
  const ScreenPoint place{window.left, window.top};
  const ScreenPoint tray = trayPoint.value_or(place);
  const int64_t f = currentAlpha;
  std::vector<AnimationStep> steps;
  // d shrinks by at least 1 a step and stops at 1, so f > 1 whenever it divides.
  for (int64_t d = f; d > 1;) {
    d = d - d / 5 - 1;
    steps.push_back({Between(tray, place, d, f), static_cast<int>(d)});
  }
  return steps;
}

std::vector<AnimationStep> RestoreFromTraySteps(const ScreenRect& window, std::optional<ScreenPoint> trayPoint,
                                                int currentAlpha) {
  const ScreenPoint place{window.left, window.top};
  const ScreenPoint tray = trayPoint.value_or(place);
  const int64_t f = currentAlpha;
  std::vector<AnimationStep> steps;
  if (f <= 1) return steps;
  for (int64_t e = 1; e < f;) {
    e = e + (f - e) / 2 + 1;  // never passes f: the last step lands on it
    steps.push_back({Between(tray, place, e, f), static_cast<int>(e)});
  }
  return steps;
}

std::vector<int> TrayFadeInAlphas(int currentAlpha) {
  const int64_t f = currentAlpha;
  std::vector<int> alphas;
  if (f < 1) return alphas;
  for (int64_t e = 1; e <= f; e = e + (f - e + 5) / 2) alphas.push_back(static_cast<int>(e));
  return alphas;
}

}  // namespace ostrel
