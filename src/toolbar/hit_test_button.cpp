#include "toolbar/hit_test_button.h"

namespace ostrel {

int HitTestButton(ConstPixelView hitMap, int x, int y) {
  if (x < 0 || y < 0 || !hitMap.Usable() || x >= hitMap.width || y >= hitMap.height) return -1;
  const uint32_t pixel = hitMap.At(x, y);
  if (BlueOf(pixel) != 255 || GreenOf(pixel) != 0) return -1;
  return RedOf(pixel);
}

}  // namespace ostrel
