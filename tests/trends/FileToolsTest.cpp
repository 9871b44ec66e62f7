#include <gtest/gtest.h>

#include "trends/FileTools.h"
#include "trends/Trends.h"

namespace {

struct TextCase {
    std::string argument;
    std::string expected;
};

using namespace std::string_literals;

TEST(FileTools, AddBackslash) {
    const TextCase cases[] = {
        {"", "\\"},
        {"c:", "c:\\"},
        {"c:\\", "c:\\"},
        {"c:\\velmar\\data", "c:\\velmar\\data\\"},
        {"c:/data/", "c:/data/\\"},
        {"d\xc3\xa9j\xc3\xa0", "d\xc3\xa9j\xc3\xa0\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(AddBackslash(c.argument), c.expected) << c.argument;
}

TEST(FileTools, StripExtension) {
    const TextCase cases[] = {
        {"", ""},
        {"T1.hst", "T1"},
        {"T1", "T1"},
        {"a.b.hst", "a.b"},
        {"T1.", "T1"},
        {".hst", ""},
        {"d.x\\T1", "d.x\\T1"},
        {"d.x\\T1.hst", "d.x\\T1"},
        {"a.b/c", "a"},
        {"TREND01.HST", "TREND01"},
        {"\xc3\xa9t\xc3\xa9.hst", "\xc3\xa9t\xc3\xa9"},
    };
    for (const auto& c : cases) EXPECT_EQ(StripExtension(c.argument), c.expected) << c.argument;
}

TEST(FileTools, TrimAtNul) {
    const TextCase cases[] = {
        {"", ""},          {"VELMAR", "VELMAR"}, {"VELMAR\0\0"s, "VELMAR"},
        {"\0VELMAR"s, ""}, {"AB\0C\0"s, "AB"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimAtNul(c.argument), c.expected);
}

}  // namespace
