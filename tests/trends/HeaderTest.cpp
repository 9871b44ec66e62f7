#include <gtest/gtest.h>

#include <cstring>

#include "Definitions.h"
#include "TrendFixtures.h"
#include "Trends.h"

namespace {

TrendFileHeader withSignature(const char (&eightBytes)[9]) {
    TrendFileHeader header = validHeader(3);
    std::memcpy(header.bytes.data() + 128, eightBytes, 8);
    return header;
}

void putInt16(TrendFileHeader& header, std::size_t offset, std::uint16_t raw) {
    header.bytes[offset] = std::uint8_t(raw & 0xFF);
    header.bytes[offset + 1] = std::uint8_t(raw >> 8);
}

TEST(TrendFileHeader, DecodesLittleEndianSignedFields) {
    TrendFileHeader header;
    putInt16(header, 136, 0x0102);
    putInt16(header, 138, 0xFFFE);
    putInt16(header, 148, 0xFFFF);
    EXPECT_EQ(header.MustBeZero(), 0x0102);
    EXPECT_EQ(header.KindCode(), -2);
    EXPECT_EQ(header.HistoryFileCount(), -1);
}

TEST(TrendFileHeader, SettingTheCountChangesOnlyItsTwoBytes) {
    TrendFileHeader header = patternedHeader();
    const TrendFileHeader before = header;
    header.SetHistoryFileCount(-32768);
    EXPECT_EQ(header.bytes[148], 0x00);
    EXPECT_EQ(header.bytes[149], 0x80);
    for (std::size_t i = 0; i < TrendFileHeader::Size; ++i) {
        if (i == 148 || i == 149) continue;
        EXPECT_EQ(header.bytes[i], before.bytes[i]) << "byte " << i;
    }
    header.SetHistoryFileCount(0x1234);
    EXPECT_EQ(header.bytes[148], 0x34);
    EXPECT_EQ(header.bytes[149], 0x12);
}

TEST(IsValidTrendHeader, Signature) {
    struct Case {
        const char* name;
        const char bytes[9];
        bool valid;
    };
    const Case cases[] = {
        {"two zero bytes", "VELMAR\0\0", true},
        {"zero then any byte", "VELMAR\0Z", true},
        {"two spaces", "VELMAR  ", false},
        {"two more letters", "VELMARXY", false},
        {"mixed case", "Velmar\0\0", false},
        {"lower case", "velmar\0\0", false},
        {"starts with zero", "\0VELMAR\0", false},
        {"short", "VELMA\0\0\0", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidTrendHeader(withSignature(c.bytes)), c.valid) << c.name;
}

TEST(IsValidTrendHeader, MustBeZeroAndKindCode) {
    struct Case {
        std::uint16_t mustBeZero;
        std::uint16_t kindCode;
        bool valid;
    };
    const Case cases[] = {
        {0, 0, true},       {0, 6, true},       {1, 3, false},      {0xFFFF, 3, false},
        {0, 0xFFFF, false}, {0, 7, false},      {0, 0x0100, false}, {0x0100, 0, false},
    };
    for (std::uint16_t kind = 1; kind <= 5; ++kind) {
        TrendFileHeader header = validHeader(1);
        putInt16(header, 138, kind);
        EXPECT_TRUE(IsValidTrendHeader(header)) << "kind " << kind;
    }
    for (const auto& c : cases) {
        TrendFileHeader header = validHeader(1);
        putInt16(header, 136, c.mustBeZero);
        putInt16(header, 138, c.kindCode);
        EXPECT_EQ(IsValidTrendHeader(header), c.valid) << c.mustBeZero << " " << c.kindCode;
    }
}

TEST(IsValidTrendHeader, IgnoresEveryUnexaminedByte) {
    TrendFileHeader header = patternedHeader();
    ASSERT_TRUE(IsValidTrendHeader(header));
    for (std::size_t i = 0; i < TrendFileHeader::Size; ++i) {
        const bool examined = (i >= 128 && i < 135) || (i >= 136 && i < 140);
        if (examined) continue;
        TrendFileHeader changed = header;
        changed.bytes[i] ^= 0xFF;
        EXPECT_TRUE(IsValidTrendHeader(changed)) << "byte " << i;
    }
}

}  // namespace
