// Which form of a path is handed to something that takes it in a code page.
#include "encoding/path_in_code_page.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace ostrel {
namespace {

// A code page that holds ASCII only, and a volume whose short names are given by a table.
std::optional<std::string> AsciiOnly(std::u16string_view text) {
  std::string bytes;
  for (const char16_t c : text) {
    if (c >= 0x80) return std::nullopt;
    bytes += static_cast<char>(c);
  }
  return bytes;
}

struct Volume {
  std::map<std::u16string, std::u16string> shortNames;
  int asked = 0;

  ShortPathOf Lookup() {
    return [this](std::u16string_view path) -> std::optional<std::u16string> {
      ++asked;
      const auto found = shortNames.find(std::u16string(path));
      if (found == shortNames.end()) return std::nullopt;
      return found->second;
    };
  }
};

TEST(PathInCodePage, APathTheCodePageHoldsGoesAsItIsWithoutAskingForAShortName) {
  Volume volume;
  volume.shortNames[u"C:\\Users\\kim\\dict.csv"] = u"C:\\Users\\kim\\DICT~1.CSV";
  const PathInCodePage path = ChoosePathInCodePage(u"C:\\Users\\kim\\dict.csv", AsciiOnly, volume.Lookup());
  EXPECT_EQ(path.form, PathForm::kLong);
  EXPECT_EQ(path.bytes, "C:\\Users\\kim\\dict.csv");
  EXPECT_EQ(volume.asked, 0);

  // No dictionary stays no dictionary.
  const PathInCodePage none = ChoosePathInCodePage(u"", AsciiOnly, volume.Lookup());
  EXPECT_EQ(none.form, PathForm::kLong);
  EXPECT_EQ(none.bytes, "");
}

TEST(PathInCodePage, APathWithACharacterTheCodePageLacksGoesInItsShortForm) {
  Volume volume;
  volume.shortNames[u"C:\\Users\\김민준\\dict.csv"] = u"C:\\Users\\___~1\\DICT~1.CSV";
  const PathInCodePage path = ChoosePathInCodePage(u"C:\\Users\\김민준\\dict.csv", AsciiOnly, volume.Lookup());
  EXPECT_EQ(path.form, PathForm::kShort);
  EXPECT_EQ(path.bytes, "C:\\Users\\___~1\\DICT~1.CSV");
}

TEST(PathInCodePage, WithoutAShortFormThatSurvivesNothingIsHandedOver) {
  Volume volume;
  // Short names switched off: the volume answers with the long name itself.
  volume.shortNames[u"D:\\Café\\dict.csv"] = u"D:\\Café\\dict.csv";
  // A short form that is no path at all.
  volume.shortNames[u"D:\\Ωmega\\dict.csv"] = u"";
  for (const std::u16string path : {u"D:\\Café\\dict.csv", u"D:\\Ωmega\\dict.csv", u"D:\\中文\\missing.csv"}) {
    const PathInCodePage chosen = ChoosePathInCodePage(path, AsciiOnly, volume.Lookup());
    EXPECT_EQ(chosen.form, PathForm::kNone) << path.size();
    EXPECT_EQ(chosen.bytes, "");
  }
}

}  // namespace
}  // namespace ostrel
