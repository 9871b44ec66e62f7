#include "cli/Commands.h"
#include "cli/Printer.h"
#include "cli/Report.h"
#include "cli/Targets.h"

namespace cli {

int show(const Options& options, Console& console, platform::FileAccess& files) {
    Printer printer(console, options.json);
    int status = Done;
    const std::vector<Target> targets = targetsOf(options.paths, files, console);
    std::size_t left = untreatedCount(targets);
    Once once;
    for (const Target& target : targets) {
        if (target.failure) {
            printer.failure(target.path, *target.failure, true, left > 1);
            return Stopped;
        }
        for (std::size_t i = 0; i < target.names.size(); ++i, --left) {
            if (const int signal = console.interrupted())
                return interrupted(signal, left, printer, console);
            std::optional<TrendFileHeader> header;
            try {
                auto file = target.folder->openExisting(target.names[i]);
                if (file && once.repeated(*file)) continue;
                header = readTrendHeader(std::move(file));
            } catch (const platform::Error& error) {
                printer.failure(target.paths[i], error, true, left > 1);
                return Stopped;
            }
            printer.print([&] { return showLine(target.paths[i], header); },
                          [&] { return showJson(target.paths[i], header); });
            if (!header) status = InvalidFiles;
        }
    }
    return status;
}

}  // namespace cli
