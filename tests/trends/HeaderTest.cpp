// The header codec and its validity test, against a plain reading of the
// rule straight off the bytes.

#include <gtest/gtest.h>

#include <cstring>

#include "TrendFixtures.h"

namespace {

bool validByTheBytes(const std::array<std::uint8_t, 176>& b) {
    return std::memcmp(b.data() + 128, "VELMAR", 7) == 0 && b[136] == 0 && b[137] == 0 &&
           b[139] == 0 && b[138] <= 6;  // the signature with its NUL, zeros, a kind up to 6
}

// Every value of every byte, then values whose two bytes both differ from the
// good header's around every bound of the 16-bit fields: the zeros, the kind,
// the count.
TEST(IsValidTrendHeader, EveryByteAndTheSixteenBitValuesAroundEachBound) {
    const TrendFileHeader good = patternedHeader();
    auto agrees = [&](std::size_t offset, int value, std::size_t width) {
        TrendFileHeader changed = good;
        for (std::size_t i = 0; i < width; ++i)
            changed.bytes[offset + i] = std::uint8_t((value >> (8 * i)) & 0xFF);
        return IsValidTrendHeader(changed) == validByTheBytes(changed.bytes);
    };
    for (std::size_t offset = 0; offset < TrendFileHeader::Size; ++offset)
        for (int value = 0; value < 256; ++value)
            ASSERT_TRUE(agrees(offset, value, 1)) << "byte " << offset << " value " << value;
    for (const std::size_t offset : {136u, 138u, 148u})
        for (const int value :
             {-0x8000, -0x7FFF, -256, -2, -1, 0, 1, 6, 7, 0xFF, 0x100, 0x106, 0x7FFE, 0x7FFF})
            ASSERT_TRUE(agrees(offset, value, 2)) << "offset " << offset << " value " << value;
}

}  // namespace
