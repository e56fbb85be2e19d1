#include "toolbar/premultiply_alpha.h"

#include <gtest/gtest.h>

#include <vector>

namespace ostrel {
namespace {

TEST(ToolbarPremultiplyTest, ColoursScaleByAlphaTruncatingAndAlphaStays) {
  const struct {
    uint32_t straight;
    uint32_t premultiplied;
  } cases[] = {
      {Bgra(10, 200, 255, 255), Bgra(10, 200, 255, 255)},
      {Bgra(10, 200, 255, 0), Bgra(0, 0, 0, 0)},
      {Bgra(1, 200, 255, 128), Bgra(0, 100, 128, 128)},  // 200 * 128 / 255 = 100.4
      {Bgra(254, 255, 3, 254), Bgra(253, 254, 2, 254)},
      {Bgra(255, 255, 255, 1), Bgra(1, 1, 1, 1)},
  };
  // Two rows with a padding column that must stay untouched.
  std::vector<uint32_t> pixels;
  for (const auto& c : cases) pixels.push_back(c.straight);
  pixels.push_back(0xDEADBEEF);
  for (const auto& c : cases) pixels.push_back(c.straight);
  pixels.push_back(0xDEADBEEF);
  const int width = static_cast<int>(std::size(cases));
  PremultiplyAlpha(PixelView(pixels.data(), width, 2, width + 1));
  for (int row = 0; row < 2; ++row) {
    for (int i = 0; i < width; ++i) EXPECT_EQ(pixels[row * (width + 1) + i], cases[i].premultiplied) << i;
    EXPECT_EQ(pixels[row * (width + 1) + width], 0xDEADBEEFu);
  }
}

TEST(ToolbarPremultiplyTest, NoImageIsLeftAlone) {
  uint32_t pixel = Bgra(100, 100, 100, 0);
  PremultiplyAlpha(PixelView{});
  PremultiplyAlpha(PixelView(&pixel, 0, 1));
  PremultiplyAlpha(PixelView(&pixel, 1, 1, 0));  // a stride shorter than a row is no image
  EXPECT_EQ(pixel, Bgra(100, 100, 100, 0));
}

}  // namespace
}  // namespace ostrel
