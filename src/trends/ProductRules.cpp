#include "trends/ProductRules.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "AppIdentity.h"
#include "trends/FileTools.h"

namespace {

// Code points of `text`; a byte outside valid UTF-8 becomes a value past
// every character, so such names sort after the others, by that byte.
std::u32string codePoints(const std::string& text) {
    std::u32string points;
    points.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const auto byte = static_cast<unsigned char>(text[i]); byte < 0x80) {
            points.push_back(byte);  // ASCII, as most names are
            ++i;
            continue;
        }
        const Utf8Char c = utf8CharAt(text, i);
        points.push_back(c.length ? c.point : 0x110000 + static_cast<unsigned char>(text[i]));
        i += c.length ? c.length : 1;
    }
    return points;
}

// Simple case folding for the scripts trend names are written in.
char32_t folded(char32_t c) {
    const bool even = c % 2 == 0;
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if ((c >= 0x100 && c <= 0x137 && even) || (c >= 0x139 && c <= 0x148 && !even) ||
        (c >= 0x14A && c <= 0x177 && even) || (c >= 0x179 && c <= 0x17E && !even))
        return c + 1;
    if (c == 0x178) return 0xFF;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 32;
    if (c == 0x3C2) return 0x3C3;  // final sigma
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

std::u32string foldedPoints(const std::string& text) {
    std::u32string points = codePoints(text);
    std::transform(points.begin(), points.end(), points.begin(), folded);
    return points;
}

bool matchesFrom(const std::u32string& name, std::size_t n, const std::u32string& pattern,
                 std::size_t p) {
    if (p == pattern.size()) return n == name.size();
    if (pattern[p] == '*') {
        for (std::size_t rest = n; rest <= name.size(); ++rest)
            if (matchesFrom(name, rest, pattern, p + 1)) return true;
        return false;
    }
    return n < name.size() && (pattern[p] == '?' || pattern[p] == name[n]) &&
           matchesFrom(name, n + 1, pattern, p + 1);
}

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string padded(int number, std::size_t digits) {
    std::string text = std::to_string(number);
    return text.size() < digits ? std::string(digits - text.size(), '0') + text : text;
}

// Names each with its folded key, which is made once per name rather than at
// every comparison: a folder may hold a hundred thousand files.
using Keyed = std::vector<std::pair<std::u32string, std::string>>;

std::vector<std::string> inKeyOrder(Keyed keyed) {
    std::sort(keyed.begin(), keyed.end());  // folded, then by bytes
    std::vector<std::string> names;
    names.reserve(keyed.size());
    for (auto& [key, name] : keyed) names.push_back(std::move(name));
    return names;
}

}  // namespace

void sortInListOrder(std::vector<std::string>& names) {
    Keyed keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) keyed.emplace_back(foldedPoints(name), std::move(name));
    names = inKeyOrder(std::move(keyed));
}

std::vector<std::string> listedFiles(std::vector<std::string> files, const std::string& pattern) {
    const std::u32string folded = foldedPoints(pattern);
    Keyed keyed;
    for (std::string& name : files) {
        std::u32string key = foldedPoints(name);
        if (matchesFrom(key, 0, folded, 0)) keyed.emplace_back(std::move(key), std::move(name));
    }
    return inKeyOrder(std::move(keyed));
}

std::optional<std::int16_t> convertToInt16(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    std::string_view number(text.data() + first, text.find_last_not_of(" \t") + 1 - first);
    const bool negative = number.front() == '-';
    if (number.front() == '-' || number.front() == '+') number.remove_prefix(1);
    const auto dot = number.find('.');
    std::string_view whole = number.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : number.substr(dot + 1);
    if ((whole.empty() && fraction.empty()) || !allDigits(whole) || !allDigits(fraction))
        return std::nullopt;
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > 5) return std::nullopt;
    long value = whole.empty() ? 0 : std::stol(std::string(whole));
    if (!fraction.empty()) {
        const bool pastHalf = fraction.find_first_not_of('0', 1) != std::string_view::npos;
        const char first = fraction.front();
        if (first > '5' || (first == '5' && (pastHalf || value % 2 == 1))) ++value;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return std::int16_t(value);
}

std::optional<std::int16_t> newFileCountFrom(const std::string& text) {
    const std::optional<std::int16_t> count = convertToInt16(text);
    return count && *count >= 1 ? count : std::nullopt;
}

std::string versionLine(const std::string& title, int major, int minor, int revision,
                        const std::string& comments) {
    return title + " version " + std::to_string(major) + "." + padded(minor, 2) + "." +
           padded(revision, 3) + " " + comments;
}

std::string versionLine() {
    return versionLine(identity::Title, identity::Major, identity::Minor, identity::Revision,
                       identity::Comments);
}
