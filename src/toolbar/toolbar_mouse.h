#pragma once
#include <cstdint>

#include "settings/app_settings.h"
#include "toolbar/button_states.h"
#include "toolbar/pixel_view.h"
#include "toolbar/toolbar_animation.h"

namespace ostrel {

// What the mouse handling needs from the toolbar window. The names differ from the Win32
// functions on purpose: a window class implementing this would otherwise hide ::SetCapture
// and friends, and an unqualified call inside an override would call itself.
class ToolbarMouseHost {
 public:
  virtual ~ToolbarMouseHost() = default;
  virtual ScreenPoint ClientToScreenPoint(int x, int y) = 0;
  // WindowFromPoint finds the toolbar itself there: neither another window covers the
  // point nor is the toolbar fully transparent at it.
  virtual bool ToolbarIsUnder(ScreenPoint point) = 0;
  virtual bool HasCapture() = 0;
  virtual void TakeCapture() = 0;
  // May come back synchronously as OnCaptureChanged(false).
  virtual void ReleaseMouseCapture() = 0;
  virtual ScreenRect WindowRect() = 0;
  // Size and Z order kept.
  virtual void MoveWindowTo(ScreenPoint topLeft) = 0;
  virtual void BringToForeground() = 0;
  virtual void ExecuteCommand(Command command) = 0;
  virtual void RedrawIfChanged() = 0;
  // The text of the tooltip's one tool covering the whole toolbar.
  virtual void SetTipText(const char16_t* text) = 0;
};

// The toolbar's left-button and hover handling: highlight, press, click, drag, tooltip.
// Coordinates are client coordinates as the mouse messages carry them (negative outside
// the window while the capture is held). The Win32 side runs the default handling itself.
class ToolbarMouse {
 public:
  ToolbarMouse(ButtonStates& states, ConstPixelView hitMap, ToolbarMouseHost& host);

  // The hit map is loaded with the skin, after the window object exists.
  void SetHitMap(ConstPixelView hitMap) { hitMap_ = hitMap; }

  void OnMouseMove(int x, int y);
  void OnLeftButtonDown(int x, int y);
  void OnLeftButtonUp(int x, int y);
  // WM_CAPTURECHANGED; anotherWindowTakesIt is false when the toolbar let go itself.
  void OnCaptureChanged(bool anotherWindowTakesIt);

  bool Dragging() const { return dragging_; }
  ScreenPoint DragOrigin() const { return dragOrigin_; }
  ScreenRect DragStartRect() const { return dragStartRect_; }
  int PressedButton() const { return pressedButton_; }
  int TipButton() const { return tipButton_; }

 private:
  // The command under the point, or -1; a hit-map colour that names no toolbar command
  // counts as no button, so the state pairs and ExecuteCommand only see real commands.
  int ButtonAt(int x, int y) const;

  ButtonStates& states_;
  ConstPixelView hitMap_;
  ToolbarMouseHost& host_;
  // (-1, -1) while no drag runs. That is also a real screen point left of and above the
  // primary monitor, so whether a drag runs is kept apart from it.
  ScreenPoint dragOrigin_{-1, -1};
  bool dragging_ = false;
  ScreenRect dragStartRect_{};
  int pressedButton_ = -1;
  int tipButton_ = -1;
};

// CurrentAlpha after a wheel turn of distance (120 a notch, so 12 alpha steps), within
// Alpha_Min..Alpha_Max. Alpha is left alone: the next start shows the stored value again.
int MouseWheelAlpha(int currentAlpha, int16_t distance, const AppSettings& settings);

}  // namespace ostrel
