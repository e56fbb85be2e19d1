#include "ui/slider_win32.h"

#include <commctrl.h>

namespace ostrel::ui {

void Slider::SetRange(int minimum, int maximum, bool redraw) const {
  Send(TBM_SETRANGEMIN, FALSE, minimum);
  Send(TBM_SETRANGEMAX, redraw ? TRUE : FALSE, maximum);
}

int Slider::GetRangeMin() const { return static_cast<int>(Send(TBM_GETRANGEMIN)); }

int Slider::GetRangeMax() const { return static_cast<int>(Send(TBM_GETRANGEMAX)); }

void Slider::SetTicFreq(int frequency) const { Send(TBM_SETTICFREQ, static_cast<WPARAM>(frequency)); }

void Slider::SetPos(int position, bool redraw) const { Send(TBM_SETPOS, redraw ? TRUE : FALSE, position); }

int Slider::GetPos() const { return static_cast<int>(Send(TBM_GETPOS)); }

}  // namespace ostrel::ui
