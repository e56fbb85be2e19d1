#pragma once

#include <array>
#include <cstdint>
#include <span>

// XR carries GB2312 text in the byte form of code page 932; these routines turn it back
// into GB2312 (code page 936) bytes for the speech engine.
namespace ostrel {

// The result of one source byte: one or two GB2312 bytes.
struct GbBytes {
    std::array<uint8_t, 2> bytes;
    uint8_t length;
};

// Converts the zero-terminated code page 932 string source, consuming at most count bytes;
// a double-byte character that starts before count is consumed whole. destination receives a
// zero-terminated result and must hold twice the source length plus one byte. A lead byte with
// nothing after it ends the conversion. Returns the result length without the terminator.
uint32_t ConvertXrToGb(const uint8_t* source, uint8_t* destination, uint32_t count);

// The same over bounded buffers: source ends at its first zero byte or at its end, and the
// result is cut at a character boundary when destination is too small. A non-empty
// destination is always terminated.
uint32_t ConvertXrToGb(std::span<const uint8_t> source, std::span<uint8_t> destination, uint32_t count);

// True for the code page 932 lead bytes 81..9F and E0..FC.
bool IsXrLeadByte(uint8_t byte);

// Converts one code page 932 double-byte character; the result is first byte first.
uint16_t ConvertXrDoubleByte(uint8_t lead, uint8_t trail);

// Maps an IBM extension code (FA40..FC4B) onto its NEC-selected twin; every code outside the
// fold's rows becomes 8140, the ideographic space.
uint16_t FoldIbmExtension(uint16_t code);

// Converts one byte that is not a lead byte.
GbBytes ConvertXrSingleByte(uint8_t byte);

}  // namespace ostrel
