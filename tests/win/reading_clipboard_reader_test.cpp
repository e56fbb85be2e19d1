// The clipboard as the timer tick reads it, against Wine's real clipboard.

#include "reading/clipboard_reader_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/seams_win32.h"

namespace ostrel {
namespace {

// Puts a block on the clipboard as another program would; the clipboard owns the block
// once SetClipboardData has taken it.
bool PutOnClipboard(HWND owner, const void* bytes, size_t size, size_t blockSize) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  bool put = false;
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, blockSize)) {
    if (void* target = GlobalLock(block)) {
      std::memcpy(target, bytes, size);
      GlobalUnlock(block);
      put = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    }
    if (!put) GlobalFree(block);
  }
  CloseClipboard();
  return put;
}

bool PutText(HWND owner, const std::u16string& text) {
  const size_t size = (text.size() + 1) * sizeof(char16_t);
  return PutOnClipboard(owner, text.c_str(), size, size);
}

bool ClearClipboard(HWND owner) {
  if (!OpenClipboard(owner)) return false;
  const bool emptied = EmptyClipboard() != FALSE;
  CloseClipboard();
  return emptied;
}

bool RunsUnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

class ReadingClipboardReader : public ::testing::Test {
 protected:
  void SetUp() override {
    toolbar = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_TRUE(ClearClipboard(toolbar));
  }
  void TearDown() override {
    ClearClipboard(toolbar);
    DestroyWindow(toolbar);
  }

  std::optional<std::u16string> ReadOnce(Win32ClipboardReader& reader) {
    EXPECT_TRUE(reader.Open());
    std::optional<std::u16string> text = reader.UnicodeText();
    reader.Close();
    return text;
  }

  HWND toolbar = nullptr;
};

TEST_F(ReadingClipboardReader, TakesTheTextAndLeavesTheClipboardEmpty) {
  Win32ClipboardReader reader(toolbar);
  const std::u16string text = u"読み上げるテキスト\r\nwith a second line 한국어 中文";
  ASSERT_TRUE(PutText(toolbar, text));

  ASSERT_TRUE(reader.HasUnicodeText());
  ASSERT_TRUE(reader.Open());
  EXPECT_EQ(reader.UnicodeText(), text);
  reader.Empty();
  reader.Close();

  EXPECT_FALSE(reader.HasUnicodeText());
  // Closed again: another window can open it at once.
  EXPECT_TRUE(OpenClipboard(nullptr));
  CloseClipboard();
}

TEST_F(ReadingClipboardReader, WithoutTextThereIsNothingToTake) {
  Win32ClipboardReader reader(toolbar);
  EXPECT_FALSE(reader.HasUnicodeText());
  EXPECT_EQ(ReadOnce(reader), std::nullopt);

  // Nor from a clipboard that is not open.
  ASSERT_TRUE(PutText(toolbar, u"text"));
  EXPECT_EQ(reader.UnicodeText(), std::nullopt);
}

TEST_F(ReadingClipboardReader, TakesTheTextOnlyUpToItsTerminator) {
  Win32ClipboardReader reader(toolbar);
  const char16_t withZero[] = u"first\0second";
  ASSERT_TRUE(PutOnClipboard(toolbar, withZero, sizeof withZero, sizeof withZero));
  EXPECT_EQ(ReadOnce(reader), u"first");

  ASSERT_TRUE(PutText(toolbar, u""));
  EXPECT_EQ(ReadOnce(reader), u"");
}

TEST_F(ReadingClipboardReader, AnUnterminatedTextIsReadOnlyToTheEndOfItsBlock) {
  Win32ClipboardReader reader(toolbar);
  const std::u16string units(64, u'x');
  ASSERT_TRUE(PutOnClipboard(toolbar, units.data(), units.size() * sizeof(char16_t), units.size() * sizeof(char16_t)));

  ASSERT_TRUE(reader.Open());
  const std::optional<std::u16string> text = reader.UnicodeText();
  reader.Close();

  ASSERT_TRUE(text.has_value());
  if (RunsUnderWine()) {
    // Wine terminates a text format itself, at the cost of its last character.
    EXPECT_EQ(*text, units.substr(0, units.size() - 1));
  } else {
    EXPECT_EQ(*text, units);
  }
}

// Wine mends the clipboard's texts before we see them, so the block itself is read here.
TEST(ReadingClipboardBlock, AnUnterminatedTextEndsWithItsBlock) {
  // Whole heap granules, so that what lies behind the block is the heap's bookkeeping
  // rather than zeroed padding; and an odd size, whose last byte is half a code unit.
  for (const size_t size : {size_t{128}, size_t{4096}, size_t{129}}) {
    SCOPED_TRACE(size);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    ASSERT_NE(block, nullptr);
    const size_t blockUnits = GlobalSize(block) / sizeof(char16_t);
    {
      auto* data = static_cast<char16_t*>(GlobalLock(block));
      ASSERT_NE(data, nullptr);
      std::fill(data, data + blockUnits, u'x');
      GlobalUnlock(block);
    }
    EXPECT_EQ(TextOfGlobalBlock(block), std::u16string(blockUnits, u'x'));
    GlobalFree(block);
  }
}

TEST(ReadingClipboardBlock, ATextEndsAtItsFirstZeroAndAnUnusableBlockHasNone) {
  const char16_t text[] = u"first\0second";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  ASSERT_NE(block, nullptr);
  std::memcpy(GlobalLock(block), text, sizeof text);
  GlobalUnlock(block);
  EXPECT_EQ(TextOfGlobalBlock(block), u"first");
  GlobalFree(block);

  EXPECT_EQ(TextOfGlobalBlock(nullptr), std::nullopt);
  // A discarded block cannot be locked.
  HGLOBAL discarded = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(discarded, nullptr);
  EXPECT_EQ(TextOfGlobalBlock(discarded), std::nullopt);
  GlobalFree(discarded);
}

TEST_F(ReadingClipboardReader, OpenWaitsBrieflyForAnotherHolderOfTheClipboard) {
  std::atomic<bool> opened = false;
  std::atomic<bool> release = false;
  std::atomic<bool> released = false;
  std::thread holder([&] {
    opened = OpenClipboard(nullptr) != FALSE;
    while (!release) Sleep(1);
    CloseClipboard();
    released = true;
  });
  while (!opened) Sleep(1);

  int pauses = 0;
  {
    ScopedSleepHook sleeps([&](DWORD) {
      if (++pauses == 2) {
        release = true;
        while (!released) Sleep(1);
      }
    });
    Win32ClipboardReader reader(toolbar);
    EXPECT_TRUE(reader.Open());
    reader.Close();
  }
  EXPECT_EQ(pauses, 2);
  holder.join();
}

TEST_F(ReadingClipboardReader, OpenGivesUpAfterABoundedWait) {
  std::atomic<bool> opened = false;
  std::atomic<bool> release = false;
  std::thread holder([&] {
    opened = OpenClipboard(nullptr) != FALSE;
    while (!release) Sleep(1);
    CloseClipboard();
  });
  while (!opened) Sleep(1);

  int pauses = 0;
  DWORD paused = 0;
  {
    ScopedSleepHook sleeps([&](DWORD milliseconds) {
      ++pauses;
      paused += milliseconds;
    });
    Win32ClipboardReader reader(toolbar);
    EXPECT_FALSE(reader.Open());
  }
  EXPECT_GE(pauses, 2);
  EXPECT_GE(paused, 50u);
  EXPECT_LE(paused, 200u);
  release = true;
  holder.join();
}

}  // namespace
}  // namespace ostrel
