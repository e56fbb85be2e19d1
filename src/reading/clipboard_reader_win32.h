#pragma once
#include <windows.h>

#include "reading/reading_host.h"

namespace ostrel {

// The clipboard for the toolbar window's timer tick.
class Win32ClipboardReader final : public ClipboardReader {
 public:
  explicit Win32ClipboardReader(HWND toolbar) : toolbar_(toolbar) {}

  bool HasUnicodeText() override;
  bool Open() override;
  std::optional<std::u16string> UnicodeText() override;
  void Empty() override;
  void Close() override;

 private:
  HWND toolbar_;
};

// The UTF-16 text in a global memory block, up to its terminating zero but never past
// the block's end; nothing when the block cannot be locked.
std::optional<std::u16string> TextOfGlobalBlock(HGLOBAL block);

}  // namespace ostrel
