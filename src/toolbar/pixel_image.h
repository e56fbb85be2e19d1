#pragma once
#include <cstdint>
#include <vector>

#include "toolbar/pixel_view.h"

namespace ostrel {

// Pixels owned in memory, for images made outside a DIB (tests, benchmarks, generated art).
class PixelImage {
 public:
  PixelImage() = default;
  // A negative size gives an empty image.
  PixelImage(int width, int height, uint32_t fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  PixelView view() { return {pixels_.data(), width_, height_}; }
  ConstPixelView view() const { return {pixels_.data(), width_, height_}; }
  uint32_t& At(int x, int y) { return pixels_[Index(x, y)]; }
  uint32_t At(int x, int y) const { return pixels_[Index(x, y)]; }

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x); }

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

}  // namespace ostrel
