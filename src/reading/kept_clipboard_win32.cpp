#include "reading/kept_clipboard_win32.h"

#include <cstring>
#include <new>
#include <optional>

#include "reading/clipboard_keeping.h"
#include "reading/global_lock_guard_win32.h"

namespace ostrel {
namespace {

std::optional<size_t> DataSize(UINT format) {
  if (!IsMemoryFormat(format)) return std::nullopt;
  // Asks a delayed-rendering owner to render: what is kept must be there when it goes back.
  HANDLE data = GetClipboardData(format);
  if (!data) return std::nullopt;
  const SIZE_T size = GlobalSize(data);
  if (size == 0) return std::nullopt;
  return size;
}

}  // namespace

void KeptClipboard::TakeFromOpenClipboard() {
  formats_.clear();
  try {
    std::vector<OfferedFormat> offered;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
      offered.push_back({format, DataSize(format)});
    }
    for (const uint32_t format : FormatsToKeep(offered)) {
      HANDLE data = GetClipboardData(format);
      GlobalLockGuard lock(data);
      if (!lock.get()) continue;
      const auto* begin = static_cast<const uint8_t*>(lock.get());
      formats_.push_back({format, std::vector<uint8_t>(begin, begin + GlobalSize(data))});
    }
  } catch (const std::bad_alloc&) {
    // Too much for this process's memory after all: what was copied so far is kept.
  }
}

bool KeptClipboard::PutOnOpenClipboard() {
  bool all = true;
  for (const Format& format : formats_) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, format.bytes.size());
    bool put = false;
    if (block) {
      if (void* target = GlobalLock(block)) {
        std::memcpy(target, format.bytes.data(), format.bytes.size());
        GlobalUnlock(block);
        put = SetClipboardData(format.format, block) != nullptr;
      }
      // Once set, the block is the clipboard's.
      if (!put) GlobalFree(block);
    }
    all &= put;
  }
  formats_.clear();
  return all;
}

}  // namespace ostrel
