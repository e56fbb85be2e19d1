#include "reading/clipboard_keeping.h"

namespace ostrel {

bool IsMemoryFormat(uint32_t format) {
  using namespace clipboard_format;
  switch (format) {
    case 0:
    case kBitmap:
    case kMetafilePicture:
    case kPalette:
    case kEnhancedMetafile:
    case kOwnerDisplay:
    case kDisplayBitmap:
    case kDisplayMetafilePicture:
    case kDisplayEnhancedMetafile:
      return false;
    default:
      return format < kFirstPrivateGdiObject || format > kLastPrivateGdiObject;
  }
}

std::vector<uint32_t> FormatsToKeep(const std::vector<OfferedFormat>& offered, size_t limit) {
  std::vector<uint32_t> kept;
  size_t left = limit;
  for (const OfferedFormat& format : offered) {
    if (!IsMemoryFormat(format.format) || !format.size || *format.size > left) continue;
    kept.push_back(format.format);
    left -= *format.size;
  }
  return kept;
}

ClipboardKeeping::AtCapture ClipboardKeeping::BeforeClearing(bool keepOption, uint32_t sequenceNow) {
  if (sequence_ && *sequence_ == sequenceNow) return AtCapture::kKeepEarlier;
  sequence_.reset();
  return keepOption ? AtCapture::kKeepNow : AtCapture::kKeepNothing;
}

bool ClipboardKeeping::PutBack(uint32_t sequenceNow) {
  const bool unchanged = sequence_ && *sequence_ == sequenceNow;
  sequence_.reset();
  return unchanged;
}

}  // namespace ostrel
