#pragma once

// The traditional-to-simplified character pairs, generated from OpenCC's data by
// tools/hanvert_table/make_hanvert_table.py. Both sides are single BMP characters, so a
// replacement never changes the length of the text.

namespace ostrel::hanvert {

struct HanvertPair {
    char16_t traditional;
    char16_t simplified;
};

inline constexpr HanvertPair kHanvertTable[] = {
#include "hanvert_table.inc"
};

}  // namespace ostrel::hanvert
