#include "cli/Report.h"

#include <charconv>
#include <cstdio>
#include <iterator>

#include "trends/FileTools.h"

namespace cli {
namespace {

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04x", value);
    return text;
}

void appendCount(std::string& text, const std::optional<std::int16_t>& value) {
    if (!value) return void(text += "null");
    char digits[8];
    text.append(digits, std::to_chars(digits, std::end(digits), *value).ptr);
}

std::string count(const std::optional<std::int16_t>& value) {
    std::string text;
    appendCount(text, value);
    return text;
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
        case Outcome::Repeated:  // never reported
            break;
    }
    return "failed";
}

// The error, what the system said of it and the system's own code, for JSON.
std::string errorJson(const platform::Error& error) {
    const std::string cause = error.cause();
    const int code = error.systemCode();
    return ", \"error\": " + jsonString(error.what()) +
           ", \"cause\": " + (cause.empty() ? "null" : jsonString(cause)) +
           ", \"code\": " + (code ? std::to_string(code) : "null");
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string json = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t length = utf8CharAt(text, at).length;
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

std::string showLine(const std::string& path, const std::optional<TrendFileHeader>& header) {
    if (!header) return shownName(path) + ": not a valid trend file\n";
    return shownName(path) + ": " + std::to_string(header->HistoryFileCount()) +
           " history files, kind " + std::to_string(header->KindCode()) + "\n";
}

std::string showJson(const std::string& path, const std::optional<TrendFileHeader>& header) {
    const std::string file = "{\"file\": " + jsonString(path) + ", \"valid\": ";
    if (!header) return file + "false}";
    return file + "true, \"kind\": " + std::to_string(header->KindCode()) +
           ", \"count\": " + std::to_string(header->HistoryFileCount()) + "}";
}

std::string showFailedJson(const std::string& path, const platform::Error& error) {
    return "{\"file\": " + jsonString(path) + ", \"valid\": null" + errorJson(error) + "}";
}

std::string extendLine(const std::string& raw, const FileOutcome& outcome, bool dryRun,
                       bool untreatedAfter) {
    // Built in place, grown once: a run of many files prints a line for each.
    std::string line;
    line.reserve(raw.size() + 64);
    appendShown(line, raw);
    switch (outcome.outcome) {
        case Outcome::Extended:
            line += (dryRun ? ": would be extended from " : ": extended from ");
            appendCount(line, outcome.before);
            line += " to ";
            appendCount(line, outcome.after);
            line += '\n';
            return line;
        case Outcome::Skipped:
            line += ": skipped, already set for ";
            appendCount(line, outcome.before);
            line += " files\n";
            return line;
        case Outcome::Invalid:
            return line + ": not a valid trend file, left alone\n";
        case Outcome::Repeated:  // never reported
            return "";
        case Outcome::Failed:
            break;
    }
    const std::string cause = outcome.error->cause();
    return line + ": failed, " + shownName(outcome.error->what()) +
           (cause.empty() ? "" : " (" + shownName(cause) + ")") +
           (untreatedAfter ? "; the files after it were not treated\n" : "\n");
}

std::string extendJson(const std::string& path, const FileOutcome& outcome) {
    std::string json = "{\"file\": " + jsonString(path) + ", \"outcome\": \"" +
                       outcomeName(outcome.outcome) + "\", \"before\": " + count(outcome.before) +
                       ", \"after\": " + count(outcome.after);
    if (outcome.error) json += errorJson(*outcome.error);
    return json + "}";
}

}  // namespace cli
