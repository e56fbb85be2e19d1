#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace ostrel {

// Codes are written first byte first: 0xA1A3 is the byte A1 followed by A3.

// One row of the fold that moves the IBM extension (FA40..FC4B) onto the NEC-selected
// codes, whose rows the XR arithmetic can turn back into GB2312 rows.
struct IbmFoldRow {
    uint16_t firstCode;
    uint16_t lastCode;
    uint8_t lead;
    uint8_t firstTrail;
};

inline constexpr std::size_t kIbmFoldRowCount = 15;

// Ascending by code, without overlaps.
extern const std::array<IbmFoldRow, kIbmFoldRowCount> kIbmFoldRows;

// GB code for a half-width XR byte (A1..DF); a code below 0x100 is a single output byte.
// Empty for any other byte, which passes through unchanged.
std::optional<uint16_t> HalfWidthCode(uint8_t byte);

// GB code for a cell of one of the symbol rows A1, A2, A3, A8 and AD, which XR fills
// differently from GB2312. Empty for every other row. Cells outside A1..FE, which only
// malformed trail bytes produce, give the ideographic space.
std::optional<uint16_t> SymbolRowCode(uint8_t row, uint8_t cell);

}  // namespace ostrel
