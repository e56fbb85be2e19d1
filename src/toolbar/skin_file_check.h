#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "toolbar/pixel_view.h"
#include "toolbar/skin_source.h"

namespace ostrel {

// A skin file is whatever the user put beside the program, so nothing it claims is believed
// before it has been checked against these bounds and against the file's own length. The
// built-in skin is 430 x 435; a skin many times that size is no skin.
inline constexpr int kMaxSkinSide = 8192;
inline constexpr int64_t kMaxSkinPixels = int64_t{4} * 1024 * 1024;
// Room for the largest allowed bitmap file (its pixels and headers); a PNG is smaller.
inline constexpr int64_t kMaxSkinFileBytes = kMaxSkinPixels * 4 + 64 * 1024;

struct SkinImageSize {
  int width = 0;
  int height = 0;
};

// Where a 32-bit bitmap file keeps its pixels.
struct BitmapSkinLayout {
  SkinImageSize size;
  bool topDown = false;
  size_t pixelOffset = 0;  // of the first stored row; rows are size.width * 4 bytes, unpadded
};

// A whole PNG file: the signature, a sound header of a size within the bounds, and chunks
// that each fit the file, the critical ones with a matching checksum, up to the end chunk
// with image data before it. Anything less is refused before the decoder sees it.
std::optional<SkinImageSize> CheckPngSkin(std::span<const uint8_t> file);

// A bitmap file of 32 bits per pixel, uncompressed or with the plain BGRA bit fields, a size
// within the bounds, and every row of pixels inside the file.
std::optional<BitmapSkinLayout> CheckBitmapSkin(std::span<const uint8_t> file);

// Either of the above by the kind of file the skin was found as.
std::optional<SkinImageSize> CheckSkinFile(SkinFileKind kind, std::span<const uint8_t> file);

// The checked bitmap's pixels into target, top row first, alpha as stored. False, and
// target untouched, when target is not an image of the layout's size.
bool CopyBitmapSkinPixels(std::span<const uint8_t> file, const BitmapSkinLayout& layout, PixelView target);

// Whether a skin of this size can draw the toolbar: every column the canvas shows, and at
// least the top of the background band. A smaller one would leave a toolbar that cannot be
// seen or clicked, so the built-in skin stays instead; larger or shorter skins are only odd.
bool SkinCanShowToolbar(int width, int height, int canvasWidth, int canvasHeight);

}  // namespace ostrel
