#pragma once

// The rules of the product that every front end follows, with windows or
// without: which files are trend files, the order of every list, how a typed
// number is read, and the version line.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The names the file list and the command line take for trend files.
inline constexpr const char* TrendFilePattern = "*.hst";

// Sorts `names` in the order of every list: names compared character by
// character with letters folded to small letters (simple case folding of
// Latin, Greek and Cyrillic), the rest by code point; names equal so
// compared are ordered by their own bytes. A byte that is not part of valid
// UTF-8 sorts after every character.
void sortInListOrder(std::vector<std::string>& names);

// The names of `files` that match `pattern` ("*" any run, "?" one
// character, letters without regard to case), in list order: what the file
// list shows of a folder holding `files`.
std::vector<std::string> listedFiles(std::vector<std::string> files, const std::string& pattern);

// `text` as a 16-bit number: blanks around it ignored, a sign, digits with an
// optional fraction rounded half to even; nothing when it is no number or
// out of range.
std::optional<std::int16_t> convertToInt16(const std::string& text);

// "<title> version <major>.<minor, 2 digits>.<revision, 3 digits> <comments>".
std::string versionLine(const std::string& title, int major, int minor, int revision,
                        const std::string& comments);

// This program's own version line.
std::string versionLine();
