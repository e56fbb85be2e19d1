#pragma once
#include <functional>

#include "toolbar/button_states.h"
#include "toolbar/pixel_view.h"

namespace ostrel {

// Shows the canvas with a constant alpha (the Win32 side's PresentCanvas).
using PresentCanvasFunction = std::function<void(int alpha)>;

// The toolbar's redraw: nothing at all while it sits in the tray (the state changes made
// meanwhile appear at the next redraw after the restore); otherwise compose, remember the
// pairs as drawn, then present with currentAlpha. Returns whether it composed.
bool RedrawToolbar(ConstPixelView skin, PixelView canvas, ButtonStates& states, int currentAlpha,
                   const PresentCanvasFunction& present);

// RedrawToolbar only when a state pair differs from the copy last drawn.
bool RedrawToolbarIfChanged(ConstPixelView skin, PixelView canvas, ButtonStates& states, int currentAlpha,
                            const PresentCanvasFunction& present);

}  // namespace ostrel
