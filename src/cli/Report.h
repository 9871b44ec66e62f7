#pragma once

// What kelvane-cli prints of each file: a line for a person, or one JSON
// array for a program.

#include <string>

#include "trends/Trends.h"

namespace cli {

// `text` as a JSON string, quotes included. A byte that is not part of valid
// UTF-8 is written as the lone surrogate \udcXX, so the bytes can be told.
std::string JsonString(const std::string& text);

std::string ShowLine(const std::string& path, const std::optional<TrendFileHeader>& header);
std::string ShowJson(const std::string& path, const std::optional<TrendFileHeader>& header);

std::string ExtendLine(const std::string& path, const FileOutcome& outcome, bool dryRun);
std::string ExtendJson(const std::string& path, const FileOutcome& outcome);

}  // namespace cli
