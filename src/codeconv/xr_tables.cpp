#include "codeconv/xr_tables.h"

namespace ostrel {

namespace {

constexpr uint16_t kIdeographicSpace = 0xA1A1;
constexpr uint8_t kFirstCell = 0xA1;
constexpr uint8_t kLastCell = 0xFE;
constexpr std::size_t kCellsPerRow = kLastCell - kFirstCell + 1;

using SymbolRow = std::array<uint16_t, kCellsPerRow>;

// Cells firstCell..lastCell get firstCode, or consecutive codes from firstCode when counting.
struct SymbolRun {
    uint8_t firstCell;
    uint8_t lastCell;
    uint16_t firstCode;
    bool counting;
};

constexpr SymbolRun Cell(uint8_t cell, uint16_t code) { return {cell, cell, code, false}; }
constexpr SymbolRun Fill(uint8_t first, uint8_t last, uint16_t code) { return {first, last, code, false}; }
constexpr SymbolRun Count(uint8_t first, uint8_t last, uint16_t code) { return {first, last, code, true}; }

constexpr SymbolRun kRowA1Runs[] = {
    Cell(0xA1, 0xA1A1), Count(0xA2, 0xA3, 0xA1A2), Cell(0xA4, 0xA3AC), Cell(0xA5, 0xA3AE),
    Cell(0xA6, 0xA1A4), Cell(0xA7, 0xA1C3), Cell(0xA8, 0xA3BB), Cell(0xA9, 0xA3BF),
    Cell(0xAA, 0xA3A1), Fill(0xAB, 0xAD, 0xA1FE), Cell(0xAE, 0xA3E0), Cell(0xAF, 0xA1FE),
    Cell(0xB0, 0xA3DE), Cell(0xB1, 0xA3FE), Cell(0xB2, 0xA3DF), Fill(0xB3, 0xB6, 0xA1FE),
    Cell(0xB7, 0xA1A8), Cell(0xB8, 0xD9DA), Cell(0xB9, 0xA1A9), Cell(0xBA, 0xA1FE),
    Cell(0xBB, 0xA1F0), Fill(0xBC, 0xBD, 0xA1AA), Cell(0xBE, 0xA1A5), Cell(0xBF, 0xA3AF),
    Cell(0xC0, 0xA3DC), Count(0xC1, 0xC2, 0xA1AB), Cell(0xC3, 0xA3FC), Cell(0xC4, 0xA1AD),
    Cell(0xC5, 0xA1A7), Count(0xC6, 0xC9, 0xA1AE), Count(0xCA, 0xCB, 0xA3A8),
    Count(0xCC, 0xCD, 0xA1B2), Cell(0xCE, 0xA3DB), Cell(0xCF, 0xA3DD), Cell(0xD0, 0xA3FB),
    Cell(0xD1, 0xA3FD), Count(0xD2, 0xD9, 0xA1B4), Count(0xDA, 0xDB, 0xA1BE), Cell(0xDC, 0xA3AB),
    Cell(0xDD, 0xA3AD), Count(0xDE, 0xE0, 0xA1C0), Cell(0xE1, 0xA3BD), Cell(0xE2, 0xA1D9),
    Cell(0xE3, 0xA3BC), Cell(0xE4, 0xA3BE), Count(0xE5, 0xE7, 0xA1DC), Count(0xE8, 0xEE, 0xA1E0),
    Cell(0xEF, 0xA3A4), Cell(0xF0, 0xA1E7), Count(0xF1, 0xF2, 0xA1E9), Cell(0xF3, 0xA3A5),
    Cell(0xF4, 0xA3A3), Cell(0xF5, 0xA3A6), Cell(0xF6, 0xA3AA), Cell(0xF7, 0xA3C0),
    Cell(0xF8, 0xA1EC), Count(0xF9, 0xFE, 0xA1EE),
};

// A1A1 marks cells XR leaves empty, A1FE characters GB2312 lacks.
constexpr SymbolRun kRowA2Runs[] = {
    Count(0xA1, 0xA5, 0xA1F4), Cell(0xA6, 0xA1FE), Cell(0xA7, 0xA1A1), Cell(0xA8, 0xA1F9),
    Cell(0xA9, 0xA1FE), Count(0xAA, 0xAE, 0xA1FA), Fill(0xAF, 0xB9, 0xA1A1), Cell(0xBA, 0xA1CA),
    Fill(0xBB, 0xBF, 0xA1FE), Count(0xC0, 0xC1, 0xA1C8), Fill(0xC2, 0xC9, 0xA1A1),
    Count(0xCA, 0xCB, 0xA1C4), Fill(0xCC, 0xD0, 0xA1FE), Fill(0xD1, 0xDB, 0xA1A1),
    Cell(0xDC, 0xA1CF), Cell(0xDD, 0xA1CD), Cell(0xDE, 0xA1D0), Fill(0xDF, 0xE0, 0xA1FE),
    Cell(0xE1, 0xA1D4), Cell(0xE2, 0xA1FE), Count(0xE3, 0xE4, 0xA1B6), Cell(0xE5, 0xA1CC),
    Count(0xE6, 0xE7, 0xA1D7), Cell(0xE8, 0xA1DF), Cell(0xE9, 0xA1D2), Cell(0xEA, 0xA1FE),
    Fill(0xEB, 0xF1, 0xA1A1), Cell(0xF2, 0xA1FE), Cell(0xF3, 0xA1EB), Cell(0xF4, 0xA3A3),
    Fill(0xF5, 0xF9, 0xA1FE), Fill(0xFA, 0xFD, 0xA1A1), Cell(0xFE, 0xA1F0),
};

constexpr SymbolRun kRowA3Runs[] = {
    Fill(0xA1, 0xAF, 0xA1A1), Count(0xB0, 0xB9, 0xA3B0), Fill(0xBA, 0xC0, 0xA1A1),
    Count(0xC1, 0xDA, 0xA3C1), Fill(0xDB, 0xE0, 0xA1A1), Count(0xE1, 0xFA, 0xA3E1),
    Fill(0xFB, 0xFE, 0xA1A1),
};

// Box drawing: the JIS order of the pieces differs from the GB2312 order.
constexpr SymbolRun kRowA8Runs[] = {
    Cell(0xA1, 0xA9A4), Cell(0xA2, 0xA9A6), Cell(0xA3, 0xA9B0), Cell(0xA4, 0xA9B4),
    Cell(0xA5, 0xA9BC), Cell(0xA6, 0xA9B8), Cell(0xA7, 0xA9C0), Cell(0xA8, 0xA9D0),
    Cell(0xA9, 0xA9C8), Cell(0xAA, 0xA9D8), Cell(0xAB, 0xA9E0), Cell(0xAC, 0xA9A5),
    Cell(0xAD, 0xA9A7), Cell(0xAE, 0xA9B3), Cell(0xAF, 0xA9B7), Cell(0xB0, 0xA9BF),
    Cell(0xB1, 0xA9BB), Cell(0xB2, 0xA9C7), Cell(0xB3, 0xA9D7), Cell(0xB4, 0xA9CF),
    Cell(0xB5, 0xA9DF), Cell(0xB6, 0xA9EF), Cell(0xB7, 0xA9C4), Cell(0xB8, 0xA9D3),
    Cell(0xB9, 0xA9CC), Cell(0xBA, 0xA9DB), Cell(0xBB, 0xA9E3), Cell(0xBC, 0xA9C1),
    Cell(0xBD, 0xA9D4), Cell(0xBE, 0xA9C9), Cell(0xBF, 0xA9DC), Cell(0xC0, 0xA9E6),
    Fill(0xC1, 0xFE, 0xA1A1),
};

// XR parks here the GB2312 characters whose own cells code page 932 cannot carry.
constexpr SymbolRun kRowADRuns[] = {
    Count(0xA1, 0xAA, 0xA2D9), Count(0xAB, 0xB4, 0xCFD4), Count(0xB5, 0xBE, 0xA2F1),
    Cell(0xBF, 0xA1A1), Count(0xC0, 0xCF, 0xCFDE), Fill(0xD0, 0xD6, 0xA1FE),
    Fill(0xD7, 0xDE, 0xA1A1), Count(0xDF, 0xE9, 0xCFEE), Cell(0xEA, 0xA1FE),
    Count(0xEB, 0xEF, 0xCFF9), Cell(0xF0, 0xA1FE), Cell(0xF1, 0xA1D4), Cell(0xF2, 0xA1D2),
    Cell(0xF3, 0xCFFE), Cell(0xF4, 0xF7EF), Count(0xF5, 0xF6, 0xA1CC), Cell(0xF7, 0xA1CF),
    Cell(0xF8, 0xF7F0), Cell(0xF9, 0xF7FB), Cell(0xFA, 0xA1DF), Cell(0xFB, 0xA1C9),
    Cell(0xFC, 0xA1C8), Fill(0xFD, 0xFE, 0xA1A1),
};

// The runs must cover A1..FE in order, exactly once, and a counting run must not
// carry its trail byte past FE.
template <std::size_t N>
constexpr bool RunsTileRow(const SymbolRun (&runs)[N]) {
    unsigned next = kFirstCell;
    for (const SymbolRun& run : runs) {
        if (run.firstCell != next || run.lastCell < run.firstCell) return false;
        if (run.counting && (run.firstCode & 0xFF) + (run.lastCell - run.firstCell) > kLastCell) {
            return false;
        }
        next = run.lastCell + 1u;
    }
    return next == kLastCell + 1u;
}

template <std::size_t N>
constexpr SymbolRow ExpandRuns(const SymbolRun (&runs)[N]) {
    SymbolRow row{};
    for (const SymbolRun& run : runs) {
        for (unsigned cell = run.firstCell; cell <= run.lastCell; ++cell) {
            const unsigned step = run.counting ? cell - run.firstCell : 0;
            row[cell - kFirstCell] = static_cast<uint16_t>(run.firstCode + step);
        }
    }
    return row;
}

static_assert(RunsTileRow(kRowA1Runs));
static_assert(RunsTileRow(kRowA2Runs));
static_assert(RunsTileRow(kRowA3Runs));
static_assert(RunsTileRow(kRowA8Runs));
static_assert(RunsTileRow(kRowADRuns));

constexpr SymbolRow kRowA1 = ExpandRuns(kRowA1Runs);
constexpr SymbolRow kRowA2 = ExpandRuns(kRowA2Runs);
constexpr SymbolRow kRowA3 = ExpandRuns(kRowA3Runs);
constexpr SymbolRow kRowA8 = ExpandRuns(kRowA8Runs);
constexpr SymbolRow kRowAD = ExpandRuns(kRowADRuns);

constexpr uint8_t kFirstHalfWidth = 0xA1;
constexpr uint8_t kLastHalfWidth = 0xDF;

// Half-width katakana bytes, which XR uses for punctuation and pinyin letters.
constexpr auto kHalfWidthCodes = [] {
    std::array<uint16_t, kLastHalfWidth - kFirstHalfWidth + 1> codes{};
    auto at = [&codes](unsigned byte) -> uint16_t& { return codes[byte - kFirstHalfWidth]; };
    at(0xA1) = 0xA1A3;  // 。
    at(0xA2) = 0xA1B8;  // 「
    at(0xA3) = 0xA1B9;  // 」
    at(0xA4) = 0xA1A2;  // 、
    at(0xA5) = 0xA1A4;  // ・
    // GB2312 has only lower-case pinyin vowels, so both cases land on the same codes.
    for (unsigned byte = 0xA6; byte <= 0xBE; ++byte) at(byte) = static_cast<uint16_t>(0xA8A1 + (byte - 0xA6));
    for (unsigned byte = 0xBF; byte <= 0xD7; ++byte) at(byte) = static_cast<uint16_t>(0xA8A1 + (byte - 0xBF));
    at(0xD8) = 0xA8BA;  // ê
    // m and n with tone marks have no GB2312 code; the bare letter reads best.
    at(0xD9) = 'm';
    at(0xDA) = 'm';
    at(0xDB) = 'n';
    at(0xDC) = 'n';
    at(0xDD) = 'n';
    at(0xDE) = 0xA1E5;
    at(0xDF) = 0xA1E3;
    return codes;
}();

constexpr bool FoldRowsAscend(const std::array<IbmFoldRow, kIbmFoldRowCount>& rows) {
    unsigned previousLast = 0;
    for (const IbmFoldRow& row : rows) {
        if (row.firstCode <= previousLast || row.lastCode < row.firstCode) return false;
        if (row.firstTrail + (row.lastCode - row.firstCode) > 0xFC) return false;
        previousLast = row.lastCode;
    }
    return true;
}

constexpr std::array<IbmFoldRow, kIbmFoldRowCount> kFoldRows = {{
    {0xFA40, 0xFA49, 0xEE, 0xEF},
    {0xFA4A, 0xFA53, 0x87, 0x54},
    {0xFA54, 0xFA57, 0xEE, 0xF9},
    {0xFA58, 0xFA58, 0x87, 0x8A},
    {0xFA59, 0xFA59, 0x87, 0x82},
    {0xFA5A, 0xFA5A, 0x87, 0x84},
    {0xFA5B, 0xFA5B, 0x87, 0x9A},
    {0xFA5C, 0xFA7E, 0xED, 0x40},
    {0xFA80, 0xFA9B, 0xED, 0x63},
    {0xFA9C, 0xFAFC, 0xED, 0x80},
    {0xFB40, 0xFB5B, 0xED, 0xE1},
    {0xFB5C, 0xFB7E, 0xEE, 0x40},
    {0xFB80, 0xFB9B, 0xEE, 0x63},
    {0xFB9C, 0xFBFC, 0xEE, 0x80},
    {0xFC40, 0xFC4B, 0xEE, 0xE1},
}};

static_assert(FoldRowsAscend(kFoldRows));

}  // namespace

const std::array<IbmFoldRow, kIbmFoldRowCount> kIbmFoldRows = kFoldRows;

std::optional<uint16_t> HalfWidthCode(uint8_t byte) {
    if (byte < kFirstHalfWidth || byte > kLastHalfWidth) return std::nullopt;
    return kHalfWidthCodes[byte - kFirstHalfWidth];
}

std::optional<uint16_t> SymbolRowCode(uint8_t row, uint8_t cell) {
    const SymbolRow* table = nullptr;
    switch (row) {
    case 0xA1: table = &kRowA1; break;
    case 0xA2: table = &kRowA2; break;
    case 0xA3: table = &kRowA3; break;
    case 0xA8: table = &kRowA8; break;
    case 0xAD: table = &kRowAD; break;
    default: return std::nullopt;
    }
    if (cell < kFirstCell || cell > kLastCell) return kIdeographicSpace;
    return (*table)[cell - kFirstCell];
}

}  // namespace ostrel
