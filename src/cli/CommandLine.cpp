#include "cli/CommandLine.h"

#include <variant>

#include "cli/Commands.h"
#include "cli/Options.h"
#include "cli/Report.h"
#include "trends/FileTools.h"
#include "trends/ProductRules.h"

namespace cli {
namespace {

// The status of a command whose report could not all be written: never
// success, and a stopped run stays stopped.
int withReport(int status, Console& console) {
    if (console.flushOut()) return status;
    console.err("kelvane-cli: the report could not be written to standard output\n");
    return status == Stopped || status > Interrupted ? status : ReportLost;
}

}  // namespace

int run(const std::vector<std::string>& arguments, Console& console, platform::FileAccess& files) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        console.out(std::string(Usage) + "\n" + helpText());
        return withReport(Done, console);
    }
    if (arguments.size() == 1 && (arguments[0] == "--version" || arguments[0] == "-v")) {
        console.out(versionLine() + "\n");
        return withReport(Done, console);
    }
    const auto parsed = parse(arguments);
    if (const auto* why = std::get_if<std::string>(&parsed)) {
        console.err("kelvane-cli: " + shownName(*why) + "\n" + Usage);
        return UsageError;
    }
    const Options& options = std::get<Options>(parsed);
    const int status = options.command == Command::Show ? show(options, console, files)
                                                        : extend(options, console, files);
    return withReport(status, console);
}

}  // namespace cli
