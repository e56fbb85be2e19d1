#include "toolbar/toolbar_animation.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "toolbar/wheel_alpha.h"

namespace ostrel {
namespace {

using Alphas = std::vector<int>;

template <class Steps>
Alphas AlphasOf(const Steps& steps) {
  Alphas alphas;
  for (const auto& step : steps) alphas.push_back(step.alpha);
  return alphas;
}

const ScreenRect kWindow{1000, 700, 1327, 760};
const ScreenPoint kTray{1600, 1030};

TEST(ToolbarAnimationTest, AlphaSequencesFromEachStart) {
  const struct {
    int start;
    Alphas close, minimise, restore, fadeIn;
  } cases[] = {
      {255,
       {255, 170, 114, 76, 51, 34, 23, 16, 11, 8, 6},
       {203, 162, 129, 103, 82, 65, 51, 40, 31, 24, 19, 15, 11, 8, 6, 4, 3, 2, 1},
       {129, 193, 225, 241, 249, 253, 255},
       {1, 130, 195, 227, 243, 251, 255}},
      {6, {6}, {4, 3, 2, 1}, {4, 6}, {1, 6}},
      {2, {}, {1}, {2}, {1}},
      {1, {}, {}, {}, {1}},
      {0, {}, {}, {}, {}},
      {-12, {}, {}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    EXPECT_EQ(CloseFadeAlphas(c.start), c.close);
    EXPECT_EQ(AlphasOf(MinimiseToTraySteps(kWindow, kTray, c.start)), c.minimise);
    EXPECT_EQ(AlphasOf(MinimiseToTraySteps(kWindow, std::nullopt, c.start)), c.minimise);
    EXPECT_EQ(AlphasOf(RestoreFromTraySteps(kWindow, kTray, c.start)), c.restore);
    EXPECT_EQ(AlphasOf(RestoreFromTraySteps(kWindow, std::nullopt, c.start)), c.restore);
    EXPECT_EQ(TrayFadeInAlphas(c.start), c.fadeIn);
  }
}

TEST(ToolbarAnimationTest, SequencesEndForAlphasBeyondAByte) {
  for (int start : {256, 1000, 1 << 30, INT32_MAX}) {
    EXPECT_LT(CloseFadeAlphas(start).size(), 100u);
    const auto minimise = MinimiseToTraySteps(kWindow, kTray, start);
    ASSERT_FALSE(minimise.empty());
    EXPECT_EQ(minimise.back().alpha, 1);
    const auto restore = RestoreFromTraySteps(kWindow, kTray, start);
    ASSERT_FALSE(restore.empty());
    EXPECT_EQ(restore.back().alpha, start);
    EXPECT_EQ(restore.back().position, (ScreenPoint{kWindow.left, kWindow.top}));
    EXPECT_LE(TrayFadeInAlphas(start).back(), start);
  }
}

TEST(ToolbarAnimationTest, SlidesDivideTruncatingTowardZero) {
  // A monitor left of and above the primary one: floor division would land a pixel further.
  const ScreenRect window{-500, -300, -173, -240};
  const ScreenPoint tray{-1000, -20};
  const auto out = MinimiseToTraySteps(window, tray, 255);
  ASSERT_EQ(out.size(), 19u);
  EXPECT_EQ(out.front(), (AnimationStep{{-601, -242}, 203}));  // -153500 / 255, -61940 / 255
  EXPECT_EQ(out.back(), (AnimationStep{{-998, -21}, 1}));      // -254500 / 255, -5380 / 255
  const auto back = RestoreFromTraySteps(window, tray, 255);
  ASSERT_EQ(back.size(), 7u);
  EXPECT_EQ(back.front(), (AnimationStep{{-747, -161}, 129}));  // -190500 / 255, -41220 / 255
  EXPECT_EQ(back.back(), (AnimationStep{{-500, -300}, 255}));

  const auto positive = MinimiseToTraySteps(kWindow, kTray, 255);
  EXPECT_EQ(positive.front().position, (ScreenPoint{1122, 767}));  // 286200 / 255, 195660 / 255
}

TEST(ToolbarAnimationTest, WithoutATrayTheWindowFadesInPlace) {
  for (const auto& step : MinimiseToTraySteps(kWindow, std::nullopt, 255)) {
    EXPECT_EQ(step.position, (ScreenPoint{1000, 700}));
  }
  for (const auto& step : RestoreFromTraySteps(kWindow, std::nullopt, 255)) {
    EXPECT_EQ(step.position, (ScreenPoint{1000, 700}));
  }
}

TEST(ToolbarAnimationTest, TrayPointCentresOnTheNotificationAreaHalvingEachHeight) {
  EXPECT_EQ(TrayPoint({1200, 1040, 1600, 1080}, kWindow), (ScreenPoint{1200, 1030}));
  // 41 / 2 - 60 / 2 = -10, where (41 - 60) / 2 would give -9.
  EXPECT_EQ(TrayPoint({1200, 1051, 1600, 1092}, kWindow), (ScreenPoint{1200, 1041}));
  EXPECT_EQ(TrayPoint({-1600, -41, -1200, 0}, {0, 0, 327, 61}), (ScreenPoint{-1600, -51}));
}

TEST(ToolbarAnimationTest, WheelMovesTwelvePerNotchWithinTheRange) {
  const struct {
    int current, delta, expected;
  } cases[] = {
      {200, -120, 188}, {200, 120, 212}, {250, 120, 255}, {255, 120, 255}, {55, -120, 50}, {50, -240, 50},
      {200, -5, 200},  // -0.5 truncates to 0, not -1
      {200, 119, 211}, {200, -125, 188}, {200, -32768, 50}, {200, 32767, 255},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WheelAlpha(c.current, c.delta, 50, 255), c.expected) << c.current << " " << c.delta;
  }
  EXPECT_EQ(WheelAlpha(100, 0, 200, 150), 200);  // the lower bound is checked first
  EXPECT_EQ(WheelAlpha(INT32_MAX, 32767, 0, 255), 255);
  EXPECT_EQ(WheelAlpha(INT32_MIN, -32768, 0, 255), 0);
}

}  // namespace
}  // namespace ostrel
