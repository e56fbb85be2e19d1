#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace ostrel {

// A pixel of a 32-bit DIB: the bytes blue, green, red, alpha in memory, which a
// little-endian 32-bit word reads as 0xAARRGGBB.
static_assert(std::endian::native == std::endian::little, "DIB pixels are read as little-endian words");

constexpr uint32_t Bgra(uint8_t blue, uint8_t green, uint8_t red, uint8_t alpha) {
  return uint32_t{blue} | uint32_t{green} << 8 | uint32_t{red} << 16 | uint32_t{alpha} << 24;
}
constexpr uint8_t BlueOf(uint32_t pixel) { return static_cast<uint8_t>(pixel); }
constexpr uint8_t GreenOf(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 8); }
constexpr uint8_t RedOf(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 16); }
constexpr uint8_t AlphaOf(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 24); }

// A window onto pixels owned elsewhere (a DIB section, a test image): premultiplied BGRA,
// rows top-down, stride counted in pixels. A view that is not Usable() stands for no image.
template <class Pixel>
struct BasicPixelView {
  Pixel* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;

  constexpr BasicPixelView() = default;
  constexpr BasicPixelView(Pixel* p, int w, int h, int s) : pixels(p), width(w), height(h), stride(s) {}
  constexpr BasicPixelView(Pixel* p, int w, int h) : BasicPixelView(p, w, h, w) {}
  template <class Other>
    requires std::is_convertible_v<Other*, Pixel*>
  constexpr BasicPixelView(const BasicPixelView<Other>& other)
      : BasicPixelView(other.pixels, other.width, other.height, other.stride) {}

  constexpr bool Usable() const { return pixels != nullptr && width > 0 && height > 0 && stride >= width; }
  constexpr Pixel* Row(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * stride; }
  constexpr Pixel& At(int x, int y) const { return Row(y)[x]; }
};

using PixelView = BasicPixelView<uint32_t>;
using ConstPixelView = BasicPixelView<const uint32_t>;

}  // namespace ostrel
