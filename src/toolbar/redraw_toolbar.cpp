#include "toolbar/redraw_toolbar.h"

#include "toolbar/compose_toolbar.h"

namespace ostrel {

bool RedrawToolbar(ConstPixelView skin, PixelView canvas, ButtonStates& states, int currentAlpha,
                   const PresentCanvasFunction& present) {
  if (states.InTray()) return false;
  ComposeToolbar(skin, canvas, states);
  states.MarkDrawn();
  if (present) present(currentAlpha);
  return true;
}

bool RedrawToolbarIfChanged(ConstPixelView skin, PixelView canvas, ButtonStates& states, int currentAlpha,
                            const PresentCanvasFunction& present) {
  return states.Changed() && RedrawToolbar(skin, canvas, states, currentAlpha, present);
}

}  // namespace ostrel
