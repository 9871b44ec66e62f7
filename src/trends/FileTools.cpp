#include "trends/FileTools.h"

#include <algorithm>
#include <cstdio>
#include <utility>

std::string StripExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return name;
    const auto backslash = name.rfind('\\');
    if (backslash != std::string::npos && backslash > dot) return name;
    return name.substr(0, dot);
}

Utf8Char utf8CharAt(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const std::size_t length = lead < 0x80    ? 1
                               : lead >= 0xF5 ? 0
                               : lead >= 0xF0 ? 4
                               : lead >= 0xE0 ? 3
                               : lead >= 0xC2 ? 2
                                              : 0;
    if (length == 0 || at + length > text.size()) return {0, 0};
    char32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80) return {0, 0};
        point = (point << 6) | (byte(at + k) & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid =
        point >= least[length] && point <= 0x10FFFF && (point < 0xD800 || point > 0xDFFF);
    return {point, valid ? length : 0};
}

bool isFormatCharacter(char32_t point) {
    // Unicode 15's category Cf, with U+2028 and U+2029 (Zl, Zp) joined to U+202A-U+202E.
    static constexpr std::pair<char32_t, char32_t> ranges[] = {
        {0xAD, 0xAD},       {0x600, 0x605},     {0x61C, 0x61C},     {0x6DD, 0x6DD},
        {0x70F, 0x70F},     {0x890, 0x891},     {0x8E2, 0x8E2},     {0x180E, 0x180E},
        {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
        {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
        {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
        {0xE0020, 0xE007F}};
    return std::any_of(std::begin(ranges), std::end(ranges), [&](const auto& range) {
        return point >= range.first && point <= range.second;
    });
}

std::string shownName(const std::string& name) {
    // No format character is ASCII: a plain name is shown as it is.
    if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; })) return name;
    std::string shown;
    for (std::size_t at = 0; at < name.size();) {
        const Utf8Char c = utf8CharAt(name, at);
        const std::size_t length = c.length ? c.length : 1;
        if (c.length && isFormatCharacter(c.point)) {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\u{%04x}", unsigned(c.point));
            shown += escaped;
        } else {
            shown.append(name, at, length);
        }
        at += length;
    }
    return shown;
}
