#pragma once
#include "toolbar/button_states.h"
#include "toolbar/pixel_view.h"

namespace ostrel {

// The skin is a stack of bands as high as the canvas; band k shows the buttons in the look
// of ButtonState k, band 6 (disabled) doubling as the background.
inline constexpr int kSkinBandCount = 7;
inline constexpr int kBackgroundBand = 6;
// The visible toolbar is skin columns 0..256 followed by skin columns 360 onwards; the
// columns between hold the language images that are not shown.
inline constexpr int kSkinLeftPartWidth = 257;
inline constexpr int kSkinRightPartX = 360;

// Overwrites the whole canvas: the background from band 6, then each button from the band
// its state pair asks for. Composes whatever InTray says; skipping the tray is the caller's.
//
// Skins of the wrong size are shown after a warning, so nothing here trusts the skin:
// - a canvas pixel the background cannot take from the skin (band 6 lies partly or wholly
//   below the skin, or the skin is narrower than the columns asked for) becomes fully
//   transparent, so nothing of an earlier composition survives;
// - a button's rectangle is clipped to both images; the part the skin lacks keeps the
//   background;
// - a state outside 0..6 is drawn as normal (0), a language variant outside 0..3 as
//   Japanese (0), instead of reaching into another band or table row.
// An unusable canvas is left alone; an unusable skin leaves the canvas transparent.
// The two images must not overlap.
void ComposeToolbar(ConstPixelView skin, PixelView canvas, const ButtonStates& states);

}  // namespace ostrel
