#include "reading/focus_hand_back.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "capture_fakes.h"

namespace ostrel {
namespace {

using testing::FakeWindowFocus;
using testing::kEditorId;
using testing::kToolbarId;

class ReadingFocusHandBackTest : public ::testing::Test {
 protected:
  FakeWindowFocus windows;
  FocusHandBack focus{windows, kToolbarId};
};

TEST_F(ReadingFocusHandBackTest, NtFamilyMovesTheFocusWithAltEscape) {
  windows.altEscapeMovesTo = kEditorId;
  focus.HandBack(0);
  EXPECT_EQ(windows.altEscapes, 1);
  EXPECT_EQ(windows.active, kEditorId);
  EXPECT_TRUE(windows.broughtToFront.empty());
}

TEST_F(ReadingFocusHandBackTest, WaitEndsWhenTheSecondChanges) {
  windows.readsPerSecond = 5;
  focus.HandBack(0);
  EXPECT_EQ(windows.secondReads, 6);
}

TEST_F(ReadingFocusHandBackTest, WaitEndsWhenTheFocusHasMoved) {
  windows.altEscapeMovesTo = kEditorId;
  windows.readsPerSecond = INT_MAX;
  focus.HandBack(0);
  EXPECT_EQ(windows.secondReads, 1);
}

TEST_F(ReadingFocusHandBackTest, WaitEndsEvenIfTheClockStands) {
  windows.readsPerSecond = INT_MAX;
  focus.HandBack(0);
  EXPECT_EQ(windows.secondReads, FocusHandBack::kFocusWaitGuard + 1);
}

TEST_F(ReadingFocusHandBackTest, OlderFamilyBringsTheFilteredWindowToTheFront) {
  windows.ntFamily = false;
  windows.windows = {{kEditorId, true, u"Editor", false}, {kToolbarId, true, u"Ostrel Quartet", true}};
  focus.HandBack(0);
  EXPECT_EQ(windows.altEscapes, 0);
  EXPECT_EQ(windows.broughtToFront, std::vector<uintptr_t>{kEditorId});
  EXPECT_EQ(windows.active, kEditorId);
  EXPECT_EQ(focus.FilterState().rememberedWindow, 0u);
  EXPECT_FALSE(focus.FilterState().takeNext);
}

TEST_F(ReadingFocusHandBackTest, OlderFamilyKeepsTheFilterStateBetweenHandBacks) {
  windows.ntFamily = false;
  windows.windows = {{kEditorId, true, u"Editor", false}};  // the toolbar is hidden
  focus.HandBack(0);
  EXPECT_TRUE(windows.broughtToFront.empty());
  EXPECT_EQ(focus.FilterState().rememberedWindow, kEditorId);

  windows.windows = {{kToolbarId, true, u"Ostrel Quartet", true}, {0x777, true, u"Other", false}};
  focus.HandBack(0);
  EXPECT_EQ(windows.broughtToFront, std::vector<uintptr_t>{kEditorId});
}

// Where Alt+Esc leaves the focus on the toolbar, the copy would be sent to the toolbar itself;
// the window the user worked in is brought back instead.
TEST_F(ReadingFocusHandBackTest, WindowBeforeTheToolbarGetsTheFocusWhenAltEscapeDoesNotMoveIt) {
  struct Row {
    const char* name;
    uintptr_t previous;
    uintptr_t altEscapeMovesTo;
    uintptr_t inFrontAfter;
  };
  const std::vector<Row> rows = {
      {"focus stays on the toolbar", kEditorId, 0, kEditorId},
      {"Alt+Esc moved the focus", kEditorId, 0x666, 0x666},
      {"nothing remembered", 0, 0, kToolbarId},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeWindowFocus fresh;
    fresh.altEscapeMovesTo = row.altEscapeMovesTo;
    FocusHandBack{fresh, kToolbarId}.HandBack(row.previous);
    EXPECT_EQ(fresh.foreground, row.inFrontAfter);
    EXPECT_EQ(fresh.active, row.inFrontAfter);
  }
}

}  // namespace
}  // namespace ostrel
