#include "toolbar/toolbar_mouse.h"

#include "toolbar/hit_test_button.h"
#include "toolbar/toolbar_button.h"
#include "toolbar/wheel_alpha.h"

namespace ostrel {
namespace {

// The mouse keeps button numbers, -1 for none; the pairs are read by command.
Command CommandOf(int button) { return static_cast<Command>(button); }

}  // namespace

ToolbarMouse::ToolbarMouse(ButtonStates& states, ConstPixelView hitMap, ToolbarMouseHost& host)
    : states_(states), hitMap_(hitMap), host_(host) {}

int ToolbarMouse::ButtonAt(int x, int y) const {
  const int command = HitTestButton(hitMap_, x, y);
  return FindButtonRow(command) >= 0 ? command : -1;
}

void ToolbarMouse::OnMouseMove(int x, int y) {
  const ScreenPoint cursor = host_.ClientToScreenPoint(x, y);
  if (dragging_) {
    host_.MoveWindowTo({dragStartRect_.left + cursor.x - dragOrigin_.x, dragStartRect_.top + cursor.y - dragOrigin_.y});
    return;
  }

  int button = ButtonAt(x, y);
  if (!host_.ToolbarIsUnder(cursor)) button = -1;

  for (int n = 0; n < kCommandCount; ++n) {
    if (states_.State(CommandOf(n)) != ButtonState::Disabled) states_.SetState(CommandOf(n), ButtonState::Normal);
  }
  // A disabled button is never highlighted, and the capture stays as it was.
  if (button < 0 || states_.State(CommandOf(button)) != ButtonState::Disabled) {
    if (pressedButton_ >= 0) {
      // Off the pressed button it looks hovered, so the user sees the click would be lost.
      states_.SetState(CommandOf(pressedButton_),
                       button == pressedButton_ ? ButtonState::Pressed : ButtonState::Hover);
      if (!host_.HasCapture()) host_.TakeCapture();
    } else if (button >= 0) {
      states_.SetState(CommandOf(button), ButtonState::Hover);
      // Keeps the moves coming once the cursor leaves, so the highlight can go.
      if (!host_.HasCapture()) host_.TakeCapture();
    } else if (host_.HasCapture()) {
      host_.ReleaseMouseCapture();
    }
  }
  host_.RedrawIfChanged();

  if (button != tipButton_) {
    tipButton_ = button;
    const int row = FindButtonRow(button);
    host_.SetTipText(row >= 0 ? kToolbarButtons[row].tooltip : u"");
  }
}

void ToolbarMouse::OnLeftButtonDown(int x, int y) {
  if (dragging_) return;
  host_.BringToForeground();

  const int button = ButtonAt(x, y);
  if (button >= 0) {
    // No drag starts on a button, not even on a disabled one.
    if (states_.State(CommandOf(button)) != ButtonState::Disabled) {
      states_.SetState(CommandOf(button), ButtonState::Pressed);
      pressedButton_ = button;
      host_.RedrawIfChanged();
    }
    return;
  }

  dragOrigin_ = host_.ClientToScreenPoint(x, y);
  dragStartRect_ = host_.WindowRect();
  dragging_ = true;
  if (!host_.HasCapture()) host_.TakeCapture();
}

void ToolbarMouse::OnLeftButtonUp(int x, int y) {
  if (dragging_) {
    // The moves have placed the window already; WM_MOVE records where.
    if (host_.HasCapture()) host_.ReleaseMouseCapture();
    dragOrigin_ = {-1, -1};
    dragging_ = false;
    return;
  }

  const int button = ButtonAt(x, y);
  if (host_.HasCapture()) host_.ReleaseMouseCapture();
  for (int n = 0; n < kCommandCount; ++n) {
    const ButtonState state = states_.State(CommandOf(n));
    if (state == ButtonState::Hover || state == ButtonState::Pressed) {
      states_.SetState(CommandOf(n), n == button ? ButtonState::Hover : ButtonState::Normal);
    }
  }
  // A click counts only when the button went down and up on the same enabled button.
  if (pressedButton_ >= 0 && pressedButton_ == button) host_.ExecuteCommand(CommandOf(button));
  host_.RedrawIfChanged();
  pressedButton_ = -1;
}

void ToolbarMouse::OnCaptureChanged(bool anotherWindowTakesIt) {
  // A drag ends only with the button's release on the toolbar.
  if (dragging_ || !anotherWindowTakesIt) return;
  pressedButton_ = -1;
  // A pressed button can no longer be released on itself; a hovered one keeps its highlight
  // (a menu opened over it), and a disabled one stays disabled: only the commands enable it.
  for (int n = 0; n < kCommandCount; ++n) {
    const ButtonState state = states_.State(CommandOf(n));
    if (state != ButtonState::Hover && state != ButtonState::Disabled) states_.SetState(CommandOf(n), ButtonState::Normal);
  }
  host_.RedrawIfChanged();
}

int MouseWheelAlpha(int currentAlpha, int16_t distance, const AppSettings& settings) {
  return WheelAlpha(currentAlpha, distance, settings.Alpha_Min, settings.Alpha_Max);
}

}  // namespace ostrel
