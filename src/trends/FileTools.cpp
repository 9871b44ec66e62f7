#include "trends/FileTools.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>

#include "platform/Places.h"

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

namespace {

struct CodeRange {
    char32_t first, last;
};
struct FoldRun {
    char32_t first, last;
    std::int32_t delta;
    std::uint8_t step;
};
#include "trends/UnicodeTables.inc"

// The entry of a table sorted by `first` whose `first` is the last at or
// before `point`, or nullptr.
template <typename Entry, std::size_t size>
const Entry* entryAt(const Entry (&table)[size], char32_t point) {
    const Entry* after = std::upper_bound(std::begin(table), std::end(table), point,
                                          [](char32_t p, const Entry& e) { return p < e.first; });
    return after == std::begin(table) ? nullptr : after - 1;
}

bool isInvisible(char32_t point) {
    const CodeRange* range = entryAt(InvisibleRanges, point);
    return range && point <= range->last;
}

// A byte that starts nothing to escape: printable ASCII, and "\" where it
// cannot be in a name.
bool isPlain(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x7F && (c != '\\' || platform::Separator == '\\');
}

void appendEscape(std::string& shown, const char* format, unsigned value) {
    char escaped[16];
    shown.append(escaped, std::size_t(std::snprintf(escaped, sizeof escaped, format, value)));
}

}  // namespace

char32_t simpleCaseFolding(char32_t point) {
    const FoldRun* run = entryAt(FoldRuns, point);
    const bool folds = run && point <= run->last && (point - run->first) % run->step == 0;
    return folds ? char32_t(std::int32_t(point) + run->delta) : point;
}

void appendShown(std::string& shown, const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        // Most names are plain ASCII: each run of it is shown as it is.
        std::size_t plainEnd = at;
        while (plainEnd < text.size() && isPlain(text[plainEnd])) ++plainEnd;
        shown.append(text, at, plainEnd - at);
        if ((at = plainEnd) == text.size()) break;
        const Utf8Char c = utf8CharAt(text, at);
        if (c.length == 0 || c.point < 0x20 || (c.point >= 0x7F && c.point <= 0x9F)) {
            for (std::size_t k = 0; k < std::max<std::size_t>(c.length, 1); ++k)
                appendEscape(shown, "\\x%02x", static_cast<unsigned char>(text[at + k]));
        } else if (c.point == '\\') {
            shown += "\\\\";  // where a name can hold it, so that no name reads as an escape
        } else if (isInvisible(c.point)) {
            appendEscape(shown, "\\u{%04x}", unsigned(c.point));
        } else {
            shown.append(text, at, c.length);
        }
        at += std::max<std::size_t>(c.length, 1);
    }
}

std::string shownName(const std::string& text) {
    if (std::all_of(text.begin(), text.end(), isPlain)) return text;
    std::string shown;
    shown.reserve(text.size() + 8);
    appendShown(shown, text);
    return shown;
}
