#include "codeconv/xr_to_gb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace ostrel {
namespace {

using Bytes = std::vector<uint8_t>;

// Heap copies of exactly the needed size, so AddressSanitizer sees any read past the terminator
// and any write past twice the source length plus one.
Bytes Convert(const Bytes& text, uint32_t count = UINT32_MAX) {
    const std::size_t length = text.size();
    auto source = std::make_unique<uint8_t[]>(length + 1);
    std::copy(text.begin(), text.end(), source.get());
    source[length] = 0;
    const std::size_t sourceLength = std::strlen(reinterpret_cast<const char*>(source.get()));
    const std::size_t capacity = 2 * sourceLength + 1;
    auto destination = std::make_unique<uint8_t[]>(capacity);
    std::memset(destination.get(), 0xCC, capacity);
    const uint32_t written = ConvertXrToGb(source.get(), destination.get(), count);
    EXPECT_LT(written, capacity);
    if (written >= capacity) return {};
    EXPECT_EQ(destination[written], 0) << "terminator missing";
    return Bytes(destination.get(), destination.get() + written);
}

Bytes Pair(uint16_t code) { return {static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)}; }

uint16_t ConvertPair(uint16_t code) {
    const Bytes result = Convert(Pair(code));
    return result.size() == 2 ? static_cast<uint16_t>(result[0] << 8 | result[1]) : 0;
}

// The code page 932 code under which XR stores GB2312 row and cell.
uint16_t XrCodeOf(uint8_t row, uint8_t cell) {
    unsigned jisRow = row - 0x80u;
    const unsigned jisCell = cell - 0x80u;
    if (jisRow >= 0x74) jisRow += 5;
    const unsigned lead = (jisRow + 1) / 2 + (jisRow <= 0x5E ? 0x70 : 0xB0);
    unsigned trail = jisCell + 0x7E;
    if (jisRow % 2 == 1) trail = jisCell + (jisCell >= 0x60 ? 0x20 : 0x1F);
    return static_cast<uint16_t>(lead << 8 | trail);
}

TEST(XrToGbConvert, AsciiAndUnmappedBytesPassThrough) {
    Bytes text;
    for (unsigned byte = 0x01; byte <= 0x80; ++byte) text.push_back(static_cast<uint8_t>(byte));
    for (uint8_t byte : {0xA0, 0xFD, 0xFE, 0xFF}) text.push_back(byte);
    EXPECT_EQ(Convert(text), text);
}

TEST(XrToGbConvert, KnownCharacters) {
    const struct {
        Bytes in;
        Bytes out;
    } cases[] = {
        {{0x92, 0xE1}, {0xC4, 0xE3}},  // plain rows follow the JIS arithmetic
        {{0x88, 0x9F}, {0xB0, 0xA1}},
        {{0xED, 0x40}, {0xF4, 0xA1}},  // five rows lower
        {{0xFA, 0x5C}, {0xF4, 0xA1}},  // folded onto ED40 first
        {{0xFA, 0x40}, {0xF7, 0xF1}},
        {{0xFC, 0x4B}, {0xF7, 0xEE}},
        {{0xF2, 0x82}, {0xE9, 0x46}},
        {{0xEE, 0xED}, {0xA1, 0xA1}},
        {{0xEE, 0xEE}, {0xA1, 0xA1}},
        {{0xEE, 0xF9}, {0xA1, 0xFE}},
        {{0xFA, 0x54}, {0xA1, 0xFE}},  // folds onto EEF9
        {{0x81, 0xA5}, {0xA1, 0xA1}},  // a space, not a triangle
        {{0xA1, 0xA2, 0xA3, 0xA4, 0xA5}, {0xA1, 0xA3, 0xA1, 0xB8, 0xA1, 0xB9, 0xA1, 0xA2, 0xA1, 0xA4}},
        {{0xA6, 0xBE, 0xBF, 0xD7, 0xD8}, {0xA8, 0xA1, 0xA8, 0xB9, 0xA8, 0xA1, 0xA8, 0xB9, 0xA8, 0xBA}},
        {{0xD9, 0xDA, 0xDB, 0xDC, 0xDD}, {'m', 'm', 'n', 'n', 'n'}},
        {{0xDE, 0xDF}, {0xA1, 0xE5, 0xA1, 0xE3}},
        {{'N', 0xAB, 0xC4, 'i'}, {'N', 0xA8, 0xA6, 0xA8, 0xA6, 'i'}},
        {{'a', 0x92, 0xE1, 0xDB, 0x81, 0x40, 'z'}, {'a', 0xC4, 0xE3, 'n', 0xA1, 0xA1, 'z'}},
    };
    for (const auto& c : cases) EXPECT_EQ(Convert(c.in), c.out);
}

TEST(XrToGbConvert, PinyinVowelsOfBothCasesShareCodes) {
    for (unsigned i = 0; i <= 0x18; ++i) {
        const Bytes expected{0xA8, static_cast<uint8_t>(0xA1 + i)};
        EXPECT_EQ(Convert({static_cast<uint8_t>(0xA6 + i)}), expected) << i;
        EXPECT_EQ(Convert({static_cast<uint8_t>(0xBF + i)}), expected) << i;
    }
}

// Symbol rows written as runs: "X-Y>P-Q" counts from P to Q, "X-Y>P" and "X>P" fill.
struct SymbolRowText {
    uint8_t row;
    const char* runs;
};

const SymbolRowText kSymbolRows[] = {
    {0xA1, "A1>A1A1 A2-A3>A1A2-A1A3 A4>A3AC A5>A3AE A6>A1A4 A7>A1C3 A8>A3BB A9>A3BF AA>A3A1 "
           "AB-AD>A1FE AE>A3E0 AF>A1FE B0>A3DE B1>A3FE B2>A3DF B3-B6>A1FE B7>A1A8 B8>D9DA "
           "B9>A1A9 BA>A1FE BB>A1F0 BC-BD>A1AA BE>A1A5 BF>A3AF C0>A3DC C1-C2>A1AB-A1AC C3>A3FC "
           "C4>A1AD C5>A1A7 C6-C9>A1AE-A1B1 CA-CB>A3A8-A3A9 CC-CD>A1B2-A1B3 CE>A3DB CF>A3DD "
           "D0>A3FB D1>A3FD D2-D9>A1B4-A1BB DA-DB>A1BE-A1BF DC>A3AB DD>A3AD DE-E0>A1C0-A1C2 "
           "E1>A3BD E2>A1D9 E3>A3BC E4>A3BE E5-E7>A1DC-A1DE E8-EE>A1E0-A1E6 EF>A3A4 F0>A1E7 "
           "F1-F2>A1E9-A1EA F3>A3A5 F4>A3A3 F5>A3A6 F6>A3AA F7>A3C0 F8>A1EC F9-FE>A1EE-A1F3"},
    {0xA2, "A1-A5>A1F4-A1F8 A6>A1FE A7>A1A1 A8>A1F9 A9>A1FE AA-AE>A1FA-A1FE AF-B9>A1A1 BA>A1CA "
           "BB-BF>A1FE C0-C1>A1C8-A1C9 C2-C9>A1A1 CA-CB>A1C4-A1C5 CC-D0>A1FE D1-DB>A1A1 DC>A1CF "
           "DD>A1CD DE>A1D0 DF-E0>A1FE E1>A1D4 E2>A1FE E3-E4>A1B6-A1B7 E5>A1CC E6-E7>A1D7-A1D8 "
           "E8>A1DF E9>A1D2 EA>A1FE EB-F1>A1A1 F2>A1FE F3>A1EB F4>A3A3 F5-F9>A1FE FA-FD>A1A1 "
           "FE>A1F0"},
    {0xA3, "A1-AF>A1A1 B0-B9>A3B0-A3B9 BA-C0>A1A1 C1-DA>A3C1-A3DA DB-E0>A1A1 E1-FA>A3E1-A3FA "
           "FB-FE>A1A1"},
    {0xA8, "A1>A9A4 A2>A9A6 A3>A9B0 A4>A9B4 A5>A9BC A6>A9B8 A7>A9C0 A8>A9D0 A9>A9C8 AA>A9D8 "
           "AB>A9E0 AC>A9A5 AD>A9A7 AE>A9B3 AF>A9B7 B0>A9BF B1>A9BB B2>A9C7 B3>A9D7 B4>A9CF "
           "B5>A9DF B6>A9EF B7>A9C4 B8>A9D3 B9>A9CC BA>A9DB BB>A9E3 BC>A9C1 BD>A9D4 BE>A9C9 "
           "BF>A9DC C0>A9E6 C1-FE>A1A1"},
    {0xAD, "A1-AA>A2D9-A2E2 AB-B4>CFD4-CFDD B5-BE>A2F1-A2FA BF>A1A1 C0-CF>CFDE-CFED D0-D6>A1FE "
           "D7-DE>A1A1 DF-E9>CFEE-CFF8 EA>A1FE EB-EF>CFF9-CFFD F0>A1FE F1>A1D4 F2>A1D2 F3>CFFE "
           "F4>F7EF F5-F6>A1CC-A1CD F7>A1CF F8>F7F0 F9>F7FB FA>A1DF FB>A1C9 FC>A1C8 FD-FE>A1A1"},
};

// Expands the runs into the 94 cells A1..FE; a malformed or incomplete text fails the test.
std::vector<uint16_t> ExpandRow(const char* runs) {
    std::vector<uint16_t> cells;
    std::istringstream words(runs);
    std::string word;
    while (words >> word) {
        const auto arrow = word.find('>');
        const std::string left = word.substr(0, arrow);
        const std::string right = word.substr(arrow + 1);
        const unsigned first = std::stoul(left.substr(0, 2), nullptr, 16);
        const unsigned last = std::stoul(left.substr(left.size() - 2), nullptr, 16);
        const unsigned code = std::stoul(right.substr(0, 4), nullptr, 16);
        const bool counting = right.size() > 4;
        EXPECT_EQ(first, 0xA1 + cells.size()) << word;
        if (counting) {
            EXPECT_EQ(std::stoul(right.substr(5), nullptr, 16), code + last - first) << word;
        }
        for (unsigned cell = first; cell <= last; ++cell) {
            cells.push_back(static_cast<uint16_t>(counting ? code + cell - first : code));
        }
    }
    EXPECT_EQ(cells.size(), 94u);
    return cells;
}

TEST(XrToGbSymbolRows, EveryCellMatchesItsRun) {
    for (const SymbolRowText& row : kSymbolRows) {
        const std::vector<uint16_t> expected = ExpandRow(row.runs);
        for (unsigned i = 0; i < expected.size(); ++i) {
            const uint8_t cell = static_cast<uint8_t>(0xA1 + i);
            EXPECT_EQ(ConvertPair(XrCodeOf(row.row, cell)), expected[i])
                << std::hex << "row " << +row.row << " cell " << +cell;
        }
    }
}

// Cells a malformed trail byte reaches lie outside the rows; they must not index past them.
TEST(XrToGbSymbolRows, CellsOutsideTheRowGiveASpace) {
    EXPECT_EQ(ConvertPair(0x813F), 0xA1A1);  // row A1, cell A0
    EXPECT_EQ(ConvertPair(0x81FD), 0xA1A1);  // row A2, cell FF
    EXPECT_EQ(ConvertPair(0x81FE), 0xA1A1);  // row A2, cell 80
}

TEST(XrToGbPlainRows, EveryCellComesBackAsItsGbCode) {
    for (unsigned row = 0xA4; row <= 0xF7; ++row) {
        if (row == 0xA8 || row == 0xAD) continue;
        for (unsigned cell = 0xA1; cell <= 0xFE; ++cell) {
            const uint16_t gb = static_cast<uint16_t>(row << 8 | cell);
            if (gb == 0xF7EF || gb == 0xF7F0 || gb == 0xF7FB) continue;  // XR keeps these in row AD
            EXPECT_EQ(ConvertPair(XrCodeOf(static_cast<uint8_t>(row), static_cast<uint8_t>(cell))), gb)
                << std::hex << gb;
        }
    }
}

TEST(XrToGbPlainRows, UserDefinedRowsAreEmptyButOne) {
    for (unsigned lead = 0xF0; lead <= 0xF9; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
            EXPECT_EQ(ConvertPair(code), code == 0xF282 ? 0xE946 : 0xA1A1) << std::hex << code;
        }
    }
}

TEST(XrToGbPlainRows, EveryPairGivesTwoNonZeroBytes) {
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsXrLeadByte(static_cast<uint8_t>(lead))) continue;
        for (unsigned trail = 0x01; trail <= 0xFF; ++trail) {
            const Bytes result = Convert({static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)});
            ASSERT_EQ(result.size(), 2u) << std::hex << lead << ' ' << trail;
            EXPECT_NE(result[0], 0);
            EXPECT_NE(result[1], 0);
        }
    }
}

TEST(XrToGbFold, RowsMapOntoTheirRuns) {
    const struct {
        uint16_t first, last;
        uint8_t lead, trail;
    } rows[] = {
        {0xFA40, 0xFA49, 0xEE, 0xEF}, {0xFA4A, 0xFA53, 0x87, 0x54}, {0xFA54, 0xFA57, 0xEE, 0xF9},
        {0xFA58, 0xFA58, 0x87, 0x8A}, {0xFA59, 0xFA59, 0x87, 0x82}, {0xFA5A, 0xFA5A, 0x87, 0x84},
        {0xFA5B, 0xFA5B, 0x87, 0x9A}, {0xFA5C, 0xFA7E, 0xED, 0x40}, {0xFA80, 0xFA9B, 0xED, 0x63},
        {0xFA9C, 0xFAFC, 0xED, 0x80}, {0xFB40, 0xFB5B, 0xED, 0xE1}, {0xFB5C, 0xFB7E, 0xEE, 0x40},
        {0xFB80, 0xFB9B, 0xEE, 0x63}, {0xFB9C, 0xFBFC, 0xEE, 0x80}, {0xFC40, 0xFC4B, 0xEE, 0xE1},
    };
    for (const auto& row : rows) {
        for (unsigned code : {row.first, static_cast<uint16_t>((row.first + row.last) / 2), row.last}) {
            const uint16_t folded = static_cast<uint16_t>(row.lead << 8 | (row.trail + code - row.first));
            EXPECT_EQ(FoldIbmExtension(static_cast<uint16_t>(code)), folded) << std::hex << code;
            EXPECT_EQ(ConvertPair(static_cast<uint16_t>(code)), ConvertPair(folded)) << std::hex << code;
        }
    }
}

TEST(XrToGbFold, GapsBecomeTheSpace) {
    for (uint16_t code : {0xF040, 0xFA3F, 0xFA7F, 0xFAFD, 0xFB3F, 0xFB7F, 0xFBFD, 0xFC3F, 0xFC4C, 0xFCFC, 0xFFFF}) {
        EXPECT_EQ(FoldIbmExtension(code), 0x8140) << std::hex << code;
    }
    EXPECT_EQ(ConvertPair(0xFC4C), 0xA1A1);
}

TEST(XrToGbCount, LimitsConsumption) {
    uint8_t destination[4] = {0xCC, 0xCC, 0xCC, 0xCC};
    const uint8_t text[] = {'A', 'B', 0};
    EXPECT_EQ(ConvertXrToGb(text, destination, 0), 0u);
    EXPECT_EQ(destination[0], 0);

    EXPECT_EQ(Convert({'A', 'B'}, 1), (Bytes{'A'}));
    EXPECT_EQ(Convert({0xA1, 'B'}, 1), (Bytes{0xA1, 0xA3}));
    // A double-byte character starting before the count is taken whole.
    EXPECT_EQ(Convert({0x41, 0x92, 0xE1, 0xA6}, 2), (Bytes{0x41, 0xC4, 0xE3}));
    EXPECT_EQ(Convert({0x92, 0xE1, 0xA6}, 1), (Bytes{0xC4, 0xE3}));
}

TEST(XrToGbCount, ZeroByteEndsTheText) {
    EXPECT_EQ(Convert({'A', 0, 'B'}, 3), (Bytes{'A'}));
    EXPECT_EQ(Convert({}, 10), Bytes{});
}

// A lead byte with nothing after it: the conversion ends without reading past the text.
TEST(XrToGbLoneLead, EndsTheConversion) {
    EXPECT_EQ(Convert({0x92}), Bytes{});
    EXPECT_EQ(Convert({0xFC}), Bytes{});
    EXPECT_EQ(Convert({'A', 0x92}), (Bytes{'A'}));
    EXPECT_EQ(Convert({'A', 0x92}, 2), (Bytes{'A'}));          // last byte within count
    EXPECT_EQ(Convert({'A', 0xE0}, 5), (Bytes{'A'}));          // count beyond the text
    EXPECT_EQ(Convert({'A', 0x92, 0, 0x40}, 4), (Bytes{'A'}));  // never pairs across the terminator
}

TEST(XrToGbLoneLead, BoundedSource) {
    auto source = std::make_unique<uint8_t[]>(2);
    source[0] = 'A';
    source[1] = 0x92;
    uint8_t destination[8];
    EXPECT_EQ(ConvertXrToGb(std::span<const uint8_t>(source.get(), 2), destination, 10), 1u);
    EXPECT_EQ(destination[0], 'A');
    EXPECT_EQ(destination[1], 0);

    const uint8_t zeroInside[] = {0x92, 0, 0x40};
    EXPECT_EQ(ConvertXrToGb(std::span(zeroInside), std::span(destination), 3), 0u);
    EXPECT_EQ(destination[0], 0);
}

TEST(XrToGbBounded, CutsAtACharacterBoundary) {
    const uint8_t source[] = {'A', 0xA1, 0x92, 0xE1};
    uint8_t destination[4] = {0xCC, 0xCC, 0xCC, 0xCC};
    EXPECT_EQ(ConvertXrToGb(source, std::span<uint8_t>(destination, 3), 10), 1u);
    EXPECT_EQ(destination[1], 0);
    EXPECT_EQ(ConvertXrToGb(source, std::span<uint8_t>(destination, 4), 10), 3u);
    EXPECT_EQ(destination[3], 0);
    EXPECT_EQ(ConvertXrToGb(source, std::span<uint8_t>(), 10), 0u);
}

TEST(XrToGbBounded, NullPointersWriteNothingHarmful) {
    uint8_t destination[1] = {0xCC};
    EXPECT_EQ(ConvertXrToGb(nullptr, destination, 10), 0u);
    EXPECT_EQ(destination[0], 0);
    const uint8_t source[] = {'A', 0};
    EXPECT_EQ(ConvertXrToGb(source, nullptr, 10), 0u);
}

// Random text mixing every kind of byte never outgrows twice what the count lets in.
TEST(XrToGbBounded, ResultFitsTwiceTheConsumedBytes) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<unsigned> byteOf(0, 255);
    for (int round = 0; round < 2000; ++round) {
        Bytes text(random() % 24);
        for (uint8_t& byte : text) byte = static_cast<uint8_t>(byteOf(random));
        const uint32_t count = static_cast<uint32_t>(random() % 28);
        const std::size_t length = std::strlen(std::string(text.begin(), text.end()).c_str());
        const Bytes result = Convert(text, count);
        EXPECT_LE(result.size(), 2 * std::min<std::size_t>(count, length));
        EXPECT_EQ(std::find(result.begin(), result.end(), 0), result.end());
    }
}

}  // namespace
}  // namespace ostrel
