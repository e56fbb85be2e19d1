// The quick capture's decisions: when the copy keys go out, and when the text is taken.
#include <gtest/gtest.h>

#include <vector>

#include "capture_fakes.h"
#include "reading/copy_keys.h"
#include "reading/focus_hand_back.h"
#include "reading/text_capture.h"

namespace ostrel {
namespace {

using testing::CallLog;
using testing::FakeCapturePlatform;
using testing::FakeWindowFocus;
using testing::kEditorId;
using testing::kToolbarId;
using Kind = KeyStep::Kind;

TEST(ReadingQuickCaptureTest, EachChordWaitsForTheFocusAtMostTheLongWaitsSecond) {
  EXPECT_EQ(CopyKeySteps(CopyKeys::kCopy, true),
            (std::vector<KeyStep>{{Kind::kWaitForFocus, 1000}, {Kind::kControlChord, 'C'}}));
  EXPECT_EQ(CopyKeySteps(CopyKeys::kSelectAllAndCopy, true),
            (std::vector<KeyStep>{{Kind::kWaitForFocus, 1000},
                                  {Kind::kControlChord, 'A'},
                                  {Kind::kWaitForFocus, 1000},
                                  {Kind::kControlChord, 'C'}}));
}

// The foreground window changes after some looks; the clock advances only by the sleeps.
class FakeFocusWait : public FocusWaitHost {
 public:
  void DispatchMessages() override { ++dispatches; }
  uintptr_t ForegroundWindow() override {
    const uintptr_t window = looks < foregroundChangesAfter ? before : after;
    ++looks;
    return window;
  }
  void Sleep(int milliseconds) override {
    ++sleeps;
    now += static_cast<uint64_t>(milliseconds);
  }
  uint64_t NowMs() override { return now; }

  uintptr_t before = kToolbarId;
  uintptr_t after = kEditorId;
  int foregroundChangesAfter = 0;
  int looks = 0;
  int dispatches = 0;
  int sleeps = 0;
  uint64_t now = 5000;
};

TEST(ReadingQuickCaptureTest, TheKeysGoOutAsSoonAsTheApplicationIsInFront) {
  struct Row {
    const char* name;
    uintptr_t before;
    uintptr_t after;
    int changesAfter;
    bool inFront;
    int sleeps;
  };
  const std::vector<Row> rows = {
      {"already in front", kToolbarId, kEditorId, 0, true, 0},
      {"in front after three looks", kToolbarId, kEditorId, 3, true, 3},
      {"no window in front counts as not yet", 0, kEditorId, 2, true, 2},
      {"the focus stays on the toolbar: the keys go after the second", kToolbarId, kToolbarId, 0, false, 100},
      {"no window ever in front", 0, 0, 0, false, 100},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeFocusWait host;
    host.before = row.before;
    host.after = row.after;
    host.foregroundChangesAfter = row.changesAfter;
    EXPECT_EQ(WaitForApplicationInFront(host, kToolbarId, 1000), row.inFront);
    EXPECT_EQ(host.sleeps, row.sleeps);
    EXPECT_LE(host.now - 5000, 1000u);
    // Messages run before every look: the focus change itself is one of them.
    EXPECT_EQ(host.dispatches, host.looks);
    EXPECT_GE(host.dispatches, 1);
  }
}

TEST(ReadingQuickCaptureTest, AKnownWindowIsBroughtBackAtOnceWithoutAltEscapeOrTheWait) {
  FakeWindowFocus windows;
  FocusHandBack{windows, kToolbarId}.HandBack(kEditorId, true);
  EXPECT_EQ(windows.broughtToFront, std::vector<uintptr_t>{kEditorId});
  EXPECT_EQ(windows.altEscapes, 0);
  EXPECT_EQ(windows.secondReads, 0);

  // Without one, Alt+Esc; the copy keys' wait lets the toolbar's loop act on it.
  FakeWindowFocus unknown;
  FocusHandBack{unknown, kToolbarId}.HandBack(0, true);
  EXPECT_EQ(unknown.altEscapes, 1);
  EXPECT_EQ(unknown.secondReads, 0);
  EXPECT_TRUE(unknown.broughtToFront.empty());

  // A window closed since the hot key: Alt+Esc finds the next one.
  FakeWindowFocus closed;
  closed.closedWindow = kEditorId;
  FocusHandBack{closed, kToolbarId}.HandBack(kEditorId, true);
  EXPECT_EQ(closed.altEscapes, 1);
  EXPECT_EQ(closed.secondReads, 0);
}

class ReadingQuickTextCaptureTest : public ::testing::Test {
 protected:
  CallLog log;
  FakeCapturePlatform platform{log};
  CaptureFlags flags;
  TextCapture capture{platform, flags};
};

TEST_F(ReadingQuickTextCaptureTest, TheOptionReachesTheHandBackAndTheKeys) {
  for (const bool quick : {false, true}) {
    SCOPED_TRACE(quick);
    FakeCapturePlatform fresh{log};
    flags = {};
    TextCapture freshCapture{fresh, flags};
    freshCapture.SetOptions({.keepClipboard = false, .quick = quick});
    freshCapture.RememberPreviousForeground(kEditorId);
    freshCapture.StartTextCapture(kWholeTextReading);
    EXPECT_EQ(fresh.handedBackQuickly, quick);
    EXPECT_EQ(fresh.keysSentQuickly, std::vector<bool>{quick});
    EXPECT_EQ(fresh.keysSent.size(), 1u);
  }
}

TEST_F(ReadingQuickTextCaptureTest, TheTextIsTakenAtTheTickRightAfterTheCopy) {
  struct Row {
    const char* name;
    bool quick;
    bool copyWhileKeysGoOut;  // before the capture starts its timer
    int soonWaits;
  };
  const std::vector<Row> rows = {
      {"quick: the copy comes after the keys", true, false, 1},
      {"quick: the copy comes while the keys go out", true, true, 1},
      {"long waits: the next tick of the period", false, false, 0},
      {"long waits, the copy while the keys go out", false, true, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeCapturePlatform fresh{log};
    flags = {};
    TextCapture quick{fresh, flags};
    quick.SetOptions({.keepClipboard = false, .quick = row.quick});
    if (row.copyWhileKeysGoOut) fresh.whileSendingKeys = [&] { quick.OnClipboardChanged(); };
    quick.StartTextCapture(kSelectionReading);
    if (!row.copyWhileKeysGoOut) quick.OnClipboardChanged();
    EXPECT_EQ(flags.ClipboardChanged, 1);
    EXPECT_EQ(fresh.waitsSoon, row.soonWaits);
    EXPECT_TRUE(fresh.waitRunning);
    // Changes after the one that counted hurry nothing.
    quick.OnClipboardChanged();
    EXPECT_EQ(fresh.waitsSoon, row.soonWaits);
  }
}

TEST_F(ReadingQuickTextCaptureTest, TheEmptyingOfTheCaptureIsNoReasonToHurry) {
  capture.SetOptions({.keepClipboard = false, .quick = true});
  platform.onClear = [&] { capture.OnClipboardChanged(); };
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(platform.waitsSoon, 0);
  EXPECT_EQ(flags.ClipboardChanged, 0);
}

}  // namespace
}  // namespace ostrel
