#pragma once
#include "toolbar/pixel_view.h"

namespace ostrel {

// Turns straight alpha (as a bitmap-file skin holds it) into the premultiplied alpha the
// layered window expects: every colour byte c becomes c * alpha / 255, truncated. An
// unusable view is left alone.
void PremultiplyAlpha(PixelView image);

}  // namespace ostrel
