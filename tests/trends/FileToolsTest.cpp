#include <gtest/gtest.h>

#include "trends/FileTools.h"
#include "trends/Trends.h"

namespace {

using namespace std::string_literals;

TEST(FileTools, TextHelpers) {
    const std::pair<std::string, std::string> stripExtension[] = {
        {"T1.hst", "T1"}, {"T1", "T1"},           {"a.b.hst", "a.b"},         {"T1.", "T1"},
        {".hst", ""},     {"d.x\\T1", "d.x\\T1"}, {"d.x\\T1.hst", "d.x\\T1"}, {"a.b/c", "a"}};
    const std::pair<std::string, std::string> trimAtNul[] = {
        {"VELMAR", "VELMAR"}, {"VELMAR\0\0"s, "VELMAR"}, {"\0VELMAR"s, ""}, {"AB\0C\0"s, "AB"}};
    for (const auto& [argument, result] : stripExtension)
        EXPECT_EQ(StripExtension(argument), result);
    for (const auto& [argument, result] : trimAtNul) EXPECT_EQ(TrimAtNul(argument), result);
}

}  // namespace
