#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ostrel {

// The registry's own type numbers, as the value's data was stored with them.
enum RegistryType : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegDwordBigEndian = 5,
  kRegMultiSz = 7,
  kRegQword = 11,
};

struct RegistryValue {
  uint32_t type = kRegNone;
  std::vector<uint8_t> data;
};

// What a stored value means to a reader that wants a number or a text. Anyone can store
// anything under our names (regedit, scripts, another program's installer): a value that
// is not what we wrote counts as unreadable, so the reader falls back as for a missing one.

// A number only from a DWORD of exactly four bytes, in either byte order the type names.
std::optional<int32_t> NumberOfValue(uint32_t type, std::span<const uint8_t> data);

// A text only from REG_SZ or REG_EXPAND_SZ data: up to its first null character or the end
// of the data, whichever comes first (an odd last byte is no character).
std::optional<std::u16string> TextOfValue(uint32_t type, std::span<const uint8_t> data);

}  // namespace ostrel
