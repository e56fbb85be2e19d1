#include "toolbar/button_states.h"

#include <gtest/gtest.h>

#include <utility>

namespace ostrel {
namespace {

TEST(ToolbarButtonStatesTest, InitializeDisablesStopAndSetsTheTerminator) {
  ButtonStates states;
  states.SetState(Command{0}, ButtonState::Pressed);
  states.SetInTray(true);
  states.SetDimmedDisplay(1);
  states.Initialize();
  for (int n = 0; n < ButtonStates::kPairCount; ++n) {
    const ButtonState expected = n == 2 ? ButtonState::Disabled : n == 8 ? ButtonState::Terminator : ButtonState::Normal;
    EXPECT_EQ(states.State(Command{n}), expected) << n;
    EXPECT_EQ(states.Variant(Command{n}), 0) << n;
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

  states.SetVariant(Command{4}, 2);
  EXPECT_TRUE(states.Changed());
  states.SetVariant(Command{4}, 0);  // back as drawn: nothing to redraw
  EXPECT_FALSE(states.Changed());

  states.SetState(Command{3}, ButtonState::Hover);
  EXPECT_TRUE(states.Changed());
  states.MarkDrawn();
  EXPECT_EQ(states.drawn()[3].state, ButtonState::Hover);
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
    states.SetState(Command{n}, ButtonState::Hover);
    states.SetVariant(Command{n}, 7);
  }
  EXPECT_EQ(states.State(Command{8}), ButtonState::Terminator);
  EXPECT_EQ(states.DimmedDisplay(), 0);
  EXPECT_EQ(states.State(Command{15}), ButtonState::Normal);
  EXPECT_EQ(states.State(Command{255}), ButtonState::Normal);
  EXPECT_EQ(states.Variant(Command{-1}), 0);
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
    EXPECT_EQ(states.pairs()[8], (ButtonStatePair{ButtonState::Terminator, after})) << before;
  }
}

}  // namespace
}  // namespace ostrel
