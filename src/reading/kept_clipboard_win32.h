#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace ostrel {

// Copies of the formats the user's clipboard held, kept while a capture borrows the clipboard.
class KeptClipboard {
 public:
  // From the clipboard, which the caller has open: the formats FormatsToKeep chooses, in
  // place of anything kept before. A format whose data cannot be had or copied is left out.
  void TakeFromOpenClipboard();
  // Onto the clipboard, which the caller has open and emptied; nothing is kept afterwards.
  // False when a format could not be put back.
  bool PutOnOpenClipboard();
  void Clear() { formats_.clear(); }
  bool empty() const { return formats_.empty(); }

 private:
  struct Format {
    UINT format;
    std::vector<uint8_t> bytes;
  };
  std::vector<Format> formats_;
};

}  // namespace ostrel
