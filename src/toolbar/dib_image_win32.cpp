#include "toolbar/dib_image_win32.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/log_win32.h"
#include "platform/wide_win32.h"
#include "toolbar/premultiply_alpha.h"
#include "toolbar/skin_file_check.h"

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


// The decoded image's pixels, premultiplied, copied into a DIB of our own. A file's decoder
// must deliver the size its header was checked for.
std::optional<DibImage> ToDib(GpBitmap* source, std::optional<SkinImageSize> expected = std::nullopt) {
  UINT width = 0;
  UINT height = 0;
  if (GdipGetImageWidth(source, &width) != Ok || GdipGetImageHeight(source, &height) != Ok) return std::nullopt;
  if (expected && (int64_t{width} != expected->width || int64_t{height} != expected->height)) {
    return std::nullopt;
  }
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

// GDI+ decodes from a stream over a copy of the bytes, which the stream frees.
std::optional<DibImage> DecodeBytes(const void* bytes, size_t size, std::optional<SkinImageSize> expected) {
  if (size == 0) return std::nullopt;
  UniqueHglobal block(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!block) return std::nullopt;
  void* target = GlobalLock(block.get());
  if (!target) return std::nullopt;
  std::memcpy(target, bytes, size);
  GlobalUnlock(block.get());
  ComPtr<IStream> stream;
  if (CreateStreamOnHGlobal(block.get(), TRUE, stream.put()) != S_OK) return std::nullopt;
  block.release();  // the stream's now
  UniqueGpBitmap bitmap;
  if (GdipCreateBitmapFromStream(stream.get(), bitmap.put()) != Ok) return std::nullopt;
  return ToDib(bitmap.get(), expected);
}

// The whole file, unless it is larger than any skin can be: nothing is read then.
std::optional<std::vector<uint8_t>> ReadSkinFile(const std::u16string& path) {
  UniqueFile file(CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxSkinFileBytes) {
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()) {
    return std::nullopt;
  }
  return bytes;
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
  return DecodeBytes(bytes, size, std::nullopt);
}

std::optional<DibImage> LoadPngFile(const std::u16string& path) {
  const auto bytes = ReadSkinFile(path);
  if (!bytes) return std::nullopt;
  const auto size = CheckPngSkin(*bytes);
  if (!size) return std::nullopt;
  return DecodeBytes(bytes->data(), bytes->size(), size);
}

std::optional<DibImage> LoadBitmapFile(const std::u16string& path) {
  const auto bytes = ReadSkinFile(path);
  if (!bytes) return std::nullopt;
  const auto layout = CheckBitmapSkin(*bytes);
  if (!layout) return std::nullopt;
  auto image = DibImage::Create(layout->size.width, layout->size.height);
  if (!image) return std::nullopt;
  const PixelView pixels(image->pixels(), image->width(), image->height());
  if (!CopyBitmapSkinPixels(*bytes, *layout, pixels)) return std::nullopt;
  PremultiplyAlpha(pixels);
  return image;
}

GdiplusSession::GdiplusSession() {
  GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.SuppressBackgroundThread = TRUE;
  input.SuppressExternalCodecs = FALSE;
  GdiplusStartupOutput output;
  const Status started = GdiplusStartup(&token_, &input, &output);
  // Without GDI+ no skin or PNG can be read: the toolbar then shows an empty frame.
  if (started != Ok) log::Error("GdiplusStartup: status " + std::to_string(static_cast<int>(started)));
  if (started == Ok && output.NotificationHook) {
    output.NotificationHook(&hookToken_);
    unhook_ = reinterpret_cast<void*>(output.NotificationUnhook);
  }
}

GdiplusSession::~GdiplusSession() {
  if (unhook_) reinterpret_cast<NotificationUnhookProc>(unhook_)(hookToken_);
  if (token_) GdiplusShutdown(token_);
}

}  // namespace ostrel
