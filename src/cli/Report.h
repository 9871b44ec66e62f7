#pragma once

// What kelvane-cli prints of each file: a line for a person, or one JSON
// array for a program.

#include <string>

#include "trends/Trends.h"

namespace cli {

// `text` as a JSON string, quotes included. A byte that is not part of valid
// UTF-8 is written as the lone surrogate \udcXX, so the bytes can be told.
std::string jsonString(const std::string& text);

// `text` safe to show on a terminal: each control character (below U+0020,
// U+007F, U+0080 to U+009F) and each byte 0x80 to 0x9F outside valid UTF-8
// written as \xHH for each of its bytes, each format character as \u{XXXX},
// and "\" as "\\" where names can hold it, so that no name can forge a line,
// pass for another or steer the terminal.
std::string printable(const std::string& text);

std::string showLine(const std::string& path, const std::optional<TrendFileHeader>& header);
std::string showJson(const std::string& path, const std::optional<TrendFileHeader>& header);
std::string showFailedJson(const std::string& path, const platform::Error& error);

// `untreatedAfter`: the run stopped at this file with files still to treat.
std::string extendLine(const std::string& path, const FileOutcome& outcome, bool dryRun,
                       bool untreatedAfter);
std::string extendJson(const std::string& path, const FileOutcome& outcome);

}  // namespace cli
