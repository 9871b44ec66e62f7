#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "trends/Definitions.h"
#include "TrendFixtures.h"
#include "trends/Trends.h"

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
        {"two zero bytes", "VELMAR\0\0", true},    {"zero then any byte", "VELMAR\0Z", true},
        {"two spaces", "VELMAR  ", false},         {"two more letters", "VELMARXY", false},
        {"mixed case", "Velmar\0\0", false},       {"lower case", "velmar\0\0", false},
        {"starts with zero", "\0VELMAR\0", false}, {"short", "VELMA\0\0\0", false},
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
        {0, 0, true},       {0, 6, true},  {1, 3, false},      {0xFFFF, 3, false},
        {0, 0xFFFF, false}, {0, 7, false}, {0, 0x0100, false}, {0x0100, 0, false},
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

namespace {

// The rule read straight off the bytes, independently of the header type.
bool validByTheBytes(const std::array<std::uint8_t, 176>& b) {
    const bool signature = b[128] == 'V' && b[129] == 'E' && b[130] == 'L' && b[131] == 'M' &&
                           b[132] == 'A' && b[133] == 'R' && b[134] == 0;
    const bool mustBeZero = b[136] == 0 && b[137] == 0;
    const bool kind = b[139] == 0 && b[138] <= 6;
    return signature && mustBeZero && kind;
}

TEST(IsValidTrendHeader, AgreesWithTheBytesOnAMillionRandomHeaders) {
    std::mt19937_64 random(20261206);
    std::uniform_int_distribution<int> byte(0, 255);
    TrendFileHeader header;
    int valid = 0;
    for (int i = 0; i < 1000000; ++i) {
        for (auto& b : header.bytes) b = std::uint8_t(byte(random));
        // Half of them with a good signature and small fields, so that the
        // later tests are reached as often as the first.
        if (i % 2 == 0) {
            std::memcpy(header.bytes.data() + 128, "VELMAR\0", 7);
            header.bytes[136] = std::uint8_t(byte(random) % 2);
            header.bytes[137] = std::uint8_t(byte(random) % 2 ? 0 : byte(random));
            header.bytes[138] = std::uint8_t(byte(random) % 9);
            header.bytes[139] = std::uint8_t(byte(random) % 2 ? 0 : 0xFF);
        }
        const bool expected = validByTheBytes(header.bytes);
        valid += expected;
        ASSERT_EQ(IsValidTrendHeader(header), expected) << "header " << i;
    }
    EXPECT_GT(valid, 40000);  // both answers well exercised
}

TEST(IsValidTrendHeader, EveryValueOfEveryExaminedByte) {
    const TrendFileHeader good = patternedHeader();
    for (std::size_t i = 128; i < 140; ++i) {
        for (int value = 0; value < 256; ++value) {
            TrendFileHeader changed = good;
            changed.bytes[i] = std::uint8_t(value);
            ASSERT_EQ(IsValidTrendHeader(changed), validByTheBytes(changed.bytes))
                << "byte " << i << " value " << value;
        }
    }
}

TEST(TrendFileHeader, ANewCountChangesOnlyBytes148And149) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> byte(0, 255), count(-32768, 32767);
    for (int i = 0; i < 10000; ++i) {
        TrendFileHeader header;
        for (auto& b : header.bytes) b = std::uint8_t(byte(random));
        const TrendFileHeader before = header;
        const auto newCount = std::int16_t(count(random));
        header.SetHistoryFileCount(newCount);
        ASSERT_EQ(header.HistoryFileCount(), newCount);
        for (std::size_t b = 0; b < TrendFileHeader::Size; ++b) {
            if (b == 148 || b == 149) continue;
            ASSERT_EQ(header.bytes[b], before.bytes[b]) << "byte " << b;
        }
    }
}

}  // namespace
