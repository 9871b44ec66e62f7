#include <gtest/gtest.h>

#include "trends/FileTools.h"

namespace {

TEST(FileTools, StripExtensionTakesTheLastExtensionOfTheName) {
    const std::pair<std::string, std::string> cases[] = {
        {"T1.hst", "T1"}, {"T1", "T1"}, {"a.b.hst", "a.b"}, {".hst", ""}, {"d.x\\T1", "d.x\\T1"}};
    for (const auto& [name, stripped] : cases) EXPECT_EQ(StripExtension(name), stripped);
}

}  // namespace
