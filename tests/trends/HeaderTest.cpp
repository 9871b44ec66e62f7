// The header codec and its validity test, against a plain reading of the
// rule straight off the bytes.

#include <gtest/gtest.h>

#include "TrendFixtures.h"

namespace {

bool validByTheBytes(const std::array<std::uint8_t, 176>& b) {
    const bool signature = b[128] == 'V' && b[129] == 'E' && b[130] == 'L' && b[131] == 'M' &&
                           b[132] == 'A' && b[133] == 'R' && b[134] == 0;
    return signature && b[136] == 0 && b[137] == 0 && b[139] == 0 && b[138] <= 6;
}

TEST(TrendFileHeader, DecodesLittleEndianSignedAndSetsOnlyTheCount) {
    TrendFileHeader header = patternedHeader();
    const TrendFileHeader before = header;
    header.bytes[138] = 0xFE;
    header.bytes[139] = 0xFF;
    EXPECT_EQ(header.KindCode(), -2);
    EXPECT_EQ(header.HistoryFileCount(), 0x0102);
    header.SetHistoryFileCount(-32768);
    EXPECT_EQ(header.HistoryFileCount(), -32768);
    header.bytes[138] = before.bytes[138];
    header.bytes[139] = before.bytes[139];
    EXPECT_EQ(withCount(trendFile(before, 0), -32768), trendFile(header, 0));
    EXPECT_EQ(header.HistoryFileCountBytes()[1], 0x80);
}

// From a valid header, every value of every byte the rule looks at, and a
// flip of every byte it must ignore.
TEST(IsValidTrendHeader, EveryValueOfEveryExaminedByte) {
    const TrendFileHeader good = patternedHeader();
    ASSERT_TRUE(IsValidTrendHeader(good));
    for (std::size_t i = 0; i < TrendFileHeader::Size; ++i) {
        for (int value = 0; value < 256; ++value) {
            TrendFileHeader changed = good;
            changed.bytes[i] = std::uint8_t(value);
            ASSERT_EQ(IsValidTrendHeader(changed), validByTheBytes(changed.bytes))
                << "byte " << i << " value " << value;
        }
    }
    // Every 16-bit value of each examined field, both of its bytes at once.
    for (const std::size_t field : {std::size_t(128), std::size_t(130), std::size_t(132),
                                    std::size_t(134), std::size_t(136), std::size_t(138)}) {
        for (int value = 0; value < 0x10000; ++value) {
            TrendFileHeader changed = good;
            changed.bytes[field] = std::uint8_t(value & 0xFF);
            changed.bytes[field + 1] = std::uint8_t(value >> 8);
            ASSERT_EQ(IsValidTrendHeader(changed), validByTheBytes(changed.bytes))
                << "field " << field << " value " << value;
        }
    }
}

}  // namespace
