// Skin files that cannot be used, given to the real loaders: each is refused without a crash,
// without decoding or allocating by what it claims, and a sound file still loads the same.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_files.h"
#include "toolbar/dib_image_win32.h"
#include "toolbar/pixel_view.h"
#include "toolbar/skin_file_check.h"

namespace ostrel {
namespace {

using testing::TempFolder;

std::u16string U(const std::wstring& path) { return std::u16string(path.begin(), path.end()); }

std::vector<char> BitmapBytes(int width, int height, const std::vector<uint32_t>& pixels) {
  TempFolder scratch;
  const std::wstring path = scratch.File(L"made.bmp");
  testing::WriteBitmapFile(path, width, height, 32, pixels);
  return testing::ReadBytes(path);
}

void SetLe32(std::vector<char>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

class SkinBadFiles : public ::testing::Test {
 protected:
  std::wstring Write(const wchar_t* name, const std::vector<char>& bytes, size_t length = SIZE_MAX) {
    const std::wstring path = folder.File(name);
    testing::WriteBytes(path, bytes.data(), std::min(length, bytes.size()));
    return path;
  }

  GdiplusSession gdiplus;
  TempFolder folder;
};

// These files ended the program (a crash inside the bitmap loader) before.
TEST_F(SkinBadFiles, BitmapHeadersClaimingMoreThanTheFileHoldsAreRefused) {
  const std::vector<char> whole = BitmapBytes(430, 435, {});
  ASSERT_TRUE(LoadBitmapFile(U(Write(L"whole.bmp", whole))));

  std::vector<char> huge = BitmapBytes(2, 2, {});
  SetLe32(huge, 18, 30000);
  SetLe32(huge, 22, 30000);
  EXPECT_FALSE(LoadBitmapFile(U(Write(L"huge.bmp", huge))));

  for (const size_t length : {size_t{0}, size_t{1}, size_t{14}, size_t{54}, size_t{1000}, whole.size() - 1}) {
    EXPECT_FALSE(LoadBitmapFile(U(Write(L"cut.bmp", whole, length)))) << length;
  }

  std::vector<char> misPointed = whole;
  SetLe32(misPointed, 10, 0x7FFFFFF0);
  EXPECT_FALSE(LoadBitmapFile(U(Write(L"offset.bmp", misPointed))));
}

TEST_F(SkinBadFiles, PngFilesCutShortOrDamagedAreRefused) {
  const auto png = testing::ReadBytes(testing::SourcePath(L"resources/images/skin.png"));
  ASSERT_GT(png.size(), 1000u);
  ASSERT_TRUE(LoadPngFile(U(Write(L"whole.png", png))));
  for (const size_t length : {size_t{0}, size_t{8}, size_t{33}, size_t{100}, png.size() / 2, png.size() - 12,
                              png.size() - 1}) {
    EXPECT_FALSE(LoadPngFile(U(Write(L"cut.png", png, length)))) << length;
  }
  std::vector<char> damaged = png;
  damaged[png.size() / 2] ^= 0x10;
  EXPECT_FALSE(LoadPngFile(U(Write(L"damaged.png", damaged))));
}

TEST_F(SkinBadFiles, AFileLargerThanAnySkinIsNotRead) {
  const std::wstring path = folder.File(L"large.png");
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const auto png = testing::ReadBytes(testing::SourcePath(L"resources/images/skin.png"));
  DWORD written = 0;
  WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
  LARGE_INTEGER end{};
  end.QuadPart = kMaxSkinFileBytes + 1;  // a whole skin first, then nothing anyone needs
  SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
  SetEndOfFile(file);
  CloseHandle(file);
  EXPECT_FALSE(LoadPngFile(U(path)));
}

TEST_F(SkinBadFiles, ASoundBitmapInEitherRowOrderOrWithBitFieldsLoadsTheSame) {
  // Top row: opaque red, half-transparent white; bottom row: transparent, opaque blue.
  const std::vector<uint32_t> pixels{0xFFFF0000, 0x80FFFFFF, 0x00123456, 0xFF0000FF};
  const std::vector<uint32_t> expected{Bgra(0, 0, 0xFF, 0xFF), Bgra(0x80, 0x80, 0x80, 0x80), 0, Bgra(0xFF, 0, 0, 0xFF)};
  const std::vector<char> bottomUp = BitmapBytes(2, 2, pixels);

  // The same pixels stored top-down, and with a V5 header and BGRA bit fields, as image tools write them.
  std::vector<char> topDown(bottomUp.begin(), bottomUp.begin() + 54);
  SetLe32(topDown, 22, static_cast<uint32_t>(-2));
  for (const uint32_t p : pixels) topDown.insert(topDown.end(), {char(p), char(p >> 8), char(p >> 16), char(p >> 24)});

  std::vector<char> v5(bottomUp.begin(), bottomUp.begin() + 14);
  std::vector<char> header(124, 0);
  std::memcpy(header.data(), bottomUp.data() + 14, 40);
  SetLe32(header, 0, 124);
  SetLe32(header, 16, 3);  // BI_BITFIELDS
  SetLe32(header, 40, 0x00FF0000);
  SetLe32(header, 44, 0x0000FF00);
  SetLe32(header, 48, 0x000000FF);
  SetLe32(header, 52, 0xFF000000);
  v5.insert(v5.end(), header.begin(), header.end());
  SetLe32(v5, 10, 14 + 124);
  v5.insert(v5.end(), bottomUp.begin() + 54, bottomUp.end());

  for (const auto& [name, bytes] : std::vector<std::pair<const wchar_t*, std::vector<char>>>{
           {L"bottom-up.bmp", bottomUp}, {L"top-down.bmp", topDown}, {L"v5.bmp", v5}}) {
    auto image = LoadBitmapFile(U(Write(name, bytes)));
    ASSERT_TRUE(image) << static_cast<char>(name[0]);
    ASSERT_EQ(image->width(), 2);
    ASSERT_EQ(image->height(), 2);
    EXPECT_EQ(std::vector<uint32_t>(image->pixels(), image->pixels() + 4), expected);
  }
}

}  // namespace
}  // namespace ostrel
