#include "reading/text_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "app/texts.h"
#include "reading_fakes.h"

namespace ostrel {
namespace {

using testing::CallLog;
using testing::FakeCapturePlatform;
using testing::KeySequence;
using testing::kToolbarId;

constexpr uintptr_t kEditor = 0x501;

CallLog Join(std::initializer_list<CallLog> parts) {
  CallLog all;
  for (const CallLog& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class ReadingTextCaptureTest : public ::testing::Test {
 protected:
  long Count(const std::string& call) const { return std::count(log.begin(), log.end(), call); }

  CallLog log;
  FakeCapturePlatform platform{log};
  CaptureFlags flags;
  TextCapture capture{platform, flags};
};

TEST_F(ReadingTextCaptureTest, SelectionCopiesAndWholeTextSelectsAllFirst) {
  const CallLog opening = {"Activate", "OpenClipboard", "EmptyClipboard", "CloseClipboard", "AltEscape"};
  struct Row {
    int kind;
    CallLog keys;
  };
  const std::vector<Row> rows = {
      {kSelectionReading, KeySequence('C')},
      {kWholeTextReading, Join({KeySequence('A'), KeySequence('C')})},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.kind);
    log.clear();
    flags = {};
    capture.StartTextCapture(row.kind);
    EXPECT_EQ(log, Join({opening, row.keys, {"StartTimer"}}));
    EXPECT_EQ(flags.ClipboardWaiting, 1);
    EXPECT_EQ(flags.ClipboardChanged, 0);
    EXPECT_EQ(flags.ClipboardTimerRunning, 1);
    EXPECT_TRUE(platform.warnings.empty());
  }
}

TEST_F(ReadingTextCaptureTest, OnlyAChangeAfterTheClipboardIsEmptiedCounts) {
  flags.ClipboardChanged = 1;  // left by the last reading
  // The emptying announces itself while the clipboard is still open and as it closes.
  platform.onEmpty = [&] { capture.OnClipboardChanged(); };
  platform.onClose = [&] { capture.OnClipboardChanged(); };
  int dispatches = 0;
  int changedAtFirstDispatch = -1;
  platform.onDispatch = [&] {
    if (dispatches++ == 0) {
      changedAtFirstDispatch = flags.ClipboardChanged;
      capture.OnClipboardChanged();  // the application's copy
    }
  };
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(changedAtFirstDispatch, 0);
  EXPECT_EQ(flags.ClipboardChanged, 1);
  EXPECT_EQ(flags.ClipboardWaiting, 0);
  // A second change is not the captured text's; the flags stay.
  capture.OnClipboardChanged();
  EXPECT_EQ(flags.ClipboardChanged, 1);
  EXPECT_EQ(flags.ClipboardWaiting, 0);
}

TEST_F(ReadingTextCaptureTest, ClipboardChangeOnlyCountsWhileWaiting) {
  capture.OnClipboardChanged();
  EXPECT_EQ(flags.ClipboardChanged, 0);
  flags.ClipboardWaiting = 1;
  capture.OnClipboardChanged();
  EXPECT_EQ(flags.ClipboardChanged, 1);
  EXPECT_EQ(flags.ClipboardWaiting, 0);
}

TEST_F(ReadingTextCaptureTest, ARunningTimerServesTheNextCapture) {
  capture.StartTextCapture(kSelectionReading);
  capture.StartTextCapture(kWholeTextReading);
  EXPECT_EQ(Count("StartTimer"), 1);
  EXPECT_EQ(flags.ClipboardTimerRunning, 1);
  EXPECT_EQ(flags.ClipboardWaiting, 1);
}

TEST_F(ReadingTextCaptureTest, ACaptureStartedWhileDispatchingStartsOneTimer) {
  bool nested = false;
  platform.onDispatch = [&] {
    if (nested) return;
    nested = true;
    capture.StartTextCapture(kWholeTextReading);
  };
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(Count("StartTimer"), 1);
  EXPECT_EQ(Count("Ctrl+A"), 1);
  EXPECT_EQ(Count("Ctrl+C"), 2);
}

TEST_F(ReadingTextCaptureTest, FailuresAreShownAndEndTheCapture) {
  struct Row {
    const char* name;
    bool open;
    bool empty;
    bool timer;
    CallLog calls;
    std::u16string warning;
    CaptureFlags flagsAfter;
  };
  const CallLog beforeKeys = {"Activate", "OpenClipboard", "EmptyClipboard", "CloseClipboard", "AltEscape"};
  const std::vector<Row> rows = {
      {"clipboard cannot be opened",
       false,
       true,
       true,
       {"Activate", "OpenClipboard", "Warning"},
       texts::kClipboardOpenFailed,
       {.ClipboardWaiting = 0, .ClipboardChanged = 1, .ClipboardTimerRunning = 0}},
      {"clipboard cannot be emptied",
       true,
       false,
       true,
       {"Activate", "OpenClipboard", "EmptyClipboard", "CloseClipboard", "Warning"},
       texts::kClipboardClearFailed,
       {.ClipboardWaiting = 0, .ClipboardChanged = 1, .ClipboardTimerRunning = 0}},
      // The toolbar closes, but the flag says a timer runs all the same.
      {"timer cannot be started",
       true,
       true,
       false,
       Join({beforeKeys, KeySequence('C'), {"StartTimer", "Warning", "PostCloseToMainWindow"}}),
       texts::kTimerFailed,
       {.ClipboardWaiting = 1, .ClipboardChanged = 0, .ClipboardTimerRunning = 1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    log.clear();
    platform.warnings.clear();
    flags = {.ClipboardWaiting = 0, .ClipboardChanged = 1, .ClipboardTimerRunning = 0};
    platform.openSucceeds = row.open;
    platform.emptySucceeds = row.empty;
    platform.timerStarts = row.timer;
    capture.StartTextCapture(kSelectionReading);
    EXPECT_EQ(log, row.calls);
    EXPECT_EQ(platform.warnings, std::vector<std::u16string>{row.warning});
    EXPECT_EQ(flags.ClipboardWaiting, row.flagsAfter.ClipboardWaiting);
    EXPECT_EQ(flags.ClipboardChanged, row.flagsAfter.ClipboardChanged);
    EXPECT_EQ(flags.ClipboardTimerRunning, row.flagsAfter.ClipboardTimerRunning);
  }
}

TEST_F(ReadingTextCaptureTest, FocusWaitEndsWhenTheSecondChanges) {
  platform.readsPerSecond = 5;
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(platform.secondReads, 6);
}

TEST_F(ReadingTextCaptureTest, FocusWaitEndsWhenTheFocusHasMoved) {
  platform.altEscapeMovesTo = kEditor;
  platform.readsPerSecond = INT_MAX;
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(platform.secondReads, 1);
}

TEST_F(ReadingTextCaptureTest, FocusWaitEndsEvenIfTheClockStands) {
  platform.readsPerSecond = INT_MAX;
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(platform.secondReads, TextCapture::kFocusWaitGuard + 1);
  EXPECT_EQ(Count("Ctrl+C"), 1);
}

TEST_F(ReadingTextCaptureTest, OlderFamilyPicksTheWindowThroughTheFilter) {
  platform.ntFamily = false;
  platform.windows = {{kEditor, true, u"Editor", false}, {kToolbarId, true, u"Ostrel Quartet", true}};
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(Count("AltEscape"), 0);
  EXPECT_EQ(log[4], "SetForeground " + std::to_string(kEditor));
  EXPECT_EQ(capture.FilterState().rememberedWindow, 0u);
  EXPECT_FALSE(capture.FilterState().takeNext);
}

TEST_F(ReadingTextCaptureTest, OlderFamilyKeepsTheFilterStateBetweenCaptures) {
  platform.ntFamily = false;
  platform.windows = {{kEditor, true, u"Editor", false}};  // the toolbar is hidden
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(Count("SetForeground " + std::to_string(kEditor)), 0);
  EXPECT_EQ(capture.FilterState().rememberedWindow, kEditor);

  platform.windows = {{kToolbarId, true, u"Ostrel Quartet", true}, {0x777, true, u"Other", false}};
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(Count("SetForeground " + std::to_string(kEditor)), 1);
}

// Where Alt+Esc leaves the focus on the toolbar, the copy would be sent to the toolbar itself;
// the window the user worked in is brought back instead.
TEST_F(ReadingTextCaptureTest, WindowBeforeTheToolbarGetsTheFocusWhenAltEscapeDoesNotMoveIt) {
  struct Row {
    const char* name;
    uintptr_t remembered;
    uintptr_t altEscapeMovesTo;
    bool expectRestore;
  };
  const std::vector<Row> rows = {
      {"focus stays on the toolbar", kEditor, 0, true},
      {"Alt+Esc moved the focus", kEditor, 0x666, false},
      {"nothing remembered", 0, 0, false},
      {"only the toolbar was offered", kToolbarId, 0, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    log.clear();
    flags = {};
    TextCapture fresh{platform, flags};
    fresh.RememberPreviousForeground(row.remembered);
    platform.foreground = kToolbarId;
    platform.altEscapeMovesTo = row.altEscapeMovesTo;
    fresh.StartTextCapture(kWholeTextReading);
    const CallLog expected = Join({{"Activate", "OpenClipboard", "EmptyClipboard", "CloseClipboard", "AltEscape"},
                                   row.expectRestore ? CallLog{"SetForeground " + std::to_string(kEditor)} : CallLog{},
                                   KeySequence('A'), KeySequence('C'), {"StartTimer"}});
    EXPECT_EQ(log, expected);
  }
}

TEST_F(ReadingTextCaptureTest, RememberedForegroundIgnoresTheToolbarAndNull) {
  capture.RememberPreviousForeground(kEditor);
  capture.RememberPreviousForeground(kToolbarId);
  capture.RememberPreviousForeground(0);
  EXPECT_EQ(capture.PreviousForeground(), kEditor);
  capture.RememberPreviousForeground(0x999);
  EXPECT_EQ(capture.PreviousForeground(), 0x999u);
}

}  // namespace
}  // namespace ostrel
