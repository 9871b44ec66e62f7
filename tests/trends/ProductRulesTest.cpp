// The product's rules, which every front end follows: the typed number, the
// names listed, in the one order of every list, a name as shown, and a name
// without its extension.

#include <gtest/gtest.h>

#include "platform/Places.h"
#include "trends/FileTools.h"
#include "trends/ProductRules.h"

namespace {

TEST(convertToInt16, TypedNumbers) {
    // clang-format off
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"", {}},          {"  ", {}},       {"abc", {}},        {"-3", -3},         {"0.4", 0},
        {"32768", {}},     {"32767", 32767}, {"-32768", -32768}, {"2.5", 2},         {"3.5", 4},
        {"2.51", 3},       {"0.5", 0},       {" \t12\t ", 12},   {"+7", 7},          {".6", 1},
        {"5.", 5},         {".", {}},        {"-", {}},          {"1,000", {}},      {"1e3", {}},
        {"0x10", {}},      {"1 2", {}},      {"32767.5", {}},    {"\xef\xbc\x91", {}},
        {"00000000012", 12}, {"123456789012345678901234567890", {}}};
    // clang-format on
    for (const auto& [text, value] : cases) {
        const auto result = convertToInt16(text);
        EXPECT_EQ(result ? std::optional<int>(*result) : std::nullopt, value) << text;
    }
}

TEST(listedFiles, OneOrderForEveryList) {
    // clang-format off
    const std::vector<std::string> ordered = {
        ".hst", "10.hst", "9.hst", "_under.hst", "A.hst", "a.hst", "a.hst.hst", "b.hst",
        "d\xef\xbf\xbd.hst", "d\xff.hst", "e.HST", "z.Hst", "~t.hst", "ß.hst", "ẞ.hst", "Ärger.hst",
        "ärger.hst", "ǎa.hst", "Ǎb.hst", "əa.hst", "Əb.hst", "άa.hst", "Άb.hst", "ґa.hst", "Ґb.hst",
        "ạa.hst", "Ạb.hst" /* letters of every script folded */, "\x80.hst",
        "\xf8\x90\x80\x80.hst" /* no UTF-8: by their bytes, after every character */};
    // clang-format on
    std::vector<std::string> names(ordered.rbegin(), ordered.rend());
    names.insert(names.begin() + 3, {"a.hst.bak", "a.hs", "ahst"});  // not listed
    EXPECT_EQ(listedFiles(names, "*.hst"), ordered);
}

// Every name shows so that no other looks the same: invisible characters,
// undecodable bytes, controls and a literal "\" escaped; the rest as it is.
TEST(shownName, NoNameLooksLikeAnother) {
    const std::string own = platform::Separator == '/' ? "\\\\" : "\\";  // a name's own "\"
    const std::pair<std::string, std::string> cases[] = {
        {"c\u034F\u115F\u3164\uFFA0.hst", "c\\u{034f}\\u{115f}\\u{3164}\\u{ffa0}.hst"},
        {"\u180B\uFE00\u202E\u2029\U000E0001", "\\u{180b}\\u{fe00}\\u{202e}\\u{2029}\\u{e0001}"},
        {"a\xff\xfe\x7f\xc2\x9b\x80\xc3.hst", "a\\xff\\xfe\\x7f\\xc2\\x9b\\x80\\xc3.hst"},
        {"\\u{202e}", own + "u{202e}"},
        {"a\uFFFD\u00E9\u0386.hst", "a\uFFFD\u00E9\u0386.hst"}};
    for (const auto& [name, shown] : cases) EXPECT_EQ(shownName(name), shown) << shown;
}

TEST(versionLine, MinorInTwoDigitsRevisionInThree) {
    EXPECT_EQ(versionLine("Kelvane", 1, 0, 2, "by us"), "Kelvane version 1.00.002 by us");
}

TEST(StripExtension, TakesTheLastExtensionOfTheName) {
    const std::pair<std::string, std::string> cases[] = {
        {"T1.hst", "T1"}, {"T1", "T1"}, {"a.b.hst", "a.b"}, {".hst", ""}, {"d.x\\T1", "d.x\\T1"}};
    for (const auto& [name, stripped] : cases) EXPECT_EQ(StripExtension(name), stripped);
}

}  // namespace
