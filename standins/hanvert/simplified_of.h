#pragma once

#include <algorithm>
#include <iterator>

#include "hanvert_table.h"

namespace ostrel::hanvert {

// The binary search below needs strictly ascending keys; a hand-edited table fails here.
static_assert(std::adjacent_find(std::begin(kHanvertTable), std::end(kHanvertTable),
                                 [](const HanvertPair& left, const HanvertPair& right) {
                                     return left.traditional >= right.traditional;
                                 }) == std::end(kHanvertTable),
              "kHanvertTable must be sorted by traditional character without repeats");

// The simplified form of one UTF-16 code unit, or the unit itself. Surrogates are never
// in the table, so both halves of a supplementary character come back unchanged.
constexpr char16_t SimplifiedOf(char16_t unit) noexcept {
    const auto* end = std::end(kHanvertTable);
    const auto* found = std::lower_bound(
        std::begin(kHanvertTable), end, unit,
        [](const HanvertPair& pair, char16_t key) { return pair.traditional < key; });
    return found != end && found->traditional == unit ? found->simplified : unit;
}

}  // namespace ostrel::hanvert
