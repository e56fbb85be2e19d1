// The conversion table of the Hanvert.dll stand-in and the search over it.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "../../standins/hanvert/simplified_of.h"

namespace ostrel::hanvert {
namespace {

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

TEST(HanvertTable, IsSortedWithoutIdentityOrUnusablePairs) {
    ASSERT_GT(std::size(kHanvertTable), 2000u);
    EXPECT_TRUE(std::is_sorted(std::begin(kHanvertTable), std::end(kHanvertTable),
                               [](const HanvertPair& left, const HanvertPair& right) {
                                   return left.traditional < right.traditional;
                               }));
    for (const HanvertPair& pair : kHanvertTable) {
        SCOPED_TRACE(testing::Message() << std::hex << "U+" << int{pair.traditional});
        EXPECT_NE(pair.traditional, pair.simplified);
        EXPECT_NE(pair.traditional, u'\0');
        EXPECT_NE(pair.simplified, u'\0');
        EXPECT_FALSE(IsSurrogate(pair.traditional));
        EXPECT_FALSE(IsSurrogate(pair.simplified));
    }
}

TEST(HanvertTable, EveryEntryIsFoundAndEverythingElseIsKept) {
    // Walks the whole BMP so the search is checked at both ends of the table and in
    // every gap between its keys.
    const HanvertPair* next = std::begin(kHanvertTable);
    for (char32_t code = 0; code <= 0xFFFF; ++code) {
        const auto unit = static_cast<char16_t>(code);
        if (next != std::end(kHanvertTable) && next->traditional == unit) {
            ASSERT_EQ(SimplifiedOf(unit), next->simplified) << std::hex << int{unit};
            ++next;
        } else {
            ASSERT_EQ(SimplifiedOf(unit), unit) << std::hex << int{unit};
        }
    }
}

TEST(HanvertTable, PrefersTheDictionarysFirstCandidate) {
    EXPECT_EQ(SimplifiedOf(u'乾'), u'干');
    EXPECT_EQ(SimplifiedOf(u'餘'), u'余');
    // First candidate is the character itself: left as it is.
    EXPECT_EQ(SimplifiedOf(u'覆'), u'覆');
    // Simplified forms outside the BMP, or outside code page 936, are not used.
    EXPECT_EQ(SimplifiedOf(u'䂎'), u'䂎');
    EXPECT_EQ(SimplifiedOf(u'紬'), u'紬');
}

}  // namespace
}  // namespace ostrel::hanvert
