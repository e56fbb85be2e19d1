// The shared code-page conversions: what each gives for a character the other side lacks.
#include "encoding/code_page_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "test_files.h"

namespace ostrel {
namespace {

TEST(EncodingCodePage, ExactConversionRefusesWhatWouldBeLostOrApproximated) {
  EXPECT_EQ(ToCodePageExactly(u"これは", 932), std::optional<std::string>("\x82\xB1\x82\xEA\x82\xCD"));
  EXPECT_EQ(ToCodePageExactly(u"Café", 1252), std::optional<std::string>("Caf\xE9"));
  EXPECT_EQ(ToCodePageExactly(u"", 932), std::optional<std::string>(""));
  EXPECT_EQ(ToCodePageExactly(u"한", 932), std::nullopt);
  EXPECT_EQ(ToCodePageExactly(u"Café", 932), std::nullopt);
  EXPECT_EQ(ToCodePageExactly(u"中文", 1252), std::nullopt);
  // The lenient conversion the engine's text has always had keeps the length of the rest.
  EXPECT_EQ(ToCodePage(u"A中B", 1252), "A?B");
}

TEST(EncodingCodePage, ExactDecodingRefusesBytesTheCodePageDoesNotDefine) {
  EXPECT_EQ(FromCodePageExactly("\x82\xA0", 932), std::optional<std::u16string>(u"あ"));
  EXPECT_EQ(FromCodePageExactly("", 932), std::optional<std::u16string>(u""));
  // A lead byte without its second byte.
  EXPECT_EQ(FromCodePageExactly("C:\\a\x82", 932), std::nullopt);
  EXPECT_FALSE(FromCodePage("C:\\a\x82", 932).empty());
  EXPECT_EQ(FromCodePage("\xC7\xD1", 949), u"한");
}

TEST(EncodingCodePage, APathKeepsItsLongFormWhereItCanAndItsShortFormWhereItMust) {
  const testing::TempFolder temp;
  const std::wstring korean = temp.File(L"한국어");
  ASSERT_TRUE(CreateDirectoryW(korean.c_str(), nullptr));
  const std::wstring file = korean + L"\\dict.csv";
  testing::WriteBytes(file, "x", 1);

  const std::u16string longPath(file.begin(), file.end());
  const PathInCodePage in949 = PathForCodePage(longPath, 949);
  EXPECT_EQ(in949.form, PathForm::kLong);

  const PathInCodePage in932 = PathForCodePage(longPath, 932);
  ASSERT_EQ(in932.form, PathForm::kShort) << "no short names on this volume";
  const std::u16string back = FromCodePage(in932.bytes, 932);
  wchar_t longAgain[MAX_PATH] = {};
  ASSERT_NE(GetLongPathNameW(reinterpret_cast<const wchar_t*>(back.c_str()), longAgain, MAX_PATH), 0u);
  EXPECT_EQ(lstrcmpiW(longAgain, file.c_str()), 0);

  const std::wstring missing = korean + L"\\missing.csv";
  EXPECT_EQ(PathForCodePage(std::u16string(missing.begin(), missing.end()), 932).form, PathForm::kNone);
}

}  // namespace
}  // namespace ostrel
