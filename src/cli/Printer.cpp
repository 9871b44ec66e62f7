#include "cli/Printer.h"

#include "cli/Report.h"

namespace cli {

void Printer::failure(const std::string& path, const platform::Error& error, bool show,
                      bool untreatedAfter) {
    const FileOutcome outcome{Outcome::Failed, std::nullopt, std::nullopt, error};
    print([&] { return extendLine(path, outcome, false, untreatedAfter); },
          [&] { return show ? showFailedJson(path, error) : extendJson(path, outcome); });
}

// The command ends, between two files, as the program was asked to: the
// report is whole, and standard error says what was left.
int interrupted(int signal, std::size_t left, Printer& printer, Console& console) {
    printer.end();
    console.err("kelvane-cli: interrupted; files not treated: " + std::to_string(left) + "\n");
    return Interrupted + signal;
}

}  // namespace cli
