#pragma once
#include <windows.h>

#include "ui/control_win32.h"

namespace ostrel::ui {

// A trackbar. The range goes through TBM_SETRANGEMIN/MAX, whose values are full 32-bit
// (TBM_SETRANGE would cut them to 16 bits, and the pauses run to 65535).
class Slider : public Control {
 public:
  using Control::Control;

  void SetRange(int minimum, int maximum, bool redraw = false) const;
  int GetRangeMin() const;
  int GetRangeMax() const;
  void SetTicFreq(int frequency) const;
  // The control clamps a position outside the range to the nearer end.
  void SetPos(int position, bool redraw = true) const;
  int GetPos() const;
};

}  // namespace ostrel::ui
