#include "toolbar/hit_test_button.h"

#include <gtest/gtest.h>

#include <vector>

#include "toolbar/pixel_image.h"

namespace ostrel {
namespace {

// The built-in map's square regions (the rounded and round ones as their bounding squares).
struct Region {
  int command;
  int left, top, right, bottom;  // inclusive
};
constexpr Region kRegions[] = {{0, 62, 13, 95, 47},   {1, 110, 9, 149, 48},  {2, 161, 21, 180, 40},
                               {3, 189, 21, 208, 40}, {4, 230, 19, 253, 42}, {5, 264, 19, 287, 42},
                               {6, 296, 17, 309, 30}, {7, 296, 32, 309, 45}};

class ToolbarHitTestTest : public ::testing::Test {
 protected:
  ToolbarHitTestTest() {
    for (const Region& r : kRegions) {
      for (int y = r.top; y <= r.bottom; ++y) {
        for (int x = r.left; x <= r.right; ++x) map.At(x, y) = Bgra(255, 0, static_cast<uint8_t>(r.command), 255);
      }
    }
  }
  int Hit(int x, int y) const { return HitTestButton(map.view(), x, y); }

  PixelImage map{327, 60};
};

TEST_F(ToolbarHitTestTest, RegionsEndExactlyAtTheirEdges) {
  for (const Region& r : kRegions) {
    SCOPED_TRACE(r.command);
    EXPECT_EQ(Hit(r.left, r.top), r.command);
    EXPECT_EQ(Hit(r.right, r.bottom), r.command);
    EXPECT_EQ(Hit(r.left - 1, r.top), -1);
    EXPECT_EQ(Hit(r.right + 1, r.bottom), -1);
    EXPECT_EQ(Hit(r.left, r.top - 1), -1);
  }
  EXPECT_EQ(Hit(300, 31), -1);  // the gap between close and minimise
}

TEST_F(ToolbarHitTestTest, OutsideTheMapOrWithoutOneNothingIsHit) {
  map.At(0, 0) = map.At(326, 59) = Bgra(255, 0, 3, 255);
  EXPECT_EQ(Hit(0, 0), 3);
  EXPECT_EQ(Hit(326, 59), 3);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {327, 0}, {0, 60}, {-5, -5}, {1000, 1000}}) {
    EXPECT_EQ(Hit(x, y), -1) << x << ", " << y;
  }
  EXPECT_EQ(HitTestButton(ConstPixelView{}, 0, 0), -1);
}

TEST_F(ToolbarHitTestTest, OnlyBlue255AndGreen0MarkAButton) {
  const struct {
    uint32_t pixel;
    int command;
  } cases[] = {{Bgra(255, 0, 0, 255), 0},   {Bgra(255, 0, 200, 255), 200}, {Bgra(255, 0, 5, 0), 5},
               {Bgra(254, 0, 5, 255), -1},  {Bgra(255, 1, 5, 255), -1},    {Bgra(0, 0, 0, 0), -1},
               {Bgra(255, 255, 255, 255), -1}};
  for (const auto& c : cases) {
    map.At(10, 10) = c.pixel;
    EXPECT_EQ(Hit(10, 10), c.command) << std::hex << c.pixel;
  }
}

}  // namespace
}  // namespace ostrel
