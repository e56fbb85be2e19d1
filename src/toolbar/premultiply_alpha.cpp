#include "toolbar/premultiply_alpha.h"

namespace ostrel {

void PremultiplyAlpha(PixelView image) {
  if (!image.Usable()) return;
  for (int y = 0; y < image.height; ++y) {
    uint32_t* row = image.Row(y);
    for (int x = 0; x < image.width; ++x) {
      const uint32_t pixel = row[x];
      const uint32_t alpha = AlphaOf(pixel);
      if (alpha == 255) continue;
      const auto scale = [alpha](uint8_t c) { return static_cast<uint8_t>(c * alpha / 255); };
      row[x] = Bgra(scale(BlueOf(pixel)), scale(GreenOf(pixel)), scale(RedOf(pixel)), static_cast<uint8_t>(alpha));
    }
  }
}

}  // namespace ostrel
