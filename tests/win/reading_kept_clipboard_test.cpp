// A reading against the real toolbar and Wine's clipboard: with the option to keep the
// clipboard, what the user had copied (a text, a picture, another program's own format) is
// there again after the reading, byte for byte; without it the reading leaves the clipboard
// empty, as it always has.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "clipboard_test_support.h"
#include "toolbar_fixture.h"
#include "window_test_support.h"

namespace ostrel {
namespace {

using testing::ClipboardBytes;
using testing::ExpectSameBytes;
using testing::PumpMessages;
using testing::PumpUntil;
using testing::PutText;
using testing::PutTextPictureAndPrivateData;

class ReadingKeptClipboard : public testing::ToolbarFixture {
 protected:
  void SetUp() override {
    ToolbarFixture::SetUp();
    other = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(PutTextPictureAndPrivateData(other, privateFormat));
  }
  void TearDown() override {
    if (OpenClipboard(other)) {
      EmptyClipboard();
      CloseClipboard();
    }
    DestroyWindow(other);
    ToolbarFixture::TearDown();
  }

  static void SetOption(DWORD keep) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, testing::kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"KeepClipboard", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&keep), sizeof keep);
    RegCloseKey(key);
  }

  // A selection reading whose application copies the text; returns once it is spoken.
  void ReadSelection() {
    const HWND window = Open();
    SendMessageW(window, WM_HOTKEY, 1, 0);
    ASSERT_EQ(CountClipboardFormats(), 0) << "the capture did not empty the clipboard";
    ASSERT_TRUE(PutText(other, u"読み上げる部分"));
    ASSERT_TRUE(PumpUntil([&] { return !engine.Calls("Speak").empty(); }, 20000)) << "nothing was spoken";
    PumpMessages();
    EXPECT_TRUE(boxes.empty());
  }

  const UINT privateFormat = RegisterClipboardFormatW(L"OstrelTests.Private");
  const std::vector<UINT> formats = {CF_UNICODETEXT, privateFormat, CF_DIB};
  HWND other = nullptr;
};

TEST_F(ReadingKeptClipboard, WithTheOptionTheClipboardIsTheSameAfterTheReading) {
  SetOption(1);
  const auto before = ClipboardBytes(formats);
  ReadSelection();
  ExpectSameBytes(before, ClipboardBytes(formats), formats);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  // Putting it back is not taken for the next capture's copy.
  EXPECT_EQ(app->captureFlags().ClipboardWaiting, 0);
  EXPECT_EQ(app->captureFlags().ClipboardTimerRunning, 0);
}

TEST_F(ReadingKeptClipboard, WithoutItTheReadingLeavesTheClipboardEmpty) {
  SetOption(0);
  ReadSelection();
  EXPECT_EQ(CountClipboardFormats(), 0);
}

}  // namespace
}  // namespace ostrel
