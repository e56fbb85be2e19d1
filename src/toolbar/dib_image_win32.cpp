#include "toolbar/dib_image_win32.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

#include "platform/wide_win32.h"
#include "toolbar/premultiply_alpha.h"

namespace ostrel {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

struct GpBitmapTraits {
  using Handle = GpBitmap*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { GdipDisposeImage(h); }
};
using UniqueGpBitmap = UniqueHandle<GpBitmapTraits>;

struct StreamTraits {
  using Handle = IStream*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { h->Release(); }
};
using UniqueStream = UniqueHandle<StreamTraits>;

// The decoded image's pixels, premultiplied, copied into a DIB of our own.
std::optional<DibImage> ToDib(GpBitmap* source) {
  UINT width = 0;
  UINT height = 0;
  if (GdipGetImageWidth(source, &width) != Ok || GdipGetImageHeight(source, &height) != Ok) return std::nullopt;
  auto image = DibImage::Create(static_cast<int>(width), static_cast<int>(height));
  if (!image) return std::nullopt;
  GpRect rect{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
  BitmapData data{};
  data.Width = width;
  data.Height = height;
  data.Stride = static_cast<INT>(width * 4);
  data.PixelFormat = PixelFormat32bppPARGB;
  data.Scan0 = image->pixels();
  if (GdipBitmapLockBits(source, &rect, ImageLockModeRead | ImageLockModeUserInputBuf, PixelFormat32bppPARGB,
                         &data) != Ok) {
    return std::nullopt;
  }
  GdipBitmapUnlockBits(source, &data);
  return image;
}

}  // namespace

std::optional<DibImage> DibImage::Create(int width, int height) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  DibImage image;
  image.bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!image.bitmap_ || !bits) return std::nullopt;
  image.pixels_ = static_cast<uint32_t*>(bits);
  image.width_ = width;
  image.height_ = height;
  std::memset(bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  return image;
}

std::optional<DibImage> LoadImageResource(HINSTANCE instance, int id) {
  const HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(id), L"IMAGE");
  if (!resource) return std::nullopt;
  const DWORD size = SizeofResource(instance, resource);
  const HGLOBAL loaded = LoadResource(instance, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (size == 0 || !bytes) return std::nullopt;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return std::nullopt;
  void* target = GlobalLock(block);
  if (!target) {
    GlobalFree(block);
    return std::nullopt;
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(block);
  UniqueStream stream;
  if (CreateStreamOnHGlobal(block, TRUE, stream.put()) != S_OK) {
    GlobalFree(block);  // the stream never took it
    return std::nullopt;
  }
  UniqueGpBitmap bitmap;
  if (GdipCreateBitmapFromStream(stream.get(), bitmap.put()) != Ok) return std::nullopt;
  return ToDib(bitmap.get());
}

std::optional<DibImage> LoadPngFile(const std::u16string& path) {
  UniqueGpBitmap bitmap;
  if (GdipCreateBitmapFromFile(Wide(path), bitmap.put()) != Ok) return std::nullopt;
  return ToDib(bitmap.get());
}

std::optional<DibImage> LoadBitmapFile(const std::u16string& path) {
  GdiObject<HBITMAP> loaded(static_cast<HBITMAP>(
      LoadImageW(nullptr, Wide(path), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE)));
  if (!loaded) return std::nullopt;
  DIBSECTION section{};
  if (GetObjectW(loaded.get(), sizeof section, &section) != sizeof section) return std::nullopt;
  const BITMAP& bm = section.dsBm;
  // Other depths carry no alpha to premultiply; a bitmap without pixel memory has nothing to show.
  if (bm.bmBitsPixel != 32 || !bm.bmBits || bm.bmWidth <= 0 || bm.bmHeight <= 0) return std::nullopt;
  auto image = DibImage::Create(bm.bmWidth, bm.bmHeight);
  if (!image) return std::nullopt;
  const bool bottomUp = section.dsBmih.biHeight > 0;
  for (int y = 0; y < bm.bmHeight; ++y) {
    const int sourceRow = bottomUp ? bm.bmHeight - 1 - y : y;
    const auto* from = static_cast<const uint8_t*>(bm.bmBits) + static_cast<size_t>(sourceRow) * bm.bmWidthBytes;
    std::memcpy(image->pixels() + static_cast<size_t>(y) * image->width(), from, static_cast<size_t>(bm.bmWidth) * 4);
  }
  PremultiplyAlpha(PixelView(image->pixels(), image->width(), image->height()));
  return image;
}

GdiplusSession::GdiplusSession() {
  GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.SuppressBackgroundThread = TRUE;
  input.SuppressExternalCodecs = FALSE;
  GdiplusStartupOutput output;
  if (GdiplusStartup(&token_, &input, &output) == Ok && output.NotificationHook) {
    output.NotificationHook(&hookToken_);
    unhook_ = reinterpret_cast<void*>(output.NotificationUnhook);
  }
}

GdiplusSession::~GdiplusSession() {
  if (unhook_) reinterpret_cast<NotificationUnhookProc>(unhook_)(hookToken_);
  if (token_) GdiplusShutdown(token_);
}

}  // namespace ostrel
