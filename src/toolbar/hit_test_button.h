#pragma once
#include "toolbar/pixel_view.h"

namespace ostrel {

// The command of the button under the client point, or -1. A hit-map pixel with blue 255
// and green 0 belongs to the button whose command is its red; the map's button pixels are
// opaque, so premultiplication has left them as drawn. An unusable view means no map.
int HitTestButton(ConstPixelView hitMap, int x, int y);

}  // namespace ostrel
