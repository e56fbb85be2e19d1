#include "toolbar/compose_toolbar.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "toolbar/pixel_image.h"
#include "toolbar/redraw_toolbar.h"
#include "toolbar/toolbar_button.h"

namespace ostrel {
namespace {

constexpr int kCanvasWidth = 327;
constexpr int kBand = 60;
constexpr uint32_t kStale = 0x5A5A5A5A;  // what an earlier composition left

// Every skin pixel names its own column and row, so a canvas pixel tells where it came from.
constexpr uint32_t kSkinMark = 0xA5000000;
uint32_t SkinPixel(int x, int y) { return kSkinMark | static_cast<uint32_t>(y) << 12 | static_cast<uint32_t>(x); }

struct Origin {
  int x;
  int y;
  friend bool operator==(const Origin&, const Origin&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Origin& o) {
    return os << "skin (" << o.x << ", " << o.y << ") band " << o.y / kBand;
  }
};

std::optional<Origin> OriginOf(uint32_t pixel) {
  if ((pixel & 0xFF000000) != kSkinMark) return std::nullopt;
  return Origin{static_cast<int>(pixel & 0xFFF), static_cast<int>(pixel >> 12 & 0xFFF)};
}

PixelImage MakeSkin(int width, int height) {
  PixelImage skin(width, height);
  for (int y = 0; y < skin.height(); ++y) {
    for (int x = 0; x < skin.width(); ++x) skin.At(x, y) = SkinPixel(x, y);
  }
  return skin;
}

Origin BackgroundOrigin(int x, int y) { return {x < 257 ? x : x + 103, 6 * kBand + y}; }

class ToolbarComposeTest : public ::testing::Test {
 protected:
  ToolbarComposeTest() { states.Initialize(); }

  void Compose() { ComposeToolbar(skin.view(), canvas.view(), states); }
  std::optional<Origin> From(int x, int y) const { return OriginOf(canvas.At(x, y)); }

  // The whole destination rectangle of a table row holds that row's image from band.
  ::testing::AssertionResult Shows(int row, int band) const {
    const ToolbarButton& b = kToolbarButtons[row];
    for (int y = 0; y < b.bottom - b.top; ++y) {
      for (int x = 0; x < b.right - b.left; ++x) {
        const Origin expected{b.left + x, band * kBand + b.top + y};
        const auto actual = From(b.destX + x, b.destY + y);
        if (actual != expected) {
          return ::testing::AssertionFailure() << "row " << row << " at canvas (" << b.destX + x << ", "
                                               << b.destY + y << ") expected " << expected;
        }
      }
    }
    return ::testing::AssertionSuccess();
  }

  PixelImage skin = MakeSkin(430, 435);
  PixelImage canvas{kCanvasWidth, kBand, kStale};
  ButtonStates states;
};

TEST_F(ToolbarComposeTest, BackgroundIsBandSixInTwoParts) {
  Compose();
  for (int x = 0; x < kCanvasWidth; ++x) EXPECT_EQ(From(x, 0), BackgroundOrigin(x, 0)) << x;
  EXPECT_EQ(From(256, 59), (Origin{256, 419}));
  EXPECT_EQ(From(257, 59), (Origin{360, 419}));
  EXPECT_EQ(From(326, 59), (Origin{429, 419}));
}

TEST_F(ToolbarComposeTest, BandFollowsStateAndAlternateFace) {
  const struct {
    int command;
    int16_t state;
    uint16_t variant;
    int band;
  } cases[] = {
      // Read buttons and repeat: a non-zero variant picks the alternate face, except disabled.
      {0, 0, 0, 0}, {0, 0, 1, 1}, {0, 2, 0, 2}, {0, 2, 1, 3}, {0, 4, 0, 4}, {0, 4, 1, 5},
      {0, 6, 0, 6}, {0, 6, 1, 6}, {1, 0, 1, 1}, {1, 2, 1, 3}, {1, 4, 1, 5}, {1, 6, 1, 6},
      {3, 0, 0, 0}, {3, 0, 1, 1}, {3, 2, 7, 3}, {3, 6, 1, 6},
      // The others have no alternate face; the minimise button's variant is InTray, which
      // does not stop the composition either (skipping it is RedrawToolbar's business).
      {2, 6, 0, 6}, {2, 2, 0, 2}, {5, 4, 0, 4}, {6, 2, 0, 2}, {7, 4, 0, 4}, {7, 2, 1, 2},
      // A state that is no band is drawn as normal.
      {0, -1, 0, 0}, {0, 7, 1, 1}, {5, 100, 0, 0}, {6, -32768, 0, 0}, {7, 32767, 0, 0},
  };
  for (const auto& c : cases) {
    states.Initialize();
    states.SetState(Command{c.command}, ButtonState{c.state});
    states.SetVariant(Command{c.command}, c.variant);
    Compose();
    EXPECT_TRUE(Shows(FindButtonRow(c.command), c.band))
        << "command " << c.command << " state " << c.state << " variant " << c.variant;
  }
}

TEST_F(ToolbarComposeTest, LanguageButtonShowsTheCurrentLanguagesImageInItsStatesBand) {
  for (ButtonState state : {ButtonState::Normal, ButtonState::Hover, ButtonState::Pressed, ButtonState::Disabled}) {
    for (uint16_t language = 0; language < 4; ++language) {
      states.SetState(Command{4}, state);
      states.SetVariant(Command{4}, language);
      Compose();
      EXPECT_TRUE(Shows(4 + language, static_cast<int>(state)));
    }
    // A language the table has no image for shows Japanese, never another row's image.
    for (uint16_t language : {4, 7, 8, 0xFFFF}) {
      states.SetVariant(Command{4}, language);
      Compose();
      EXPECT_TRUE(Shows(4, static_cast<int>(state))) << language;
    }
  }
}

TEST_F(ToolbarComposeTest, DimmedDisplayShowsOnlyTheLanguageImageOverBandSix) {
  states.SetState(Command{0}, ButtonState::Pressed);
  states.SetVariant(Command{0}, 1);
  states.SetState(Command{4}, ButtonState::Hover);
  states.SetVariant(Command{4}, 2);
  states.SetVariant(Command{3}, 1);
  states.SetDimmedDisplay(1);
  Compose();
  const ToolbarButton& english = kToolbarButtons[6];
  int wrong = 0;
  for (int y = 0; y < kBand; ++y) {
    for (int x = 0; x < kCanvasWidth; ++x) {
      const bool inLanguage = x >= english.destX && x < english.destX + (english.right - english.left) &&
                              y >= english.destY && y < english.destY + (english.bottom - english.top);
      const Origin expected = inLanguage ? Origin{english.left + x - english.destX, 6 * kBand + y}
                                         : BackgroundOrigin(x, y);
      if (From(x, y) != expected && ++wrong <= 5) ADD_FAILURE() << "canvas (" << x << ", " << y << ")";
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(ToolbarComposeTest, StaysWithinACanvasWhoseStrideIsWiderThanItself) {
  for (int width : {kCanvasWidth, 200, 257, 258, 1}) {
    const int stride = 340;
    std::vector<uint32_t> memory(static_cast<size_t>(stride) * kBand, kStale);
    states.SetState(Command{5}, ButtonState::Hover);
    ComposeToolbar(skin.view(), PixelView(memory.data(), width, kBand, stride), states);
    for (int y = 0; y < kBand; ++y) {
      for (int x = 0; x < stride; ++x) {
        const uint32_t pixel = memory[static_cast<size_t>(y) * stride + x];
        ASSERT_EQ(pixel == kStale, x >= width) << "width " << width << " at (" << x << ", " << y << ")";
      }
    }
    EXPECT_EQ(OriginOf(memory[width - 1]), BackgroundOrigin(width - 1, 0));
  }
}

// Skins of the wrong size are shown after a warning: every canvas pixel is overwritten,
// either from inside the skin or with transparency, and states and variants that are
// no band or image change nothing of that.
TEST(ToolbarComposeSkinSizeTest, NeverLeavesTheSkinOrTheCanvas) {
  const struct {
    int width;
    int height;
  } sizes[] = {{430, 435}, {431, 435}, {430, 419}, {430, 480}, {429, 560}, {300, 200},
               {256, 435}, {430, 361}, {10, 10},   {1, 1},     {0, 0},     {2000, 2000}};
  const int16_t strange[] = {-32768, -1, 0, 1, 2, 3, 4, 5, 6, 7, 13, 32767};
  for (const auto& size : sizes) {
    SCOPED_TRACE(::testing::Message() << size.width << " x " << size.height);
    const PixelImage skin = MakeSkin(size.width, size.height);
    ButtonStates states;
    states.Initialize();
    for (int round = 0; round < 12; ++round) {
      for (int n = 0; n < 8; ++n) {
        states.SetState(Command{n}, ButtonState{strange[(round + n) % 12]});
        states.SetVariant(Command{n}, static_cast<uint16_t>(round * 9 + n));
      }
      states.SetDimmedDisplay(round % 3 == 0 ? 1 : 0);
      PixelImage canvas(kCanvasWidth, kBand, kStale);
      ComposeToolbar(skin.view(), canvas.view(), states);
      for (int y = 0; y < kBand; ++y) {
        for (int x = 0; x < kCanvasWidth; ++x) {
          const uint32_t pixel = canvas.At(x, y);
          if (pixel == 0) continue;
          const auto origin = OriginOf(pixel);
          ASSERT_TRUE(origin) << "not overwritten at (" << x << ", " << y << ")";
          ASSERT_LT(origin->x, skin.width());
          ASSERT_LT(origin->y, skin.height());
        }
      }
    }
  }
}

TEST_F(ToolbarComposeTest, MissingSkinRowsAndColumnsBecomeTransparent) {
  skin = MakeSkin(430, 419);  // band 6 lacks its last row
  Compose();
  EXPECT_EQ(From(100, 58), BackgroundOrigin(100, 58));
  EXPECT_EQ(canvas.At(100, 59), 0u);
  EXPECT_EQ(canvas.At(326, 59), 0u);

  skin = MakeSkin(431, 435);  // the extra column is never shown
  Compose();
  EXPECT_EQ(From(326, 30), (Origin{429, 390}));

  skin = MakeSkin(380, 435);  // the right part is cut short at skin column 379
  Compose();
  EXPECT_EQ(From(276, 0), (Origin{379, 360}));
  EXPECT_EQ(canvas.At(277, 0), 0u);
  EXPECT_EQ(canvas.At(326, 59), 0u);

  ComposeToolbar(ConstPixelView{}, canvas.view(), states);
  EXPECT_EQ(canvas.At(0, 0), 0u);
  EXPECT_EQ(canvas.At(326, 59), 0u);
  ComposeToolbar(skin.view(), PixelView{}, states);  // no canvas: nothing to do
}

class ToolbarRedrawTest : public ToolbarComposeTest {
 protected:
  bool Redraw(bool ifChanged = false) {
    const auto present = [this](int alpha) { presented.push_back(alpha); };
    return ifChanged ? RedrawToolbarIfChanged(skin.view(), canvas.view(), states, 200, present)
                     : RedrawToolbar(skin.view(), canvas.view(), states, 200, present);
  }
  std::vector<int> presented;
};

TEST_F(ToolbarRedrawTest, ComposesMarksDrawnThenPresentsWithTheCurrentAlpha) {
  EXPECT_TRUE(Redraw());
  EXPECT_EQ(presented, std::vector<int>{200});
  EXPECT_FALSE(states.Changed());
  EXPECT_TRUE(Shows(2, 6));

  EXPECT_FALSE(Redraw(true));  // nothing changed
  EXPECT_EQ(presented.size(), 1u);
  states.SetState(Command{0}, ButtonState::Hover);
  EXPECT_TRUE(Redraw(true));
  EXPECT_EQ(presented.size(), 2u);
  EXPECT_TRUE(Shows(0, 2));
}

TEST_F(ToolbarRedrawTest, DoesNothingWhileInTheTray) {
  states.SetInTray(true);
  states.SetState(Command{1}, ButtonState::Hover);
  EXPECT_FALSE(Redraw());
  EXPECT_FALSE(Redraw(true));
  EXPECT_TRUE(presented.empty());
  EXPECT_EQ(canvas.At(120, 30), kStale);
  EXPECT_TRUE(states.Changed());  // the change shows after the restore

  states.SetInTray(false);
  EXPECT_TRUE(Redraw(true));
  EXPECT_TRUE(Shows(1, 2));
}

}  // namespace
}  // namespace ostrel
