#include "reading/text_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_fakes.h"
#include "reading/reading_texts.h"

namespace ostrel {
namespace {

using testing::CallLog;
using testing::FakeCapturePlatform;
using testing::kEditorId;
using testing::kToolbarId;
using SentKeys = FakeCapturePlatform::SentKeys;

class ReadingTextCaptureTest : public ::testing::Test {
 protected:
  CallLog log;
  FakeCapturePlatform platform{log};
  CaptureFlags flags;
  TextCapture capture{platform, flags};
};

// The toolbar, active, empties the clipboard; the copy keys reach the application the focus
// went back to; the timer then waits for the application's copy.
TEST_F(ReadingTextCaptureTest, SelectionIsCopiedAndWholeTextSelectedFirst) {
  struct Row {
    int kind;
    CopyKeys keys;
  };
  for (const Row& row : {Row{kSelectionReading, CopyKeys::kCopy}, Row{kWholeTextReading, CopyKeys::kSelectAllAndCopy}}) {
    SCOPED_TRACE(row.kind);
    FakeCapturePlatform fresh{log};
    flags = {};
    TextCapture{fresh, flags}.StartTextCapture(row.kind);
    EXPECT_EQ(fresh.activeWhenCleared, kToolbarId);
    EXPECT_EQ(fresh.clipboard, std::nullopt);
    EXPECT_EQ(fresh.keysSent, (std::vector<SentKeys>{{row.keys, kEditorId}}));
    EXPECT_TRUE(fresh.waitRunning);
    EXPECT_EQ(flags.ClipboardWaiting, 1);
    EXPECT_EQ(flags.ClipboardChanged, 0);
    EXPECT_EQ(flags.ClipboardTimerRunning, 1);
    EXPECT_TRUE(fresh.warnings.empty());
    EXPECT_FALSE(fresh.closeRequested);
  }
}

TEST_F(ReadingTextCaptureTest, OnlyAChangeAfterTheClipboardIsEmptiedCounts) {
  flags.ClipboardChanged = 1;  // left by the last reading
  platform.onClear = [&] { capture.OnClipboardChanged(); };
  int changedWhenKeysWent = -1;
  platform.whileSendingKeys = [&] {
    changedWhenKeysWent = flags.ClipboardChanged;
    capture.OnClipboardChanged();  // the application's copy
  };
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(changedWhenKeysWent, 0);
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
  EXPECT_EQ(platform.waitsStarted, 1);
  EXPECT_EQ(platform.keysSent.size(), 2u);
  EXPECT_EQ(flags.ClipboardTimerRunning, 1);
  EXPECT_EQ(flags.ClipboardWaiting, 1);
}

TEST_F(ReadingTextCaptureTest, ACaptureStartedWhileTheKeysGoOutStartsOneTimer) {
  bool nested = false;
  platform.whileSendingKeys = [&] {
    if (nested) return;
    nested = true;
    capture.StartTextCapture(kWholeTextReading);
  };
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(platform.waitsStarted, 1);
  EXPECT_EQ(platform.keysSent, (std::vector<SentKeys>{{CopyKeys::kCopy, kEditorId},
                                                      {CopyKeys::kSelectAllAndCopy, kEditorId}}));
}

TEST_F(ReadingTextCaptureTest, FailuresAreShownAndEndTheCapture) {
  struct Row {
    const char* name;
    ClipboardClearing clearing;
    bool waitStarts;
    std::u16string warning;
    bool keysSent;
    bool closes;
    CaptureFlags flagsAfter;
  };
  const std::vector<Row> rows = {
      {"clipboard cannot be opened", ClipboardClearing::kNotOpened, true, texts::kClipboardOpenFailed, false, false,
       {.ClipboardWaiting = 0, .ClipboardChanged = 1, .ClipboardTimerRunning = 0}},
      {"clipboard cannot be emptied", ClipboardClearing::kNotEmptied, true, texts::kClipboardClearFailed, false,
       false, {.ClipboardWaiting = 0, .ClipboardChanged = 1, .ClipboardTimerRunning = 0}},
      // The toolbar closes, but the flag says a timer runs all the same.
      {"timer cannot be started", ClipboardClearing::kCleared, false, texts::kTimerFailed, true, true,
       {.ClipboardWaiting = 1, .ClipboardChanged = 0, .ClipboardTimerRunning = 1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeCapturePlatform fresh{log};
    fresh.clearing = row.clearing;
    fresh.waitStarts = row.waitStarts;
    flags = {.ClipboardWaiting = 0, .ClipboardChanged = 1, .ClipboardTimerRunning = 0};
    TextCapture{fresh, flags}.StartTextCapture(kSelectionReading);
    EXPECT_EQ(fresh.warnings, std::vector<std::u16string>{row.warning});
    EXPECT_EQ(fresh.handedBackWith.has_value(), row.keysSent);
    EXPECT_EQ(fresh.keysSent.empty(), !row.keysSent);
    EXPECT_FALSE(fresh.waitRunning);
    EXPECT_EQ(fresh.closeRequested, row.closes);
    EXPECT_EQ(flags.ClipboardWaiting, row.flagsAfter.ClipboardWaiting);
    EXPECT_EQ(flags.ClipboardChanged, row.flagsAfter.ClipboardChanged);
    EXPECT_EQ(flags.ClipboardTimerRunning, row.flagsAfter.ClipboardTimerRunning);
  }
}

// The hand-back brings the remembered window to the front where Alt+Esc leaves the focus
// on the toolbar (FocusHandBack's tests); the capture must pass on what it remembered.
TEST_F(ReadingTextCaptureTest, TheFocusGoesBackWithTheWindowUsedBeforeTheToolbar) {
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(platform.handedBackWith, 0u);
  capture.RememberPreviousForeground(kEditorId);
  capture.RememberPreviousForeground(kToolbarId);
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(platform.handedBackWith, kEditorId);
}

TEST_F(ReadingTextCaptureTest, RememberedForegroundIgnoresTheToolbarAndNull) {
  capture.RememberPreviousForeground(kEditorId);
  capture.RememberPreviousForeground(kToolbarId);
  capture.RememberPreviousForeground(0);
  EXPECT_EQ(capture.PreviousForeground(), kEditorId);
  capture.RememberPreviousForeground(0x999);
  EXPECT_EQ(capture.PreviousForeground(), 0x999u);
}

}  // namespace
}  // namespace ostrel
