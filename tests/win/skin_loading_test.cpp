#include <windows.h>

#include <gtest/gtest.h>

#include "../../resources/resource_ids.h"
#include "test_files.h"
#include "toolbar/dib_image_win32.h"
#include "toolbar/pixel_view.h"

namespace ostrel {
namespace {

using testing::TempFolder;

class SkinLoadingTest : public ::testing::Test {
 protected:
  GdiplusSession gdiplus;
  TempFolder folder;
  std::u16string U(const std::wstring& path) { return std::u16string(path.begin(), path.end()); }
};

TEST_F(SkinLoadingTest, BuiltInImagesDecodeAtTheirSizes) {
  const HINSTANCE self = GetModuleHandleW(nullptr);
  auto skin = LoadImageResource(self, IDR_IMAGE_SKIN);
  auto hitMap = LoadImageResource(self, IDR_IMAGE_HITMAP);
  ASSERT_TRUE(skin);
  ASSERT_TRUE(hitMap);
  EXPECT_EQ(skin->width(), 430);
  EXPECT_EQ(skin->height(), 435);
  EXPECT_EQ(hitMap->width(), 327);
  EXPECT_EQ(hitMap->height(), 60);
  // The hit map's pixel inside the stop button's region carries command 2.
  const uint32_t stop = hitMap->pixels()[30 * 327 + 170];
  EXPECT_EQ(RedOf(stop), 2);
  EXPECT_EQ(GreenOf(stop), 0);
  EXPECT_EQ(BlueOf(stop), 255);
  // Below the seven bands the skin is fully transparent.
  EXPECT_EQ(skin->pixels()[430 * 430 + 10], 0u);
  EXPECT_FALSE(LoadImageResource(self, 4242));
}

TEST_F(SkinLoadingTest, PngFileDecodesPremultiplied) {
  auto skin = LoadPngFile(U(testing::SourcePath(L"resources/images/skin.png")));
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->width(), 430);
  for (int i = 0; i < skin->width() * skin->height(); ++i) {
    const uint32_t p = skin->pixels()[i];
    ASSERT_LE(RedOf(p), AlphaOf(p));
    ASSERT_LE(GreenOf(p), AlphaOf(p));
    ASSERT_LE(BlueOf(p), AlphaOf(p));
  }
}

TEST_F(SkinLoadingTest, BitmapFileIsPremultipliedAndTopDown) {
  const std::wstring path = folder.File(L"skin.bmp");
  // Top row half-transparent white, bottom row opaque red.
  testing::WriteBitmapFile(path, 2, 2, 32, {0x80FFFFFF, 0x00FFFFFF, 0xFFFF0000, 0xFFFF0000});
  auto image = LoadBitmapFile(U(path));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixels()[0], Bgra(0x80, 0x80, 0x80, 0x80));
  EXPECT_EQ(image->pixels()[1], 0u);
  EXPECT_EQ(image->pixels()[2], Bgra(0, 0, 0xFF, 0xFF));
}

TEST_F(SkinLoadingTest, BadFilesAreRefusedWithoutHarm) {
  EXPECT_FALSE(LoadPngFile(U(folder.File(L"missing.png"))));
  EXPECT_FALSE(LoadBitmapFile(U(folder.File(L"missing.bmp"))));

  const std::wstring text = folder.File(L"text.png");
  testing::WriteBytes(text, "not an image", 12);
  EXPECT_FALSE(LoadPngFile(U(text)));
  const std::wstring textBmp = folder.File(L"text.bmp");
  testing::WriteBytes(textBmp, "not an image", 12);
  EXPECT_FALSE(LoadBitmapFile(U(textBmp)));

  const auto png = testing::ReadBytes(testing::SourcePath(L"resources/images/skin.png"));
  ASSERT_GT(png.size(), 1000u);
  const std::wstring truncated = folder.File(L"truncated.png");
  testing::WriteBytes(truncated, png.data(), png.size() / 2);
  // Either refused, or decoded to an image of the declared size: never a crash.
  if (auto image = LoadPngFile(U(truncated))) {
    EXPECT_EQ(image->width(), 430);
  }

  const std::wstring rgb = folder.File(L"rgb.bmp");
  testing::WriteBitmapFile(rgb, 4, 4, 24, {});
  EXPECT_FALSE(LoadBitmapFile(U(rgb)));  // no alpha to show
}

}  // namespace
}  // namespace ostrel
