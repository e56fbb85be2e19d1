#pragma once
#include <cstdint>

namespace ostrel::stored {

// Which stored numbers the settings can use. A number outside them was not written by this
// program (regedit, a script, a damaged hive) and is read as if it were missing: the
// machine-wide value, else the default. The next save writes that sound value back.

// At least one of the four language bits; bits above them name nothing and are ignored.
constexpr bool NamesALanguage(int32_t value) { return (value & 0x0F) != 0; }

// The repeat button is lit or not (any other number would light it without repeating); a
// reading option is on or off.
constexpr bool IsOnOff(int32_t value) { return value == 0 || value == 1; }

// A constant alpha and the ends of its range.
constexpr bool IsOpacity(int32_t value) { return value >= 0 && value <= 255; }

// Window coordinates fit the 16 bits of a window message; beyond that lies no screen, and
// the arithmetic that places the toolbar would overflow.
constexpr bool IsScreenCoordinate(int32_t value) { return value >= -32768 && value <= 32767; }

// GB, BIG5, XR simplified, XR traditional.
constexpr bool IsChineseCode(int32_t value) { return value >= 0 && value <= 3; }

// Volume, speed, pitch and both pauses. Values beyond the engine's reported range stay as
// stored (the voice pages bring them back into range); negative ones and ones above the
// widest range (the pauses' 65535 ms) mean nothing to any voice.
constexpr bool IsVoiceValue(int32_t value) { return value >= 0 && value <= 65535; }

}  // namespace ostrel::stored
