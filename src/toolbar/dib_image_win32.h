#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/unique_handle_win32.h"

namespace ostrel {

// A 32-bit top-down DIB section holding premultiplied BGRA pixels: what the
// composition writes into and UpdateLayeredWindow reads from.
class DibImage {
 public:
  static std::optional<DibImage> Create(int width, int height);

  HBITMAP bitmap() const { return bitmap_.get(); }
  uint32_t* pixels() const { return pixels_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  GdiObject<HBITMAP> bitmap_;
  uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Each returns nothing when the source cannot be used. A file is read whole only when no
// skin could be larger, and checked (skin_file_check.h) before anything is decoded or sized
// by what it claims.
std::optional<DibImage> LoadImageResource(HINSTANCE instance, int id);
// Decoded by GDI+.
std::optional<DibImage> LoadPngFile(const std::u16string& path);
// A bitmap file with straight alpha; 32 bits per pixel only. The result is premultiplied.
std::optional<DibImage> LoadBitmapFile(const std::u16string& path);

// GDI+ for the life of the object (hook thread suppressed, its hook called at once).
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

 private:
  ULONG_PTR token_ = 0;
  ULONG_PTR hookToken_ = 0;
  void* unhook_ = nullptr;
};

}  // namespace ostrel
