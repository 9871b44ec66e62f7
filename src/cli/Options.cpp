#include "cli/Options.h"

#include <optional>

#include "trends/ProductRules.h"

namespace cli {

const char* const Usage =
    "Usage: kelvane-cli show [--json] PATH...\n"
    "       kelvane-cli extend --to N [--dry-run] [--json] PATH...\n"
    "       kelvane-cli --help | --version\n";

std::string helpText() {
    const std::string pattern = TrendFilePattern;
    return "Shows or raises the number of history files in the headers of Velmar trend\n"
           "files (" +
           pattern +
           "), in place, as the Kelvane window does. PATH is a trend file or\n"
           "a folder, which stands for its " +
           pattern +
           " files in the order the window lists them.\n\n"
           "  show            print each file's number of history files and kind code\n"
           "  extend --to N   write N into each valid header whose number is not larger\n"
           "  --dry-run       say what extend would do; open nothing for writing\n"
           "  --json          print one JSON array instead of lines\n\n"
           "Exit status: 0 done, 1 some file was not a valid trend file, 2 usage error,\n"
           "3 a failure stopped the run (the files after it were not treated),\n"
           "4 done, but standard output could not be written.\n";
}

std::variant<Options, std::string> parse(const std::vector<std::string>& arguments) {
    Options options;
    if (arguments.empty()) return std::string("no command given");
    if (arguments[0] != "show" && arguments[0] != "extend")
        return "unknown command '" + arguments[0] + "'";
    options.command = arguments[0] == "show" ? Command::Show : Command::Extend;
    const bool show = options.command == Command::Show;
    std::optional<std::string> to;
    bool optionsEnd = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnd || !argument.starts_with("-") || argument == "-") {
            options.paths.push_back(argument);
        } else if (argument == "--") {
            optionsEnd = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--dry-run" && !show) {
            options.dryRun = true;
        } else if ((argument == "--to" || argument.starts_with("--to=")) && !show) {
            if (to) return std::string("--to is given more than once");
            if (argument.size() > 4) {
                to = argument.substr(5);
            } else if (i + 1 < arguments.size()) {
                to = arguments[++i];
            } else {
                return std::string("--to is missing its number");
            }
        } else {
            return "unknown option '" + argument + "'";
        }
    }
    if (!show) {
        const std::optional<std::int16_t> count = to ? newFileCountFrom(*to) : std::nullopt;
        if (!count) return std::string("--to needs a number from 1 to 32767");
        options.to = *count;
    }
    if (options.paths.empty()) return std::string("no PATH given");
    return options;
}

}  // namespace cli
