#include <gtest/gtest.h>

#include "trends/FileTools.h"
#include "trends/Trends.h"

namespace {

using namespace std::string_literals;
using Cases = std::vector<std::pair<std::string, std::string>>;

TEST(FileTools, TextHelpers) {
    const Cases addBackslash = {{"", "\\"},
                                {"c:", "c:\\"},
                                {"c:\\", "c:\\"},
                                {"c:\\velmar\\data", "c:\\velmar\\data\\"},
                                {"c:/data/", "c:/data/\\"}};
    const Cases stripExtension = {
        {"", ""},      {"T1.hst", "T1"}, {"T1", "T1"},           {"a.b.hst", "a.b"},
        {"T1.", "T1"}, {".hst", ""},     {"d.x\\T1", "d.x\\T1"}, {"d.x\\T1.hst", "d.x\\T1"},
        {"a.b/c", "a"}};
    const Cases trimAtNul = {{"", ""},
                             {"VELMAR", "VELMAR"},
                             {"VELMAR\0\0"s, "VELMAR"},
                             {"\0VELMAR"s, ""},
                             {"AB\0C\0"s, "AB"}};
    for (const auto& [argument, result] : addBackslash) EXPECT_EQ(AddBackslash(argument), result);
    for (const auto& [argument, result] : stripExtension)
        EXPECT_EQ(StripExtension(argument), result);
    for (const auto& [argument, result] : trimAtNul) EXPECT_EQ(TrimAtNul(argument), result);
}

}  // namespace
