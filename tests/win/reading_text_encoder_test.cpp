// Code pages and the traditional-to-simplified library as the reading prepares text.

#include "reading/text_encoder_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/seams_win32.h"

namespace ostrel {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

struct EncodingRow {
  const char16_t* text;
  uint32_t codePage;
  std::string bytes;
};

TEST(ReadingTextEncoder, EncodesTheFourCodePages) {
  const std::vector<EncodingRow> rows = {
      {u"これは", 932, Bytes({0x82, 0xB1, 0x82, 0xEA, 0x82, 0xCD})},
      {u"ｱ漢A", 932, Bytes({0xB1, 0x8A, 0xBF, 0x41})},
      {u"中文", 936, Bytes({0xD6, 0xD0, 0xCE, 0xC4})},
      {u"한국어", 949, Bytes({0xC7, 0xD1, 0xB1, 0xB9, 0xBE, 0xEE})},
      {u"é", 1252, Bytes({0xE9})},
      {u"Café €5", 1252, Bytes({'C', 'a', 'f', 0xE9, ' ', 0x80, '5'})},
      {u"", 932, ""},
  };
  Win32TextEncoder encoder;
  for (const auto& row : rows) {
    const std::u16string text = row.text;
    EXPECT_EQ(encoder.Encode(text, row.codePage, 2 * text.size() + 2), row.bytes)
        << "code page " << row.codePage << ", " << text.size() << " units";
  }
}

TEST(ReadingTextEncoder, WhatACodePageLacksBecomesItsDefaultCharacter) {
  const std::vector<EncodingRow> rows = {
      {u"A中B", 1252, "A?B"},
      {u"한", 932, "?"},
      {u"あ한", 936, Bytes({0xA4, 0xA2, '?'})},
      {u"ก", 949, "?"},
  };
  Win32TextEncoder encoder;
  for (const auto& row : rows) {
    const std::u16string text = row.text;
    EXPECT_EQ(encoder.Encode(text, row.codePage, 2 * text.size() + 2), row.bytes) << "code page " << row.codePage;
  }
}

TEST(ReadingTextEncoder, ALimitCutsAtACharacterBoundary) {
  Win32TextEncoder encoder;
  // Never half of a double-byte character.
  EXPECT_EQ(encoder.Encode(u"これは", 932, 5), Bytes({0x82, 0xB1, 0x82, 0xEA}));
  EXPECT_EQ(encoder.Encode(u"これは", 932, 6), Bytes({0x82, 0xB1, 0x82, 0xEA, 0x82, 0xCD}));
  EXPECT_EQ(encoder.Encode(u"aこb", 932, 2), "a");
  EXPECT_EQ(encoder.Encode(u"中文", 936, 1), "");
  EXPECT_EQ(encoder.Encode(u"한국어", 949, 3), Bytes({0xC7, 0xD1}));
  EXPECT_EQ(encoder.Encode(u"abc", 1252, 2), "ab");
  EXPECT_EQ(encoder.Encode(u"abc", 1252, 0), "");

  // Nor between the halves of a surrogate pair, whatever the pair becomes.
  const std::u16string withPair = u"ab\U0001F600";
  const std::string whole = encoder.Encode(withPair, 1252, 100);
  ASSERT_GT(whole.size(), 2u);
  EXPECT_EQ(encoder.Encode(withPair, 1252, whole.size() - 1), "ab");
}

TEST(ReadingTextEncoder, ALongTextWithinItsLimitIsWhole) {
  std::u16string text;
  for (int i = 0; i < 20000; ++i) text += u"日本語";
  Win32TextEncoder encoder;
  const std::string bytes = encoder.Encode(text, 932, 2 * text.size() + 2);
  ASSERT_EQ(bytes.size(), 2 * text.size());
  EXPECT_EQ(bytes.substr(0, 6), Bytes({0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA}));
  EXPECT_EQ(encoder.Encode(text, 932, 7).size(), 6u);
}

class MessageCounter {
 public:
  MessageCounter()
      : hook_([this](HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
          owners.push_back(owner);
          texts.emplace_back(text);
          captions.emplace_back(caption);
          styles.push_back(style);
          return IDOK;
        }) {}

  std::vector<HWND> owners;
  std::vector<std::wstring> texts;
  std::vector<std::wstring> captions;
  std::vector<UINT> styles;

 private:
  ScopedMessageBoxHook hook_;
};

TEST(ReadingTextEncoder, TraditionalBecomesSimplifiedWithTheLibraryBesideTheProgram) {
  MessageCounter messages;
  Win32TextEncoder encoder;

  std::u16string text = u"這是中文語音合成的測試。";
  encoder.TraditionalToSimplified(text);
  EXPECT_EQ(text, u"这是中文语音合成的测试。");

  std::u16string untouched = u"这是 simplified, ASCII ＡＢＣ";
  encoder.TraditionalToSimplified(untouched);
  EXPECT_EQ(untouched, u"这是 simplified, ASCII ＡＢＣ");

  // What follows a zero inside the text is neither lost nor left unconverted.
  std::u16string withZero(u"語\0語音\0", 5);
  encoder.TraditionalToSimplified(withZero);
  EXPECT_EQ(withZero, std::u16string(u"语\0语音\0", 5));

  std::u16string empty;
  encoder.TraditionalToSimplified(empty);
  EXPECT_EQ(empty, u"");

  EXPECT_TRUE(messages.texts.empty());
}

TEST(ReadingTextEncoder, WithoutTheLibraryTheTextStaysAndTheUserIsToldOnce) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const std::vector<std::wstring> unusable = {
      L"C:\\ostrel-nowhere\\Hanvert.dll",
      std::wstring(system) + L"\\version.dll",  // loads, but has no FanTiToJianTi
  };
  for (const auto& path : unusable) {
    MessageCounter messages;
    Win32TextEncoder encoder(path);
    for (int reading = 0; reading < 2; ++reading) {
      std::u16string text = u"這是中文";
      encoder.TraditionalToSimplified(text);
      EXPECT_EQ(text, u"這是中文");
    }
    ASSERT_EQ(messages.texts.size(), 1u) << std::string(path.begin(), path.end());
    EXPECT_NE(messages.texts[0].find(L"Hanvert.dll"), std::wstring::npos);
    EXPECT_EQ(messages.owners[0], nullptr);
    EXPECT_EQ(messages.captions[0], L"Ostrel");
    EXPECT_EQ(messages.styles[0], static_cast<UINT>(MB_OK | MB_TOPMOST | MB_ICONWARNING));
  }
}

}  // namespace
}  // namespace ostrel
