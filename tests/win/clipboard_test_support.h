#pragma once
// Clipboards as users leave them, and their bytes, for the tests of a kept clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace ostrel::testing {

inline bool ClearClipboard(HWND owner) {
  if (!OpenClipboard(owner)) return false;
  const bool emptied = EmptyClipboard() != FALSE;
  CloseClipboard();
  return emptied;
}

// The text alone, as a program that copied it leaves the clipboard.
inline bool PutText(HWND owner, const std::u16string& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  const size_t size = (text.size() + 1) * sizeof(char16_t);
  bool put = false;
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size)) {
    if (void* target = GlobalLock(block)) {
      std::memcpy(target, text.c_str(), size);
      GlobalUnlock(block);
      put = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    }
    if (!put) GlobalFree(block);
  }
  CloseClipboard();
  return put;
}

// A clipboard as a user leaves it: a text, a picture put as a bitmap, another program's own
// format. The owner is a window of "another program".
inline bool PutTextPictureAndPrivateData(HWND owner, UINT privateFormat) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  bool put = true;
  const std::u16string text = u"ユーザーがコピーした文 with a picture";
  const size_t textSize = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL textBlock = GlobalAlloc(GMEM_MOVEABLE, textSize);
  if (textBlock) {
    std::memcpy(GlobalLock(textBlock), text.c_str(), textSize);
    GlobalUnlock(textBlock);
  }
  if (!textBlock || !SetClipboardData(CF_UNICODETEXT, textBlock)) {
    if (textBlock) GlobalFree(textBlock);
    put = false;
  }
  std::vector<uint32_t> pixels(16 * 8);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010203u);
  HBITMAP picture = CreateBitmap(16, 8, 1, 32, pixels.data());
  if (!picture || !SetClipboardData(CF_BITMAP, picture)) {
    if (picture) DeleteObject(picture);
    put = false;
  }
  HGLOBAL privateBlock = GlobalAlloc(GMEM_MOVEABLE, 40);
  if (privateBlock) {
    auto* bytes = static_cast<uint8_t*>(GlobalLock(privateBlock));
    for (int i = 0; i < 40; ++i) bytes[i] = static_cast<uint8_t>(0xA0 + i);
    GlobalUnlock(privateBlock);
  }
  if (!privateBlock || !SetClipboardData(privateFormat, privateBlock)) {
    if (privateBlock) GlobalFree(privateBlock);
    put = false;
  }
  CloseClipboard();
  return put;
}

// The bytes of each of these formats as the clipboard gives them now; empty when missing.
inline std::vector<std::vector<uint8_t>> ClipboardBytes(const std::vector<UINT>& formats) {
  std::vector<std::vector<uint8_t>> all;
  if (!OpenClipboard(nullptr)) return all;
  for (const UINT format : formats) {
    std::vector<uint8_t> bytes;
    if (HANDLE data = GetClipboardData(format)) {
      if (const auto* begin = static_cast<const uint8_t*>(GlobalLock(data))) {
        bytes.assign(begin, begin + GlobalSize(data));
        GlobalUnlock(data);
      }
    }
    all.push_back(std::move(bytes));
  }
  CloseClipboard();
  return all;
}

// Each kept format comes back with its bytes; the block given back may be rounded up.
inline void ExpectSameBytes(const std::vector<std::vector<uint8_t>>& before, const std::vector<std::vector<uint8_t>>& after,
                     const std::vector<UINT>& formats) {
  ASSERT_EQ(before.size(), formats.size());
  ASSERT_EQ(after.size(), formats.size());
  for (size_t i = 0; i < formats.size(); ++i) {
    SCOPED_TRACE(formats[i]);
    ASSERT_FALSE(before[i].empty()) << "missing before";
    ASSERT_GE(after[i].size(), before[i].size());
    EXPECT_TRUE(std::equal(before[i].begin(), before[i].end(), after[i].begin()));
  }
}

}  // namespace ostrel::testing
