#include "toolbar/skin_file_check.h"

#include <array>
#include <cstring>

#include "toolbar/compose_toolbar.h"

namespace ostrel {
namespace {

uint32_t BigEndian32(std::span<const uint8_t> bytes, size_t at) {
  return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 | uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

uint32_t LittleEndian32(std::span<const uint8_t> bytes, size_t at) {
  return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
         uint32_t{bytes[at + 3]} << 24;
}

uint16_t LittleEndian16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

bool SizeWithinBounds(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSkinSide && height <= kMaxSkinSide &&
         width * height <= kMaxSkinPixels;
}

// --- PNG ---

constexpr std::array<uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kChunkOverhead = 12;  // length, type, checksum
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t Crc32(std::span<const uint8_t> bytes) {
  uint32_t c = 0xFFFFFFFFu;
  for (const uint8_t b : bytes) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

bool IsChunkType(std::span<const uint8_t> type, const char (&name)[5]) {
  return std::memcmp(type.data(), name, 4) == 0;
}

bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The colour types and bit depths a PNG header may pair.
bool SoundPngFormat(uint8_t depth, uint8_t colourType) {
  switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
  }
}

// --- Bitmap ---

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitFields = 3;
constexpr uint32_t kBiAlphaBitFields = 6;
constexpr uint32_t kRedMask = 0x00FF0000;
constexpr uint32_t kGreenMask = 0x0000FF00;
constexpr uint32_t kBlueMask = 0x000000FF;

bool KnownInfoHeaderSize(uint32_t size) {
  // BITMAPINFOHEADER, its two undocumented extensions, BITMAPV4HEADER, BITMAPV5HEADER.
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

}  // namespace

std::optional<SkinImageSize> CheckPngSkin(std::span<const uint8_t> file) {
  if (file.size() < kPngSignature.size() + kChunkOverhead + 13) return std::nullopt;
  if (std::memcmp(file.data(), kPngSignature.data(), kPngSignature.size()) != 0) return std::nullopt;

  std::optional<SkinImageSize> size;
  bool imageData = false;
  for (size_t at = kPngSignature.size();;) {
    if (file.size() - at < kChunkOverhead) return std::nullopt;  // cut off before its end chunk
    const uint32_t length = BigEndian32(file, at);
    const std::span<const uint8_t> type = file.subspan(at + 4, 4);
    if (length > kMaxChunkLength || length > file.size() - at - kChunkOverhead) return std::nullopt;
    if (!IsLetter(type[0]) || !IsLetter(type[1]) || !IsLetter(type[2]) || !IsLetter(type[3])) return std::nullopt;
    const std::span<const uint8_t> data = file.subspan(at + 8, length);
    // Bit 5 of the first letter: lower case marks a chunk a decoder may skip.
    const bool critical = (type[0] & 0x20) == 0;
    if (critical && Crc32(file.subspan(at + 4, length + 4)) != BigEndian32(file, at + 8 + length)) {
      return std::nullopt;
    }
    const bool first = at == kPngSignature.size();
    if (first != IsChunkType(type, "IHDR")) return std::nullopt;  // the header once, and first
    if (first) {
      if (length != 13) return std::nullopt;
      const uint32_t width = BigEndian32(data, 0);
      const uint32_t height = BigEndian32(data, 4);
      if (!SizeWithinBounds(width, height)) return std::nullopt;
      if (!SoundPngFormat(data[8], data[9]) || data[10] != 0 || data[11] != 0 || data[12] > 1) return std::nullopt;
      size = SkinImageSize{static_cast<int>(width), static_cast<int>(height)};
    } else if (IsChunkType(type, "IDAT")) {
      imageData = true;
    } else if (IsChunkType(type, "IEND")) {
      if (!imageData) return std::nullopt;
      return size;
    }
    at += kChunkOverhead + length;
  }
}

std::optional<BitmapSkinLayout> CheckBitmapSkin(std::span<const uint8_t> file) {
  if (file.size() < kFileHeaderBytes + 40) return std::nullopt;
  if (file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const uint32_t pixelOffset = LittleEndian32(file, 10);
  const uint32_t headerSize = LittleEndian32(file, 14);
  if (!KnownInfoHeaderSize(headerSize) || headerSize > file.size() - kFileHeaderBytes) return std::nullopt;
  const auto width = static_cast<int32_t>(LittleEndian32(file, 18));
  const auto storedHeight = static_cast<int32_t>(LittleEndian32(file, 22));
  const uint16_t planes = LittleEndian16(file, 26);
  const uint16_t bitCount = LittleEndian16(file, 28);
  const uint32_t compression = LittleEndian32(file, 30);
  // Other depths carry no alpha; the toolbar's per-pixel alpha needs it.
  if (planes != 1 || bitCount != 32) return std::nullopt;

  size_t headersEnd = kFileHeaderBytes + headerSize;
  if (compression == kBiBitFields || compression == kBiAlphaBitFields) {
    // The masks follow a plain info header and lie inside the longer ones.
    size_t masksAt = kFileHeaderBytes + 40;
    if (headerSize == 40) {
      headersEnd += compression == kBiBitFields ? 12 : 16;
      if (headersEnd > file.size()) return std::nullopt;
    }
    // Only the layout a DIB section has: anything else would need its channels moved.
    if (LittleEndian32(file, masksAt) != kRedMask || LittleEndian32(file, masksAt + 4) != kGreenMask ||
        LittleEndian32(file, masksAt + 8) != kBlueMask) {
      return std::nullopt;
    }
  } else if (compression != kBiRgb) {
    return std::nullopt;
  }

  const int64_t height = storedHeight < 0 ? -int64_t{storedHeight} : int64_t{storedHeight};
  if (!SizeWithinBounds(width, height)) return std::nullopt;
  const uint64_t pixelBytes = static_cast<uint64_t>(width) * 4 * static_cast<uint64_t>(height);
  if (pixelOffset < headersEnd || pixelOffset > file.size() || pixelBytes > file.size() - pixelOffset) {
    return std::nullopt;
  }
  BitmapSkinLayout layout;
  layout.size = {width, static_cast<int>(height)};
  layout.topDown = storedHeight < 0;
  layout.pixelOffset = pixelOffset;
  return layout;
}

std::optional<SkinImageSize> CheckSkinFile(SkinFileKind kind, std::span<const uint8_t> file) {
  if (kind == SkinFileKind::Png) return CheckPngSkin(file);
  const auto layout = CheckBitmapSkin(file);
  if (!layout) return std::nullopt;
  return layout->size;
}

bool CopyBitmapSkinPixels(std::span<const uint8_t> file, const BitmapSkinLayout& layout, PixelView target) {
  const int width = layout.size.width;
  const int height = layout.size.height;
  if (!target.Usable() || target.width != width || target.height != height) return false;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  if (layout.pixelOffset > file.size() || rowBytes * static_cast<size_t>(height) > file.size() - layout.pixelOffset) {
    return false;
  }
  for (int y = 0; y < height; ++y) {
    const int storedRow = layout.topDown ? y : height - 1 - y;
    std::memcpy(target.Row(y), file.data() + layout.pixelOffset + static_cast<size_t>(storedRow) * rowBytes, rowBytes);
  }
  return true;
}

bool SkinCanShowToolbar(int width, int height, int canvasWidth, int canvasHeight) {
  const int64_t columnsShown = canvasWidth > kSkinLeftPartWidth
                                   ? int64_t{kSkinRightPartX} + canvasWidth - kSkinLeftPartWidth
                                   : int64_t{canvasWidth};
  return width >= columnsShown && int64_t{height} > int64_t{kBackgroundBand} * canvasHeight;
}

}  // namespace ostrel
