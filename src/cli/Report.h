#pragma once

// What kelvane-cli prints of each file: a line for a person, or one JSON
// array for a program.

#include <string>

#include "trends/Trends.h"

namespace cli {

// `text` as a JSON string, quotes included. A byte that is not part of valid
// UTF-8 is written as the lone surrogate \udcXX, so the bytes can be told.
std::string jsonString(const std::string& text);

std::string showLine(const std::string& path, const std::optional<TrendFileHeader>& header);
std::string showJson(const std::string& path, const std::optional<TrendFileHeader>& header);
std::string showFailedJson(const std::string& path, const platform::Error& error);

// `untreatedAfter`: the run stopped at this file with files still to treat.
std::string extendLine(const std::string& path, const FileOutcome& outcome, bool dryRun,
                       bool untreatedAfter);
std::string extendJson(const std::string& path, const FileOutcome& outcome);

}  // namespace cli
