#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace ostrel {

// At most this much of the user's clipboard is kept across a capture, all formats together.
// A format larger than what is left is left out; smaller ones after it may still fit.
inline constexpr size_t kKeptClipboardLimit = size_t{64} << 20;

// Clipboard format numbers as the system defines them.
namespace clipboard_format {
inline constexpr uint32_t kBitmap = 2;
inline constexpr uint32_t kMetafilePicture = 3;
inline constexpr uint32_t kDib = 8;
inline constexpr uint32_t kPalette = 9;
inline constexpr uint32_t kUnicodeText = 13;
inline constexpr uint32_t kEnhancedMetafile = 14;
inline constexpr uint32_t kOwnerDisplay = 0x80;
inline constexpr uint32_t kDisplayBitmap = 0x82;
inline constexpr uint32_t kDisplayMetafilePicture = 0x83;
inline constexpr uint32_t kDisplayEnhancedMetafile = 0x8E;
inline constexpr uint32_t kFirstPrivateGdiObject = 0x300;
inline constexpr uint32_t kLastPrivateGdiObject = 0x3FF;
}  // namespace clipboard_format

// Whether a format's data is a block of global memory that can be copied as bytes. Bitmaps,
// palettes, metafiles, the owner's own drawing and private GDI objects are handles of other
// kinds; a bitmap is kept all the same through the DIB the system offers beside it.
bool IsMemoryFormat(uint32_t format);

// A format the clipboard offers, with the size of its data; no size when the data cannot be
// had as global memory.
struct OfferedFormat {
  uint32_t format = 0;
  std::optional<size_t> size;
};

// The formats to keep, in the clipboard's order: those that are memory and fit in what is
// left of the limit.
std::vector<uint32_t> FormatsToKeep(const std::vector<OfferedFormat>& offered, size_t limit = kKeptClipboardLimit);

// What a capture knows of the clipboard it keeps for the user; the platform holds the bytes.
// The clipboard's sequence number, recorded after each change of our own, tells whether
// anyone else has changed the clipboard since.
class ClipboardKeeping {
 public:
  enum class AtCapture {
    kKeepNow,      // keep what the clipboard holds now
    kKeepEarlier,  // an earlier capture's clipboard is still to go back: keep that one
    kKeepNothing,
  };

  // A capture is about to empty the clipboard. An earlier capture's clipboard that has not
  // gone back stays the one to keep while the clipboard is as we left it (that capture's
  // application never copied): what it holds now is only our own emptying. Anything else
  // kept is given up.
  AtCapture BeforeClearing(bool keepOption, uint32_t sequenceNow);

  // After an emptying of our own, while something is kept: the sequence number it left.
  void AfterOwnChange(uint32_t sequenceAfter) { sequence_ = sequenceAfter; }

  // Whether the kept clipboard goes back now: only while nobody else has changed the
  // clipboard since our own last change. Nothing is kept afterwards either way.
  bool PutBack(uint32_t sequenceNow);

  void Forget() { sequence_.reset(); }
  bool Pending() const { return sequence_.has_value(); }

 private:
  std::optional<uint32_t> sequence_;
};

}  // namespace ostrel
