#include "toolbar/pixel_image.h"

namespace ostrel {

PixelImage::PixelImage(int width, int height, uint32_t fill) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}

}  // namespace ostrel
