#include "trends/FileTools.h"

std::string StripExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return name;
    const auto backslash = name.rfind('\\');
    if (backslash != std::string::npos && backslash > dot) return name;
    return name.substr(0, dot);
}

Utf8Char Utf8CharAt(const std::string& text, std::size_t at) {
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
