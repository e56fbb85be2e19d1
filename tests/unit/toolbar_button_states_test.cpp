#include "toolbar/button_states.h"

#include <gtest/gtest.h>

#include <utility>

namespace ostrel {
namespace {

TEST(ToolbarButtonStatesTest, InitializeDisablesStopAndSetsTheTerminator) {
  ButtonStates states;
  states.SetState(0, kButtonPressed);
  states.SetInTray(true);
  states.SetDimmedDisplay(1);
  states.Initialize();
  for (int n = 0; n < ButtonStates::kPairCount; ++n) {
    const int16_t expected = n == 2 ? kButtonDisabled : n == 8 ? kButtonTerminator : 0;
    EXPECT_EQ(states.State(n), expected) << n;
    EXPECT_EQ(states.Variant(n), 0) << n;
  }
  EXPECT_FALSE(states.InTray());
  EXPECT_EQ(states.DimmedDisplay(), 0);
}

TEST(ToolbarButtonStatesTest, ChangedComparesStatesAndVariantsWithTheDrawnCopy) {
  ButtonStates states;
  EXPECT_FALSE(states.Changed());
  states.Initialize();
  EXPECT_TRUE(states.Changed());  // the first redraw is never skipped
  states.MarkDrawn();
  EXPECT_FALSE(states.Changed());

  states.SetVariant(4, 2);
  EXPECT_TRUE(states.Changed());
  states.SetVariant(4, 0);  // back as drawn: nothing to redraw
  EXPECT_FALSE(states.Changed());

  states.SetState(3, kButtonHover);
  EXPECT_TRUE(states.Changed());
  states.MarkDrawn();
  EXPECT_EQ(states.drawn()[3].state, kButtonHover);
  EXPECT_FALSE(states.Changed());

  states.SetInTray(true);
  EXPECT_TRUE(states.Changed());
  states.MarkDrawn();
  states.SetDimmedDisplay(1);
  EXPECT_TRUE(states.Changed());
}

TEST(ToolbarButtonStatesTest, OnlyCommandPairsCanBeWritten) {
  ButtonStates states;
  states.Initialize();
  // A hit map pixel can name any command up to 255; none may break the terminator.
  for (int n : {-1, 8, 9, 15, 16, 255}) {
    states.SetState(n, kButtonHover);
    states.SetVariant(n, 7);
  }
  EXPECT_EQ(states.State(8), kButtonTerminator);
  EXPECT_EQ(states.DimmedDisplay(), 0);
  EXPECT_EQ(states.State(15), 0);
  EXPECT_EQ(states.State(255), 0);
  EXPECT_EQ(states.Variant(-1), 0);
}

TEST(ToolbarButtonStatesTest, InTrayAndDimmedDisplayAreVariantsOfPairsSevenAndEight) {
  ButtonStates states;
  states.Initialize();
  states.SetInTray(true);
  EXPECT_EQ(states.pairs()[7].variant, 1);
  // Command 133 toggles 0 to 1 and anything else to 0.
  for (const auto& [before, after] : {std::pair<uint16_t, uint16_t>{0, 1}, {1, 0}, {2, 0}, {0xFFFF, 0}}) {
    states.SetDimmedDisplay(before);
    states.ToggleDimmedDisplay();
    EXPECT_EQ(states.pairs()[8], (ButtonStatePair{kButtonTerminator, after})) << before;
  }
}

}  // namespace
}  // namespace ostrel
