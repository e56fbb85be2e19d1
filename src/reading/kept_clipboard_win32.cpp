#include "reading/kept_clipboard_win32.h"

#include <cstring>
#include <new>
#include <optional>

#include "platform/unique_handle_win32.h"
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
    UniqueHglobal block(GlobalAlloc(GMEM_MOVEABLE, format.bytes.size()));
    bool copied = false;
    if (block) {
      const GlobalLockGuard lock(block.get());
      if (lock.get()) std::memcpy(lock.get(), format.bytes.data(), format.bytes.size());
      copied = lock.get() != nullptr;
    }
    // Once set, the block is the clipboard's.
    const bool put = copied && SetClipboardData(format.format, block.get()) != nullptr;
    if (put) block.release();
    all &= put;
  }
  formats_.clear();
  return all;
}

}  // namespace ostrel
