// libFuzzer target for the checks a skin file passes before it is decoded. The first byte
// chooses how the rest is given: as a PNG file, as a bitmap file, as a bitmap file whose
// headers are built from the input's numbers (so sizes, offsets and masks vary while the
// signature holds), or as a PNG file whose chunks are built from the input with correct
// checksums (so the walk gets past them). Whatever is accepted must lie within the bounds
// and within the file, and a bitmap's pixels are copied out of it under the sanitizers.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "toolbar/pixel_image.h"
#include "toolbar/skin_file_check.h"

namespace {

using namespace ostrel;
using Bytes = std::vector<uint8_t>;

void Check(bool condition) {
  if (!condition) std::abort();
}

// Reads the input front to back; zeros once it runs out.
struct Reader {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint8_t Byte() { return at < size ? data[at++] : 0; }
  uint32_t Word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{Byte()} << (8 * i);
    return v;
  }
  std::span<const uint8_t> Rest() { return {data + std::min(at, size), size - std::min(at, size)}; }
};

void PutLe32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutBe32(Bytes& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t Crc(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFF;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

Bytes BitmapFrom(Reader& in) {
  static constexpr uint32_t kHeaderSizes[] = {40, 52, 56, 108, 124, 12, 64};
  static constexpr uint32_t kCompressions[] = {0, 3, 6, 1};
  const uint32_t headerSize = kHeaderSizes[in.Byte() % 7];
  // Small sizes mostly, so accepted files stay small; sometimes anything.
  const uint8_t sizeMode = in.Byte();
  const uint32_t width = sizeMode & 1 ? in.Word() : in.Byte() % 9;
  const uint32_t height = sizeMode & 2 ? in.Word() : static_cast<uint32_t>(static_cast<int8_t>(in.Byte()) % 9);
  const uint32_t compression = kCompressions[in.Byte() % 4];
  const uint16_t bits = in.Byte() & 1 ? 32 : 24;
  const int32_t offsetShift = static_cast<int8_t>(in.Byte());
  Bytes info;
  PutLe32(info, headerSize);
  PutLe32(info, width);
  PutLe32(info, height);
  info.insert(info.end(), {1, 0, static_cast<uint8_t>(bits), 0});
  PutLe32(info, compression);
  for (int i = 0; i < 5; ++i) PutLe32(info, 0);
  const bool standardMasks = in.Byte() & 1;
  for (const uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) {
    PutLe32(info, standardMasks ? mask : in.Word());
  }
  if (headerSize > 40) info.resize(headerSize, 0);
  Bytes file{'B', 'M'};
  PutLe32(file, 0);
  PutLe32(file, 0);
  const uint32_t offset = static_cast<uint32_t>(14 + static_cast<int64_t>(info.size()) + offsetShift);
  PutLe32(file, offset);
  file.insert(file.end(), info.begin(), info.end());
  const auto rest = in.Rest();
  file.insert(file.end(), rest.begin(), rest.end());
  return file;
}

Bytes PngFrom(Reader& in) {
  static const char* const kTypes[] = {"IHDR", "IDAT", "IEND", "tEXt", "PLTE", "iCCP"};
  Bytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  while (in.at < in.size) {
    const uint8_t choice = in.Byte();
    const char* type = kTypes[choice % 6];
    Bytes data;
    if (choice % 6 == 0) {
      const uint8_t sizeMode = in.Byte();
      PutBe32(data, sizeMode & 1 ? in.Word() : in.Byte());
      PutBe32(data, sizeMode & 2 ? in.Word() : in.Byte());
      for (int i = 0; i < 5; ++i) data.push_back(in.Byte());
    } else {
      const size_t length = in.Byte();
      for (size_t i = 0; i < length; ++i) data.push_back(in.Byte());
    }
    PutBe32(file, static_cast<uint32_t>(data.size()));
    const size_t typeAt = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    const bool goodChecksum = (choice & 0x80) == 0;
    PutBe32(file, Crc(file.data() + typeAt, data.size() + 4) ^ (goodChecksum ? 0 : 1));
  }
  return file;
}

void CheckBounds(const SkinImageSize& size) {
  Check(size.width > 0 && size.height > 0 && size.width <= kMaxSkinSide && size.height <= kMaxSkinSide);
  Check(int64_t{size.width} * size.height <= kMaxSkinPixels);
}

void CheckBitmap(std::span<const uint8_t> file) {
  const auto layout = CheckBitmapSkin(file);
  Check(CheckSkinFile(SkinFileKind::Bitmap, file).has_value() == layout.has_value());
  if (!layout) return;
  CheckBounds(layout->size);
  const uint64_t pixelBytes = uint64_t{4} * static_cast<uint64_t>(layout->size.width) * layout->size.height;
  Check(layout->pixelOffset <= file.size() && pixelBytes <= file.size() - layout->pixelOffset);
  // An exact-size copy of the file, so the sanitizer sees any read past its end.
  std::vector<uint8_t> exact(file.begin(), file.end());
  PixelImage image(layout->size.width, layout->size.height);
  Check(CopyBitmapSkinPixels(exact, *layout, image.view()));
  PixelImage other(layout->size.width + 1, layout->size.height);
  Check(!CopyBitmapSkinPixels(exact, *layout, other.view()));
}

void CheckPng(std::span<const uint8_t> file) {
  const auto size = CheckPngSkin(file);
  Check(CheckSkinFile(SkinFileKind::Png, file).has_value() == size.has_value());
  if (size) CheckBounds(*size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  const uint8_t mode = in.Byte();
  switch (mode % 4) {
    case 0: {
      const std::vector<uint8_t> exact(in.Rest().begin(), in.Rest().end());
      CheckPng(exact);
      break;
    }
    case 1: CheckBitmap(in.Rest()); break;
    case 2: CheckBitmap(BitmapFrom(in)); break;
    default: {
      const Bytes png = PngFrom(in);
      CheckPng(png);
      break;
    }
  }
  // Any size a decoder could report, against any canvas.
  Reader sizes{data, size};
  const auto width = static_cast<int>(sizes.Word());
  const auto height = static_cast<int>(sizes.Word());
  const auto canvasWidth = static_cast<int>(sizes.Word());
  const auto canvasHeight = static_cast<int>(sizes.Word());
  (void)SkinCanShowToolbar(width, height, canvasWidth, canvasHeight);
  return 0;
}
