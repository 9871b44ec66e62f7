#pragma once

#include <cstddef>
#include <string>

// File name helpers. Text is UTF-8; only "\" separates folders. UTF-8 never
// puts the byte of "\" or "." inside a longer character, so a byte search for
// them finds whole characters only.

// `name` without its last extension: everything before the last "." that
// follows the last "\"; `name` unchanged when there is no such ".".
std::string StripExtension(const std::string& name);

// One character of UTF-8 text: its code point and its length in bytes;
// length 0 when the bytes at a position are no valid UTF-8 sequence (an
// overlong form, a surrogate, past U+10FFFF, a lone or missing continuation).
struct Utf8Char {
    char32_t point;
    std::size_t length;
};
Utf8Char utf8CharAt(const std::string& text, std::size_t at);

// True for an invisible character that can change how the text around it
// reads: a Unicode format character (category Cf), the line or paragraph
// separator.
bool isFormatCharacter(char32_t point);

// `name` as the windows show it: each format character written as \u{XXXX}
// (hexadecimal), so that none can hide or reorder what is read; a name
// without one is unchanged.
std::string shownName(const std::string& name);
