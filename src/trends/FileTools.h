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

// `point` under Unicode's simple case folding (statuses C and S of
// CaseFolding.txt): the small letter of a capital, any script; itself when
// it has none. From the Unicode data in UnicodeTables.inc.
char32_t simpleCaseFolding(char32_t point);

// `text` as the windows and the command line's lines show it, so that no name
// can pass for another, forge a line or steer a terminal: each control
// character (below U+0020, U+007F to U+009F) and each byte that is not part of
// valid UTF-8 written as \xHH for each of its bytes, each invisible character
// (a Default_Ignorable code point, a format character, the line or paragraph
// separator) as \u{XXXX} (hexadecimal), and "\" as "\\" where names can hold it. Text
// with nothing to escape is unchanged.
std::string shownName(const std::string& text);

// The same, appended to `shown`.
void appendShown(std::string& shown, const std::string& text);
