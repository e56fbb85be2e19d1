#include "toolbar/skin_source.h"

#include <gtest/gtest.h>

#include <set>

namespace ostrel {
namespace {

const std::u16string kProgram = u"C:\\Tools\\Ostrel4.exe";

std::optional<SkinFile> Find(const std::optional<std::u16string>& argument, std::set<std::u16string> files,
                             std::u16string_view program = kProgram) {
  files.insert(std::u16string(program));
  return FindSkinFile(argument, program, [&](const std::u16string& path) { return files.count(path) != 0; });
}

TEST(SkinSourceTest, CommandLineSkinComesFirstWhenItExistsAndNamesAKnownType) {
  const std::set<std::u16string> beside{u"C:\\Tools\\Ostrel4.bmp", u"C:\\Tools\\Ostrel4.png"};
  auto skin = Find(u"D:\\skins\\blue.png", {u"D:\\skins\\blue.png", u"C:\\Tools\\Ostrel4.bmp"});
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->path, u"D:\\skins\\blue.png");
  EXPECT_EQ(skin->kind, SkinFileKind::Png);

  skin = Find(u"D:\\a.bmp.png", {u"D:\\a.bmp.png"});  // ".bmp" is looked for first, anywhere
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->kind, SkinFileKind::Bitmap);

  // Missing, upper-case or untyped arguments fall back to the files beside the program.
  for (const std::u16string argument : {u"D:\\missing.png", u"D:\\BLUE.PNG", u"D:\\skin.gif"}) {
    std::set<std::u16string> files = beside;
    files.insert(u"D:\\BLUE.PNG");
    files.insert(u"D:\\skin.gif");
    skin = Find(argument, files);
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->path, u"C:\\Tools\\Ostrel4.bmp");
    EXPECT_EQ(skin->kind, SkinFileKind::Bitmap);
  }
}

TEST(SkinSourceTest, BesideTheProgramBitmapIsPreferredToPng) {
  auto skin = Find(std::nullopt, {u"C:\\Tools\\Ostrel4.png"});
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->path, u"C:\\Tools\\Ostrel4.png");
  EXPECT_EQ(skin->kind, SkinFileKind::Png);
  EXPECT_FALSE(Find(std::nullopt, {}));
  EXPECT_FALSE(Find(u"", {}));
}

TEST(SkinSourceTest, ExtensionsAreReplacedEverywhereAndCaseSensitively) {
  auto skin = Find(std::nullopt, {u"C:\\x.bmp\\Ostrel4.bmp"}, u"C:\\x.exe\\Ostrel4.exe");
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->path, u"C:\\x.bmp\\Ostrel4.bmp");
  skin = Find(std::nullopt, {u"C:\\x.png\\Ostrel4.png"}, u"C:\\x.exe\\Ostrel4.exe");
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->path, u"C:\\x.png\\Ostrel4.png");
  // An upper-case program name is not rewritten: the program itself is "found" as a bitmap,
  // which then fails to load and leaves the built-in skin.
  skin = Find(std::nullopt, {}, u"C:\\OSTREL4.EXE");
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->path, u"C:\\OSTREL4.EXE");
}

TEST(SkinSourceTest, SizeCheck) {
  EXPECT_TRUE(SkinSizeExpected(430, 435));
  EXPECT_TRUE(SkinSizeExpected(430, 480));
  EXPECT_TRUE(SkinSizeExpected(430, 420));
  EXPECT_TRUE(SkinSizeExpected(430, 560));
  EXPECT_FALSE(SkinSizeExpected(431, 435));
  EXPECT_FALSE(SkinSizeExpected(430, 419));
  EXPECT_FALSE(SkinSizeExpected(430, 561));
  EXPECT_FALSE(SkinSizeExpected(0, 0));
}

}  // namespace
}  // namespace ostrel
