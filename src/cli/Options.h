#pragma once

// The command line's words: its usage, and the options of a command.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace cli {

extern const char* const Usage;
std::string helpText();

enum class Command { Show, Extend };

struct Options {
    Command command = Command::Show;
    bool json = false;
    bool dryRun = false;
    std::int16_t to = 0;
    std::vector<std::string> paths;
};

// The options, or why they cannot be taken.
std::variant<Options, std::string> parse(const std::vector<std::string>& arguments);

}  // namespace cli
