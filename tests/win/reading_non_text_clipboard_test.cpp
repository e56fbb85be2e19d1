// A reading whose copy leaves only a picture and another program's private format on the
// clipboard, against the real toolbar and Wine's clipboard: the reading ends with the message
// the toolbar gives for a missing text, the toolbar is idle again, and what was on the
// clipboard stays there.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/wide_win32.h"
#include "reading/reading_texts.h"
#include "toolbar_fixture.h"

namespace ostrel {
namespace {

using testing::PumpMessages;

// Runs the toolbar's messages (its clipboard timer among them) until done() or a generous
// deadline; the caller checks done() again.
template <class Done>
void PumpUntil(Done done) {
  const ULONGLONG deadline = GetTickCount64() + 20000;
  while (!done() && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
}

bool PutPictureAndPrivateData(HWND owner, UINT privateFormat) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HDC screen = GetDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(nullptr, screen);
  bool put = picture && SetClipboardData(CF_BITMAP, picture) != nullptr;
  if (!put && picture) DeleteObject(picture);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
  if (block) {
    if (void* data = GlobalLock(block)) {
      std::memset(data, 0x5A, 16);
      GlobalUnlock(block);
    }
    if (SetClipboardData(privateFormat, block)) {
      block = nullptr;  // the clipboard owns it now
    } else {
      put = false;
    }
  }
  if (block) GlobalFree(block);
  CloseClipboard();
  return put;
}

using ReadingNonTextClipboard = testing::ToolbarFixture;

TEST_F(ReadingNonTextClipboard, ReadingEndsWithTheMessageAndLeavesThePictureInPlace) {
  const UINT privateFormat = RegisterClipboardFormatW(L"OstrelTests.Private");
  ASSERT_NE(privateFormat, 0u);
  const HWND window = Open();
  const HWND other = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);

  SendMessageW(window, WM_HOTKEY, 1, 0);  // read the selection
  ASSERT_EQ(app->reading().State(ReadKind::Selection), ReadingState::Speaking);
  // What the application copied: no text among it.
  ASSERT_TRUE(PutPictureAndPrivateData(other, privateFormat));
  PumpUntil([&] { return !boxes.empty(); });

  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], Wide(texts::kNoTextCaptured));
  EXPECT_EQ(captions[0], Wide(texts::kReadingCaption));
  EXPECT_EQ((std::array{app->reading().State(ReadKind::Selection), app->reading().State(ReadKind::WholeText)}),
            (std::array{ReadingState::Idle, ReadingState::Idle}));
  EXPECT_EQ(toolbar->buttons().State(Command::Stop), ButtonState::Disabled);
  EXPECT_EQ(toolbar->buttons().Variant(Command::SelectionReading), 0);
  EXPECT_EQ(app->captureFlags().ClipboardTimerRunning, 0);
  EXPECT_TRUE(engine.Calls("Speak").empty());
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), DWORD{500}), 11);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_TRUE(IsClipboardFormatAvailable(privateFormat));

  // The timer is gone: no second message however long the toolbar runs on.
  boxes.clear();
  sleeps.clear();
  for (int i = 0; i < 6; ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  EXPECT_TRUE(boxes.empty());
  // And the next reading starts afresh.
  SendMessageW(window, WM_HOTKEY, 1, 0);
  EXPECT_EQ(app->reading().State(ReadKind::Selection), ReadingState::Speaking);
  SendMessageW(window, WM_HOTKEY, 3, 0);

  if (OpenClipboard(other)) {
    EmptyClipboard();
    CloseClipboard();
  }
  DestroyWindow(other);
}

}  // namespace
}  // namespace ostrel
