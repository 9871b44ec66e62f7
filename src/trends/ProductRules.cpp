#include "trends/ProductRules.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "AppIdentity.h"
#include "trends/FileTools.h"

namespace {

// `point` appended to `text` in UTF-8.
void appendUtf8(std::string& text, char32_t point) {
    if (point < 0x80) return void(text += static_cast<char>(point));
    const int length = point < 0x800 ? 2 : point < 0x10000 ? 3 : 4;
    const unsigned lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    text += static_cast<char>(lead[length] | (point >> (6 * (length - 1))));
    for (int k = length - 2; k >= 0; --k)
        text += static_cast<char>(0x80 | ((point >> (6 * k)) & 0x3F));
}

// The key that orders and matches a name: its characters folded, in UTF-8,
// whose bytes compare as the code points do; a short string, so most keys
// need no allocation. A byte outside valid UTF-8 becomes 0xFF and itself:
// past every character, and such names ordered by that byte.
std::string foldedKey(const std::string& text) {
    std::string key;
    key.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const auto byte = static_cast<unsigned char>(text[i]); byte < 0x80) {
            key += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 32 : byte);  // ASCII
            ++i;
            continue;
        }
        const Utf8Char c = utf8CharAt(text, i);
        if (c.length == 0) {
            key += '\xFF';
            key += text[i++];
            continue;
        }
        if (const char32_t f = simpleCaseFolding(c.point); f != c.point)
            appendUtf8(key, f);
        else
            key.append(text, i, c.length);
        i += c.length;
    }
    return key;
}

// Bytes of the key's character that starts with `lead`: a UTF-8 sequence, or
// 0xFF and the invalid byte it marks.
std::size_t characterLength(char lead) {
    const auto byte = static_cast<unsigned char>(lead);
    return byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : byte < 0xF5 ? 4 : 2;
}

// Whether the key `name` matches the key `pattern`. A mismatch after a "*"
// takes that "*" one character further, as one more try.
bool matches(std::string_view name, std::string_view pattern) {
    std::size_t n = 0, p = 0, star = std::string_view::npos, starAt = 0;
    while (n < name.size()) {
        const std::size_t nLength = characterLength(name[n]);
        if (p < pattern.size() && pattern[p] == '*') {
            star = ++p;
            starAt = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' ||
                    name.substr(n, nLength) == pattern.substr(p, characterLength(pattern[p])))) {
            n += nLength;
            p += characterLength(pattern[p]);
        } else if (star != std::string_view::npos) {
            p = star;
            n = starAt += characterLength(name[starAt]);
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
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
using Keyed = std::vector<std::pair<std::string, std::string>>;

// The first eight bytes of `key` as one number, which compares as they do:
// a name holds no zero byte.
std::uint64_t prefixOf(const std::string& key) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i)
        prefix = prefix << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0);
    return prefix;
}

std::vector<std::string> inKeyOrder(Keyed keyed) {
    // Places are sorted, by a key's first bytes as one number and by the
    // whole entry where those are equal; the strings then move only once.
    struct Place {
        std::uint64_t prefix;
        Keyed::value_type* entry;
    };
    std::vector<Place> order;
    order.reserve(keyed.size());
    for (auto& entry : keyed) order.push_back({prefixOf(entry.first), &entry});
    std::sort(order.begin(), order.end(), [](const Place& a, const Place& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix
                                    : *a.entry < *b.entry;  // folded, then by bytes
    });
    std::vector<std::string> names;
    names.reserve(order.size());
    for (const Place& place : order) names.push_back(std::move(place.entry->second));
    return names;
}

}  // namespace

void sortInListOrder(std::vector<std::string>& names) {
    Keyed keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) keyed.emplace_back(foldedKey(name), std::move(name));
    names = inKeyOrder(std::move(keyed));
}

std::vector<std::string> listedFiles(std::vector<std::string> files, const std::string& pattern) {
    const std::string folded = foldedKey(pattern);
    Keyed keyed;
    keyed.reserve(files.size());
    for (std::string& name : files) {
        std::string key = foldedKey(name);
        if (matches(key, folded)) keyed.emplace_back(std::move(key), std::move(name));
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
