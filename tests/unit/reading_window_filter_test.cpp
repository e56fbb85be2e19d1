#include "reading/window_filter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace ostrel {
namespace {

constexpr uintptr_t kToolbar = 0x100;

TopLevelWindow Plain(uintptr_t id) { return {id, true, u"Window", false}; }
TopLevelWindow Toolbar() { return {kToolbar, true, u"Ostrel Quartet", true}; }
TopLevelWindow Topmost(uintptr_t id) { return {id, true, u"Always on top", true}; }
TopLevelWindow Hidden(uintptr_t id) { return {id, false, u"Hidden", false}; }
TopLevelWindow Untitled(uintptr_t id) { return {id, true, u"", false}; }

TEST(ReadingWindowFilterTest, PicksTheWindowTheUserWorkedIn) {
  struct Row {
    const char* name;
    std::vector<TopLevelWindow> windows;  // top of the Z order first
    std::optional<uintptr_t> expected;
    WindowFilterState stateAfter;
  };
  const std::vector<Row> rows = {
      {"first below the toolbar", {Toolbar(), Plain(1), Plain(2)}, 1, {}},
      {"topmost others are skipped", {Topmost(7), Toolbar(), Topmost(8), Plain(3)}, 3, {}},
      {"invisible and untitled are skipped", {Toolbar(), Hidden(4), Untitled(5), Plain(6)}, 6, {}},
      {"above the toolbar: the topmost of those", {Plain(10), Plain(11), Toolbar(), Plain(12)}, 10, {}},
      {"above, behind skipped ones", {Hidden(9), Topmost(8), Plain(11), Toolbar()}, 11, {}},
      {"a hidden toolbar is not found", {Plain(1), Hidden(kToolbar), Plain(2)}, std::nullopt, {1, false}},
      {"nothing below the toolbar", {Toolbar(), Topmost(3), Hidden(4)}, std::nullopt, {0, true}},
      {"no windows", {}, std::nullopt, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WindowFilterState state;
    EXPECT_EQ(WindowFilter(row.windows, kToolbar, state), row.expected);
    EXPECT_EQ(state.rememberedWindow, row.stateAfter.rememberedWindow);
    EXPECT_EQ(state.takeNext, row.stateAfter.takeNext);
  }
}

TEST(ReadingWindowFilterTest, AnUnfinishedWalkCarriesOverToTheNextCapture) {
  WindowFilterState state;
  // Nothing below the toolbar: the next capture takes its first qualifying window.
  EXPECT_EQ(WindowFilter(std::vector{Plain(1), Hidden(kToolbar)}, kToolbar, state), std::nullopt);
  EXPECT_EQ(WindowFilter(std::vector{Toolbar()}, kToolbar, state), 1u);
  EXPECT_EQ(state.rememberedWindow, 0u);

  EXPECT_EQ(WindowFilter(std::vector{Toolbar()}, kToolbar, state), std::nullopt);
  EXPECT_TRUE(state.takeNext);
  EXPECT_EQ(WindowFilter(std::vector{Plain(5), Toolbar(), Plain(6)}, kToolbar, state), 5u);
  EXPECT_FALSE(state.takeNext);
}

TEST(ReadingWindowFilterTest, OnlyTheFirstSixtyNineTitleCharactersAreRead) {
  WindowFilterState state;
  const TopLevelWindow leadingZero{1, true, std::u16string(1, u'\0') + u"rest", false};
  const TopLevelWindow longTitle{2, true, std::u16string(500, u'x'), false};
  EXPECT_EQ(WindowFilter(std::vector{Toolbar(), leadingZero, longTitle}, kToolbar, state), 2u);
}

}  // namespace
}  // namespace ostrel
