#include "settingsdlg/read_typed_number.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "settingsdlg/fill_numbers.h"
#include "settingsdlg/format_number.h"
#include "settingsdlg/remove_last_path_element.h"

namespace ostrel {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(SettingsDlgReadTypedNumberTest, ReadsLikeTheBoxIsMeantToBeRead) {
  const struct {
    std::u16string text;
    int32_t value;
  } cases[] = {
      {u"", 0},
      {u"abc", 0},
      {u"+", 0},
      {u"-", 0},
      {u"- 5", 0},  // the sign must touch the digits
      {u"0x10", 0},
      {u"12abc", 12},
      {u"1 2", 1},
      {u"+7", 7},
      {u"-5", -5},
      {u"007", 7},
      {u" \t\n\v\f\r42", 42},
      {u"\u3000\u3000150", 150},  // the input method's space
      {u"\u00A012", 0},           // no-break space is not white space here
      {u"１５５", 155},           // full-width digits, as typed with the input method on
      {u"2147483647", kMax},
      {u"2147483648", kMax},
      {u"-2147483648", kMin},
      {u"-2147483649", kMin},
      {u"9999999999999999999", kMax},
      {u"-999999999999999999", kMin},
      // Only 19 characters are read, white space included.
      {std::u16string(18, u'0') + u"15", 1},
      {std::u16string(17, u' ') + u"123", 12},
      {u"+" + std::u16string(17, u'0') + u"99", 9},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadTypedNumber(c.text), c.value) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(SettingsDlgReadTypedNumberTest, FormatsAsPercentD) {
  EXPECT_EQ(FormatNumber(0), u"0");
  EXPECT_EQ(FormatNumber(255), u"255");
  EXPECT_EQ(FormatNumber(-5), u"-5");
  EXPECT_EQ(FormatNumber(kMax), u"2147483647");
  EXPECT_EQ(FormatNumber(kMin), u"-2147483648");
  for (int32_t v : {kMin, -65535, -1, 0, 9, 10, 65535, kMax}) EXPECT_EQ(ReadTypedNumber(FormatNumber(v)), v);

  EXPECT_EQ(FillNumbers(u"%d-%dの範囲で値を設定してください。", {0, 500}), u"0-500の範囲で値を設定してください。");
  EXPECT_EQ(FillNumbers(u"透過度 (%d - %d)", {-1, 255}), u"透過度 (-1 - 255)");
  EXPECT_EQ(FillNumbers(u"%d and %d", {7}), u"7 and %d");
}

TEST(SettingsDlgRemoveFileSpecTest, LeavesWhatThePathFunctionLeaves) {
  const struct {
    std::u16string path;
    std::u16string folder;
  } cases[] = {
      {u"C:\\a\\b.csv", u"C:\\a"},
      {u"C:\\b.csv", u"C:\\"},
      {u"C:\\", u"C:\\"},
      {u"C:\\a\\", u"C:\\a"},
      {u"C:b.csv", u"C:"},
      {u"\\b.csv", u"\\"},
      {u"\\\\server\\share\\b.csv", u"\\\\server\\share"},
      {u"b.csv", u""},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemoveLastPathElement(c.path), c.folder) << std::string(c.path.begin(), c.path.end());
  }
}

}  // namespace
}  // namespace ostrel
