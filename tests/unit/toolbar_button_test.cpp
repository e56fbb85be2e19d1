#include "toolbar/toolbar_button.h"

#include <gtest/gtest.h>

#include <climits>
#include <string_view>

namespace ostrel {
namespace {

TEST(ToolbarButtonTableTest, FindButtonRowTakesTheFirstRowOfACommand) {
  const struct {
    int command;
    int row;
  } cases[] = {{0, 0}, {1, 1},  {2, 2},  {3, 3},  {4, 4},   {5, 8},       {6, 9},
               {7, 10}, {8, -1}, {99, -1}, {-1, -1}, {-2, -1}, {INT_MIN, -1}, {INT_MAX, -1}};
  for (const auto& c : cases) EXPECT_EQ(FindButtonRow(c.command), c.row) << "command " << c.command;
}

TEST(ToolbarButtonTableTest, EndsAtTheFirstNegativeLeftAndOnlyTheCloseButtonCloses) {
  int end = 0;
  while (kToolbarButtons[end].left >= 0) ++end;
  EXPECT_EQ(end, 11);
  EXPECT_EQ(kToolbarButtons[end].command, Command{-1});
  for (int row = 0; row < end; ++row) {
    EXPECT_EQ(kToolbarButtons[row].flag, kToolbarButtons[row].command == Command::Close ? kCloseButtonFlag : 0) << row;
  }
  EXPECT_EQ(std::u16string_view(kToolbarButtons[FindButtonRow(Number(Command::Language))].tooltip), u"言語切替");
}

// The skin is 430 wide with 60-row bands; the shown toolbar is skin columns 0..256 then
// 360.. at canvas 257.., so a button lands where the visible skin shows it.
TEST(ToolbarButtonTableTest, ButtonsLieInsideABandAndLandWhereTheVisibleSkinShowsThem) {
  for (int row = 0; row < 11; ++row) {
    const ToolbarButton& b = kToolbarButtons[row];
    SCOPED_TRACE(row);
    EXPECT_TRUE(b.left >= 0 && b.left < b.right && b.right <= 430);
    EXPECT_TRUE(b.top >= 0 && b.top < b.bottom && b.bottom <= 60);
    EXPECT_TRUE(b.destX >= 0 && b.destX + (b.right - b.left) <= 327);
    EXPECT_TRUE(b.destY >= 0 && b.destY + (b.bottom - b.top) <= 60);
    EXPECT_EQ(b.destY, b.top);
    if (row >= 5 && row <= 7) continue;  // the hidden language images
    EXPECT_EQ(b.destX, b.left < 257 ? b.left : b.left - 103);
  }
  const ToolbarButton& japanese = kToolbarButtons[4];
  for (int row = 5; row <= 7; ++row) {
    const ToolbarButton& b = kToolbarButtons[row];
    EXPECT_EQ(b.command, Command::Language);
    EXPECT_EQ(b.right - b.left, japanese.right - japanese.left);
    EXPECT_EQ(b.bottom - b.top, japanese.bottom - japanese.top);
    EXPECT_EQ(b.destX, japanese.destX);
    EXPECT_EQ(b.destY, japanese.destY);
    EXPECT_EQ(std::u16string_view(b.tooltip), u"");
  }
}

}  // namespace
}  // namespace ostrel
