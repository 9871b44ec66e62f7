#include "cli/Report.h"

#include <cstdio>

#include "trends/FileTools.h"

namespace cli {
namespace {

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04x", value);
    return text;
}

std::string count(const std::optional<std::int16_t>& value) {
    return value ? std::to_string(*value) : "null";
}

const char* outcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::Extended:
            return "extended";
        case Outcome::Skipped:
            return "skipped";
        case Outcome::Invalid:
            return "invalid";
        case Outcome::Failed:
            break;
    }
    return "failed";
}

}  // namespace

std::string JsonString(const std::string& text) {
    std::string json = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t length = Utf8CharAt(text, at).length;
        if (length == 0) {
            json += hex4(0xDC00 + c);
        } else if (c == '"' || c == '\\') {
            json += {'\\', char(c)};
        } else if (c < 0x20 || c == 0x7F) {
            json += hex4(c);
        } else {
            json.append(text, at, length);
        }
        at += length ? length : 1;
    }
    return json + "\"";
}

std::string ShowLine(const std::string& path, const std::optional<TrendFileHeader>& header) {
    if (!header) return path + ": not a valid trend file\n";
    return path + ": " + std::to_string(header->HistoryFileCount()) + " history files, kind " +
           std::to_string(header->KindCode()) + "\n";
}

std::string ShowJson(const std::string& path, const std::optional<TrendFileHeader>& header) {
    const std::string file = "{\"file\": " + JsonString(path) + ", \"valid\": ";
    if (!header) return file + "false}";
    return file + "true, \"kind\": " + std::to_string(header->KindCode()) +
           ", \"count\": " + std::to_string(header->HistoryFileCount()) + "}";
}

std::string ExtendLine(const std::string& path, const FileOutcome& outcome, bool dryRun) {
    switch (outcome.outcome) {
        case Outcome::Extended:
            return path + (dryRun ? ": would be extended from " : ": extended from ") +
                   count(outcome.before) + " to " + count(outcome.after) + "\n";
        case Outcome::Skipped:
            return path + ": skipped, already set for " + count(outcome.before) + " files\n";
        case Outcome::Invalid:
            return path + ": not a valid trend file, left alone\n";
        case Outcome::Failed:
            break;
    }
    return path + ": failed, " + outcome.error->what() + "; the files after it were not treated\n";
}

std::string ExtendJson(const std::string& path, const FileOutcome& outcome) {
    std::string json = "{\"file\": " + JsonString(path) + ", \"outcome\": \"" +
                       outcomeName(outcome.outcome) + "\", \"before\": " + count(outcome.before) +
                       ", \"after\": " + count(outcome.after);
    if (outcome.error) json += ", \"error\": " + JsonString(outcome.error->what());
    return json + "}";
}

}  // namespace cli
