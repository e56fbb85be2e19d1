// Skin files as a user might leave them beside the program: cut short, empty, damaged, of
// the wrong kind, or with headers claiming sizes no skin has. Each must be refused before
// anything is decoded or allocated by its word, and a sound one must come through whole.

#include "toolbar/skin_file_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolbar/pixel_image.h"

namespace ostrel {
namespace {

using Bytes = std::vector<uint8_t>;

void PutBe32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void PutLe32(Bytes& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void PutLe16(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void SetLe32(Bytes& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// The checksum PNG chunks carry (ISO 3309), bit by bit: slow and plainly right.
uint32_t ReferenceCrc(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFF;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
  PutBe32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, ReferenceCrc(out.data() + typeAt, data.size() + 4));
}

Bytes Ihdr(uint32_t width, uint32_t height, uint8_t depth = 8, uint8_t colour = 6, uint8_t interlace = 0) {
  Bytes d;
  PutBe32(d, width);
  PutBe32(d, height);
  d.insert(d.end(), {depth, colour, 0, 0, interlace});
  return d;
}

struct PngParts {
  Bytes header = Ihdr(430, 435);
  bool text = true;  // an ancillary chunk between header and data
  bool data = true;
  bool end = true;
};

// The checks look at the structure only, so the image data need not inflate.
Bytes Png(const PngParts& parts = {}) {
  Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(out, "IHDR", parts.header);
  if (parts.text) PutChunk(out, "tEXt", {'S', 'k', 'i', 'n', 0, 'x'});
  if (parts.data) PutChunk(out, "IDAT", Bytes(300, 0x5A));
  if (parts.end) PutChunk(out, "IEND", {});
  return out;
}

struct BmpParts {
  int32_t width = 2;
  int32_t height = 2;  // negative: top-down
  uint16_t bitCount = 32;
  uint32_t compression = 0;
  uint32_t headerSize = 40;
  std::vector<uint32_t> masks;  // after a 40-byte header, or inside a longer one
  int64_t offsetShift = 0;      // moves the pixel offset away from where the pixels are
  size_t pixelBytes = SIZE_MAX;  // default: width * 4 * |height|
};

// Pixels numbered 1, 2, 3... in file order (bottom row first for a bottom-up file).
Bytes Bmp(const BmpParts& p = {}) {
  Bytes info;
  PutLe32(info, p.headerSize);
  PutLe32(info, static_cast<uint32_t>(p.width));
  PutLe32(info, static_cast<uint32_t>(p.height));
  PutLe16(info, 1);
  PutLe16(info, p.bitCount);
  PutLe32(info, p.compression);
  for (int i = 0; i < 5; ++i) PutLe32(info, 0);
  if (p.headerSize == 40) {
    for (const uint32_t m : p.masks) PutLe32(info, m);
  } else {
    for (const uint32_t m : p.masks) PutLe32(info, m);
    info.resize(p.headerSize, 0);
  }
  const int64_t rows = p.height < 0 ? -int64_t{p.height} : p.height;
  const size_t pixelBytes = p.pixelBytes != SIZE_MAX ? p.pixelBytes : static_cast<size_t>(p.width) * 4 * rows;
  Bytes out{'B', 'M'};
  PutLe32(out, static_cast<uint32_t>(14 + info.size() + pixelBytes));
  PutLe32(out, 0);
  PutLe32(out, static_cast<uint32_t>(14 + info.size() + p.offsetShift));
  out.insert(out.end(), info.begin(), info.end());
  for (size_t i = 0; i < pixelBytes; ++i) out.push_back(static_cast<uint8_t>(i / 4 + 1));
  return out;
}

// --- PNG files ---

TEST(SkinPngCheck, AWholeFileGivesItsDeclaredSize) {
  const auto size = CheckPngSkin(Png());
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 430);
  EXPECT_EQ(size->height, 435);
  PngParts noText;
  noText.text = false;
  EXPECT_TRUE(CheckPngSkin(Png(noText)));
  const std::vector<std::pair<uint8_t, uint8_t>> formats{{8, 6}, {16, 6}, {8, 2}, {4, 3}, {1, 0}, {16, 4}};
  for (const auto& [depth, colour] : formats) {
    PngParts parts;
    parts.header = Ihdr(430, 435, depth, colour, 1);
    EXPECT_TRUE(CheckPngSkin(Png(parts))) << int(depth) << "/" << int(colour);
  }
}

TEST(SkinPngCheck, AFileCutShortAnywhereIsRefused) {
  const Bytes whole = Png();
  for (size_t length = 0; length < whole.size(); ++length) {
    EXPECT_FALSE(CheckPngSkin(std::span<const uint8_t>(whole.data(), length))) << length;
  }
}

TEST(SkinPngCheck, DamageToWhatTheDecoderNeedsIsRefused) {
  const Bytes whole = Png();
  const size_t ihdrData = 8 + 8;
  const size_t textData = ihdrData + 13 + 4 + 8;
  const size_t idatData = textData + 6 + 4 + 8;
  struct Row {
    const char* what;
    size_t at;
    bool refused;
  };
  const Row rows[] = {
      {"signature", 1, true},
      {"header data", ihdrData + 2, true},
      {"header checksum", ihdrData + 13, true},
      {"image data", idatData + 100, true},
      {"end chunk's checksum", whole.size() - 1, true},
      {"text an image needs not", textData + 5, false},
  };
  for (const Row& row : rows) {
    Bytes damaged = whole;
    damaged[row.at] ^= 0x40;
    EXPECT_EQ(!CheckPngSkin(damaged), row.refused) << row.what;
  }
  Bytes badType = whole;
  badType[textData - 3] = '1';  // "t1XT": no chunk type
  EXPECT_FALSE(CheckPngSkin(badType));
  Bytes hugeChunk = whole;
  hugeChunk[textData - 8] = 0xFF;  // the text chunk claims 4 GB
  EXPECT_FALSE(CheckPngSkin(hugeChunk));
}

TEST(SkinPngCheck, HeadersClaimingSizesNoSkinHasAreRefused) {
  struct Row {
    uint32_t width;
    uint32_t height;
    bool accepted;
  };
  const Row rows[] = {
      {30000, 30000, false},    {0xFFFFFFFF, 1, false}, {0x80000000, 435, false}, {0, 435, false},
      {430, 0, false},          {8193, 1, false},       {1, 8193, false},         {8192, 512, true},
      {2048, 2048, true},       {2048, 2049, false},    {1, 1, true},
  };
  for (const Row& row : rows) {
    PngParts parts;
    parts.header = Ihdr(row.width, row.height);
    EXPECT_EQ(CheckPngSkin(Png(parts)).has_value(), row.accepted) << row.width << " x " << row.height;
  }
}

TEST(SkinPngCheck, HeadersNoDecoderCanReadAreRefused) {
  std::vector<Bytes> headers = {Ihdr(430, 435, 8, 5), Ihdr(430, 435, 3, 6), Ihdr(430, 435, 16, 3),
                                Ihdr(430, 435, 2, 2), Ihdr(430, 435, 8, 6, 2)};
  Bytes compression = Ihdr(430, 435);
  compression[10] = 1;
  headers.push_back(compression);
  Bytes shortHeader = Ihdr(430, 435);
  shortHeader.pop_back();
  headers.push_back(shortHeader);
  for (size_t i = 0; i < headers.size(); ++i) {
    PngParts parts;
    parts.header = headers[i];
    EXPECT_FALSE(CheckPngSkin(Png(parts))) << i;
  }
}

TEST(SkinPngCheck, ChunksOutOfOrderOrMissingAreRefused) {
  PngParts noData;
  noData.data = false;
  EXPECT_FALSE(CheckPngSkin(Png(noData)));
  PngParts noEnd;
  noEnd.end = false;
  EXPECT_FALSE(CheckPngSkin(Png(noEnd)));

  Bytes headerNotFirst{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(headerNotFirst, "tEXt", {'a', 0, 'b'});
  PutChunk(headerNotFirst, "IHDR", Ihdr(430, 435));
  PutChunk(headerNotFirst, "IDAT", {1, 2, 3});
  PutChunk(headerNotFirst, "IEND", {});
  EXPECT_FALSE(CheckPngSkin(headerNotFirst));

  Bytes twoHeaders{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(twoHeaders, "IHDR", Ihdr(430, 435));
  PutChunk(twoHeaders, "IHDR", Ihdr(30000, 30000));
  PutChunk(twoHeaders, "IDAT", {1, 2, 3});
  PutChunk(twoHeaders, "IEND", {});
  EXPECT_FALSE(CheckPngSkin(twoHeaders));

  // Whatever follows the end chunk is not looked at.
  Bytes trailing = Png();
  trailing.insert(trailing.end(), {0xFF, 0xFF, 0xFF});
  EXPECT_TRUE(CheckPngSkin(trailing));
}

// --- Bitmap files ---

TEST(SkinBitmapCheck, BottomUpAndTopDownFilesComeOutTopRowFirst) {
  for (const bool topDown : {false, true}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    BmpParts parts;
    parts.width = 3;
    parts.height = topDown ? -2 : 2;
    const Bytes file = Bmp(parts);
    const auto layout = CheckBitmapSkin(file);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->size.width, 3);
    EXPECT_EQ(layout->size.height, 2);
    EXPECT_EQ(layout->topDown, topDown);
    PixelImage image(3, 2, 0xDEADBEEF);
    ASSERT_TRUE(CopyBitmapSkinPixels(file, *layout, image.view()));
    // Stored rows: 1 2 3 then 4 5 6 (each byte of a pixel holds its number).
    const uint32_t firstStored = 0x01010101;
    const uint32_t secondStored = 0x04040404;
    EXPECT_EQ(image.At(0, 0), topDown ? firstStored : secondStored);
    EXPECT_EQ(image.At(2, 1), topDown ? 0x06060606u : 0x03030303u);
  }
}

TEST(SkinBitmapCheck, BitFieldsInTheDibLayoutAreTakenOthersRefused) {
  const std::vector<uint32_t> bgra{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  struct Row {
    const char* what;
    uint32_t headerSize;
    uint32_t compression;
    std::vector<uint32_t> masks;
    bool accepted;
  };
  const std::vector<Row> rows = {
      {"info header, bit fields", 40, 3, {bgra[0], bgra[1], bgra[2]}, true},
      {"info header, alpha bit fields", 40, 6, bgra, true},
      {"V4 header", 108, 3, bgra, true},
      {"V5 header", 124, 3, bgra, true},
      {"V5 header, no alpha mask", 124, 3, {bgra[0], bgra[1], bgra[2], 0}, true},
      {"RGBA order", 124, 3, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}, false},
      {"16-bit style masks", 40, 3, {0xF800, 0x07E0, 0x001F}, false},
      {"run-length coding", 40, 1, {}, false},
      {"JPEG inside", 124, 4, bgra, false},
      {"core header", 12, 0, {}, false},
      {"unknown header", 64, 0, {}, false},
  };
  for (const Row& row : rows) {
    BmpParts parts;
    parts.headerSize = row.headerSize;
    parts.compression = row.compression;
    parts.masks = row.masks;
    EXPECT_EQ(CheckBitmapSkin(Bmp(parts)).has_value(), row.accepted) << row.what;
  }
}

TEST(SkinBitmapCheck, DepthsWithoutAlphaAreRefused) {
  for (const uint16_t bits : {1, 4, 8, 16, 24, 64}) {
    BmpParts parts;
    parts.bitCount = bits;
    EXPECT_FALSE(CheckBitmapSkin(Bmp(parts))) << bits;
  }
}

TEST(SkinBitmapCheck, HeadersClaimingMoreThanTheFileHoldsAreRefused) {
  struct Row {
    const char* what;
    int32_t width;
    int32_t height;
    size_t pixelBytes;
  };
  const Row rows[] = {
      {"30000 x 30000 with 64 bytes", 30000, 30000, 64},
      {"30000 x 30000 top-down", 30000, -30000, 64},
      {"one row short", 430, 435, 430 * 4 * 434},
      {"one byte short", 430, 435, 430 * 4 * 435 - 1},
      {"no pixels", 430, 435, 0},
      {"lowest height", 2, INT32_MIN, 16},
      {"negative width", -2, 2, 16},
      {"no width", 0, 2, 16},
      {"no height", 2, 0, 16},
      {"wider than any skin", 8193, 1, 8193 * 4},
      {"more pixels than any skin", 2048, 2049, 64},
  };
  for (const Row& row : rows) {
    BmpParts parts;
    parts.width = row.width;
    parts.height = row.height;
    parts.pixelBytes = row.pixelBytes;
    EXPECT_FALSE(CheckBitmapSkin(Bmp(parts))) << row.what;
  }
  BmpParts whole;
  whole.width = 430;
  whole.height = 435;
  EXPECT_TRUE(CheckBitmapSkin(Bmp(whole)));
}

TEST(SkinBitmapCheck, AFileCutShortAnywhereOrMisPointedIsRefused) {
  const Bytes whole = Bmp();
  ASSERT_TRUE(CheckBitmapSkin(whole));
  for (size_t length = 0; length < whole.size(); ++length) {
    EXPECT_FALSE(CheckBitmapSkin(std::span<const uint8_t>(whole.data(), length))) << length;
  }
  for (const int64_t shift : {int64_t{-1}, int64_t{-54}, int64_t{1}, int64_t{0x7FFFFFFF}}) {
    BmpParts parts;
    parts.offsetShift = shift;
    EXPECT_FALSE(CheckBitmapSkin(Bmp(parts))) << shift;
  }
  Bytes noPlanes = whole;
  noPlanes[26] = 0;
  EXPECT_FALSE(CheckBitmapSkin(noPlanes));
  Bytes notBm = whole;
  notBm[1] = 'A';
  EXPECT_FALSE(CheckBitmapSkin(notBm));
  Bytes headerPastTheFile = whole;
  SetLe32(headerPastTheFile, 14, 124);
  EXPECT_FALSE(CheckBitmapSkin(headerPastTheFile));
}

TEST(SkinBitmapCheck, PixelsAreCopiedOnlyIntoAnImageOfTheirSize) {
  const Bytes file = Bmp();
  const auto layout = CheckBitmapSkin(file);
  ASSERT_TRUE(layout);
  PixelImage wrong(3, 2, 0xDEADBEEF);
  EXPECT_FALSE(CopyBitmapSkinPixels(file, *layout, wrong.view()));
  EXPECT_EQ(wrong.At(0, 0), 0xDEADBEEFu);
  EXPECT_FALSE(CopyBitmapSkinPixels(file, *layout, PixelView()));
  // A layout that does not belong to the bytes given is not followed out of them.
  PixelImage right(2, 2);
  EXPECT_FALSE(CopyBitmapSkinPixels(std::span<const uint8_t>(file.data(), file.size() - 1), *layout, right.view()));
}

TEST(SkinFileCheck, TheKindFoundDecidesHowTheFileIsRead) {
  BmpParts parts;
  parts.width = 430;
  parts.height = 435;
  const Bytes bmp = Bmp(parts);
  const Bytes png = Png();
  EXPECT_TRUE(CheckSkinFile(SkinFileKind::Bitmap, bmp));
  EXPECT_TRUE(CheckSkinFile(SkinFileKind::Png, png));
  EXPECT_FALSE(CheckSkinFile(SkinFileKind::Bitmap, png));
  EXPECT_FALSE(CheckSkinFile(SkinFileKind::Png, bmp));
  EXPECT_FALSE(CheckSkinFile(SkinFileKind::Png, {}));
  EXPECT_FALSE(CheckSkinFile(SkinFileKind::Bitmap, {}));
  const std::string text = "not an image";
  const std::span<const uint8_t> textBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  EXPECT_FALSE(CheckSkinFile(SkinFileKind::Png, textBytes));
  EXPECT_FALSE(CheckSkinFile(SkinFileKind::Bitmap, textBytes));
}

// --- What the toolbar needs of a decoded skin ---

TEST(SkinFileCheck, ASkinMustReachEveryShownColumnAndTheBackgroundBand) {
  struct Row {
    int width;
    int height;
    bool shows;
  };
  // The built-in canvas: 327 x 60, showing skin columns 0..256 and 360..429; band 6 from row 360.
  const Row rows[] = {
      {430, 435, true}, {430, 420, true}, {430, 361, true},  {431, 5000, true}, {430, 360, false},
      {429, 435, false}, {1, 1, false},   {257, 435, false}, {0, 0, false},     {-430, 435, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(SkinCanShowToolbar(row.width, row.height, 327, 60), row.shows) << row.width << " x " << row.height;
  }
  // A canvas no wider than the left part needs no more columns than it has.
  EXPECT_TRUE(SkinCanShowToolbar(200, 61, 200, 10));
  EXPECT_FALSE(SkinCanShowToolbar(199, 61, 200, 10));
}

}  // namespace
}  // namespace ostrel
