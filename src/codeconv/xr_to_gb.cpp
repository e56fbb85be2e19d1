#include "codeconv/xr_to_gb.h"

#include <algorithm>
#include <cstddef>

#include "codeconv/xr_tables.h"

namespace ostrel {

namespace {

constexpr uint16_t kFoldMiss = 0x8140;

constexpr uint16_t MakeCode(uint8_t first, uint8_t second) {
    return static_cast<uint16_t>(first << 8 | second);
}

constexpr uint8_t FirstByte(uint16_t code) { return static_cast<uint8_t>(code >> 8); }
constexpr uint8_t SecondByte(uint16_t code) { return static_cast<uint8_t>(code & 0xFF); }

}  // namespace

bool IsXrLeadByte(uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

uint16_t FoldIbmExtension(uint16_t code) {
    for (const IbmFoldRow& row : kIbmFoldRows) {
        if (code < row.firstCode) break;
        if (code <= row.lastCode) {
            return MakeCode(row.lead, static_cast<uint8_t>(row.firstTrail + (code - row.firstCode)));
        }
    }
    return kFoldMiss;
}

uint16_t ConvertXrDoubleByte(uint8_t lead, uint8_t trail) {
    // XR's one character in the user-defined rows F0..F9; the rest of them is empty.
    if (lead == 0xF2 && trail == 0x82) return 0xE946;

    uint8_t h = lead;
    uint8_t l = trail;
    if (h >= 0xF0) {
        const uint16_t folded = FoldIbmExtension(MakeCode(h, l));
        h = FirstByte(folded);
        l = SecondByte(folded);
    }
    // Code page 932 cannot carry these cells through Unicode, so XR keeps their characters in
    // row AD; EEED and EEEE are empty, EEF9 is the twin of 81CA.
    if (h == 0xEE) {
        if (l == 0xED || l == 0xEE) {
            h = 0x81;
            l = 0x40;
        } else if (l == 0xF9) {
            h = 0x81;
            l = 0xCA;
        }
    }

    // Shift_JIS to JIS row and cell. Byte arithmetic wraps on purpose: malformed trail
    // bytes still give two non-zero bytes.
    if (h >= 0xA0) h -= 0x40;
    h -= 0x70;
    if (l >= 0x80) l -= 1;
    h *= 2;
    if (l < 0x9E) {
        h -= 1;
    } else {
        l -= 0x5E;
    }
    l -= 0x1F;
    // GB2312 rows from 0x74 on sit five JIS rows higher, past the rows code page 932 reserves.
    if (h >= 0x79) h -= 5;

    const uint8_t row = h | 0x80;
    const uint8_t cell = l | 0x80;
    if (const auto symbol = SymbolRowCode(row, cell)) return *symbol;
    return MakeCode(row, cell);
}

GbBytes ConvertXrSingleByte(uint8_t byte) {
    const auto code = HalfWidthCode(byte);
    if (!code) return {{byte, 0}, 1};
    if (*code <= 0xFF) return {{SecondByte(*code), 0}, 1};
    return {{FirstByte(*code), SecondByte(*code)}, 2};
}

uint32_t ConvertXrToGb(std::span<const uint8_t> source, std::span<uint8_t> destination, uint32_t count) {
    if (destination.empty()) return 0;
    // One byte stays free for the terminator; the result length must fit the return type.
    const std::size_t capacity = std::min<std::size_t>(destination.size() - 1, UINT32_MAX);
    std::size_t written = 0;
    std::size_t consumed = 0;
    while (consumed < count && consumed < source.size()) {
        const uint8_t byte = source[consumed];
        if (byte == 0) break;
        if (IsXrLeadByte(byte)) {
            // A lead byte at the very end has no trail byte to pair with; reading on would
            // run past the text, so the conversion ends here.
            if (consumed + 1 >= source.size() || source[consumed + 1] == 0) break;
            if (capacity - written < 2) break;
            const uint16_t code = ConvertXrDoubleByte(byte, source[consumed + 1]);
            destination[written++] = FirstByte(code);
            destination[written++] = SecondByte(code);
            consumed += 2;
        } else {
            const GbBytes result = ConvertXrSingleByte(byte);
            if (capacity - written < result.length) break;
            for (uint8_t i = 0; i < result.length; ++i) destination[written++] = result.bytes[i];
            consumed += 1;
        }
    }
    destination[written] = 0;
    return static_cast<uint32_t>(written);
}

uint32_t ConvertXrToGb(const uint8_t* source, uint8_t* destination, uint32_t count) {
    if (destination == nullptr) return 0;
    if (source == nullptr || count == 0) {
        destination[0] = 0;
        return 0;
    }
    // Look no further than the byte after count: a double-byte character starting at count - 1
    // is still taken whole, and the scan never passes the terminator.
    const uint64_t limit = uint64_t{count} + 1;
    std::size_t length = 0;
    while (length < limit && source[length] != 0) ++length;
    // Each byte consumed gives at most two result bytes, so this is what the caller promised.
    return ConvertXrToGb(std::span<const uint8_t>(source, length),
                         std::span<uint8_t>(destination, 2 * length + 1), count);
}

}  // namespace ostrel
