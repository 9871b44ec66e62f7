#include "cli/CommandLine.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <unordered_set>
#include <variant>

#include "cli/Report.h"
#include "platform/Places.h"
#include "trends/FileTools.h"
#include "trends/ProductRules.h"

namespace cli {
namespace {

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

struct Options {
    bool show = false;
    bool json = false;
    bool dryRun = false;
    std::int16_t to = 0;
    std::vector<std::string> paths;
};

// The options, or why they cannot be taken.
std::variant<Options, std::string> parse(const std::vector<std::string>& arguments) {
    Options options;
    if (arguments.empty()) return std::string("no command given");
    options.show = arguments[0] == "show";
    if (!options.show && arguments[0] != "extend") return "unknown command '" + arguments[0] + "'";
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
        } else if (argument == "--dry-run" && !options.show) {
            options.dryRun = true;
        } else if ((argument == "--to" || argument.starts_with("--to=")) && !options.show) {
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
    if (!options.show) {
        const std::optional<std::int16_t> count = to ? newFileCountFrom(*to) : std::nullopt;
        if (!count) return std::string("--to needs a number from 1 to 32767");
        options.to = *count;
    }
    if (options.paths.empty()) return std::string("no PATH given");
    return options;
}

// The files one PATH stands for, in the folder they are opened in; or why
// the PATH itself could not be read.
struct Target {
    std::string path;
    std::shared_ptr<platform::Folder> folder;
    std::vector<std::string> names;
    std::vector<std::string> paths;  // as reported, one for each name
    std::optional<platform::Error> failure;
    std::size_t unreadAfter = 0;  // with a failure: the PATHs after it, left unread
};

// The folder of the last file PATH, kept so that files of one folder named
// one by one are opened there and flushed once.
struct Parent {
    std::string path;
    std::shared_ptr<platform::Folder> folder;
};

Target targetOf(const std::string& path, platform::FileAccess& files, Parent& last) {
    std::shared_ptr<platform::Folder> folder = files.openFolder(path);
    try {
        Target target{path, folder, listedFiles(folder->list().files, TrendFilePattern), {}, {}};
        const std::string prefix = platform::withSeparator(path);
        target.paths.reserve(target.names.size());
        for (const std::string& name : target.names) target.paths.push_back(prefix + name);
        return target;
    } catch (const platform::NotAFolder&) {
    } catch (const platform::Error& error) {
        return {path, {}, {}, {}, error};
    }
    // Not a folder: a file in its own folder, or in a drive's current one
    // ("c:a.hst").
    std::size_t cut = path.size();
    while (cut > 0 && !platform::isSeparator(path[cut - 1])) --cut;
    if (cut == 0 && platform::isDriveAlone(path.substr(0, 2))) cut = 2;
    const std::string parent = cut == 0 ? "." : path.substr(0, cut);
    if (!last.folder || last.path != parent) last = {parent, files.openFolder(parent)};
    return {path, last.folder, {path.substr(cut)}, {path}, {}};
}

// Every PATH's files, in the order given; the targets end with the first
// PATH that could not be read. A file named twice is passed over where it
// is opened again (see Once), from the identity its opening tells.
std::vector<Target> targetsOf(const std::vector<std::string>& paths, platform::FileAccess& files,
                              Console& console) {
    std::vector<Target> targets;
    Parent last;
    for (std::size_t at = 0; at < paths.size(); ++at) {
        Target target = targetOf(paths[at], files, last);
        if (target.failure) {
            targets.push_back(std::move(target));
            targets.back().unreadAfter = paths.size() - at - 1;
            break;
        }
        if (target.names.empty())
            console.err("kelvane-cli: " + shownName(paths[at]) + ": no trend files (" +
                        TrendFilePattern + ") there\n");
        // Files of one folder named one after another are one run: one flush.
        if (targets.empty() || targets.back().folder != target.folder) {
            targets.push_back(std::move(target));
            continue;
        }
        Target& kept = targets.back();
        kept.names.insert(kept.names.end(), std::make_move_iterator(target.names.begin()),
                          std::make_move_iterator(target.names.end()));
        kept.paths.insert(kept.paths.end(), std::make_move_iterator(target.paths.begin()),
                          std::make_move_iterator(target.paths.end()));
    }
    return targets;
}

// Each file once per command, where first named, however often the PATHs
// name it: a file already opened, here or by an earlier PATH, is passed over.
class Once {
public:
    bool repeated(const platform::OpenFile& file) { return !m_seen.insert(file.id()).second; }

private:
    struct Hash {
        std::size_t operator()(const platform::FileId& id) const {
            return std::hash<std::uint64_t>()(id.number ^ id.volume << 32);
        }
    };
    std::unordered_set<platform::FileId, Hash> m_seen;
};

std::size_t fileCount(const std::vector<Target>& targets) {
    std::size_t count = 0;
    for (const Target& target : targets) count += target.names.size();
    return count;
}

// What the command has yet to treat: the files, a PATH that could not be
// read and every PATH after it left unread, each of those counting once.
std::size_t untreatedCount(const std::vector<Target>& targets) {
    const Target& last = targets.back();
    return fileCount(targets) + (last.failure ? 1 + last.unreadAfter : 0);
}

// What a run shows: progress on a terminal, each file's outcome as it is
// treated, and a wait for another program; it ends the run when the program
// is interrupted. One count for the whole command.
class ProgressView : public RunObserver {
public:
    using Print =
        std::function<void(const std::string& path, const FileOutcome&, bool untreatedAfter)>;
    ProgressView(Console& console, const std::vector<Target>& targets, Print print)
        : m_console(console),
          m_total(fileCount(targets)),
          m_left(untreatedCount(targets)),
          m_print(std::move(print)) {}
    // The files the next run treats, from its first.
    void treating(const Target& target) {
        m_target = &target;
        m_failed = false;
        m_flushFailure.reset();
    }
    // What the command has yet to treat, as untreatedCount counts it.
    std::size_t left() const { return m_left; }
    // The last run stopped at a file that failed.
    bool stoppedAtFile() const { return m_failed; }
    const std::optional<FlushFailure>& flushFailure() const { return m_flushFailure; }

    bool treatedBefore(const platform::OpenFile& file) override { return m_once.repeated(file); }
    bool stopRequested() override { return m_console.interrupted() != 0; }
    void fileStarted(std::size_t index) override {
        m_index = index;
        m_waitTold = false;
        if (m_console.errIsTerminal())
            showProgress("[" + std::to_string(++m_done) + "/" + std::to_string(m_total) + "] " +
                         shownName(StripExtension(m_target->names[index])));
    }
    void waiting(platform::Holder, std::chrono::milliseconds waited) override {
        if (m_waitTold || waited < std::chrono::seconds(1) || !m_console.errIsTerminal()) return;
        m_waitTold = true;
        hideProgress();
        m_console.err("kelvane-cli: " + shownName(m_target->paths[m_index]) +
                      ": waiting for another program's lock on it\n");
    }
    void fileTreated(const FileOutcome& outcome) override {
        hideProgress();
        --m_left;
        if (outcome.outcome == Outcome::Repeated) return;
        m_failed = outcome.outcome == Outcome::Failed;
        m_print(m_target->paths[m_index], outcome, m_failed && m_left > 0);
    }
    void flushed(const FlushFailure* failure) override {
        if (failure) m_flushFailure = *failure;
    }

private:
    void showProgress(std::string line) {
        const std::size_t width = line.size();
        line.resize(std::max(width, m_shown), ' ');
        m_shown = width;
        m_console.err("\r" + line);
    }
    void hideProgress() {
        if (m_shown) m_console.err("\r" + std::string(m_shown, ' ') + "\r");
        m_shown = 0;
    }

    Console& m_console;
    std::size_t m_total, m_left;
    Print m_print;
    const Target* m_target = nullptr;
    std::size_t m_index = 0;  // of the file under way in m_target
    std::size_t m_done = 0;
    std::size_t m_shown = 0;
    bool m_waitTold = false, m_failed = false;
    std::optional<FlushFailure> m_flushFailure;
    Once m_once;
};

class Printer {
public:
    Printer(Console& console, bool json) : m_console(console), m_json(json) {}
    ~Printer() { end(); }
    // Closes the JSON array, once.
    void end() {
        if (m_json && !m_ended) m_console.out(m_items ? "\n]\n" : "[]\n");
        m_ended = true;
    }
    // Builds only the text printed: a line, or a JSON object.
    template <typename Line, typename Json>
    void print(const Line& line, const Json& json) {
        if (!m_json) return m_console.out(line());
        m_console.out((m_items++ ? ",\n  " : "[\n  ") + json());
    }

private:
    Console& m_console;
    bool m_json;
    bool m_ended = false;
    int m_items = 0;
};

// The command ends, between two files, as the program was asked to: the
// report is whole, and standard error says what was left.
int interrupted(int signal, std::size_t left, Printer& printer, Console& console) {
    printer.end();
    console.err("kelvane-cli: interrupted; files not treated: " + std::to_string(left) + "\n");
    return Interrupted + signal;
}

// A file, or a PATH, that could not be read.
FileOutcome failedOutcome(const platform::Error& error) {
    return {Outcome::Failed, std::nullopt, std::nullopt, error};
}

int show(const Options& options, Console& console, platform::FileAccess& files) {
    Printer printer(console, options.json);
    int status = Done;
    const std::vector<Target> targets = targetsOf(options.paths, files, console);
    std::size_t left = untreatedCount(targets);
    Once once;
    for (const Target& target : targets) {
        if (target.failure) {
            printer.print(
                [&] {
                    return extendLine(target.path, failedOutcome(*target.failure), false, left > 1);
                },
                [&] { return showFailedJson(target.path, *target.failure); });
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
                printer.print(
                    [&] {
                        return extendLine(target.paths[i], failedOutcome(error), false, left > 1);
                    },
                    [&] { return showFailedJson(target.paths[i], error); });
                return Stopped;
            }
            printer.print([&] { return showLine(target.paths[i], header); },
                          [&] { return showJson(target.paths[i], header); });
            if (!header) status = InvalidFiles;
        }
    }
    return status;
}

int extend(const Options& options, Console& console, platform::FileAccess& files) {
    Printer printer(console, options.json);
    int status = Done;
    const std::vector<Target> targets = targetsOf(options.paths, files, console);
    const auto print = [&](const std::string& path, const FileOutcome& outcome,
                           bool untreatedAfter) {
        printer.print([&] { return extendLine(path, outcome, options.dryRun, untreatedAfter); },
                      [&] { return extendJson(path, outcome); });
        if (outcome.outcome == Outcome::Invalid) status = InvalidFiles;
    };
    ProgressView progress(console, targets, print);
    for (const Target& target : targets) {
        if (target.failure) {
            print(target.path, failedOutcome(*target.failure), progress.left() > 1);
            return Stopped;
        }
        progress.treating(target);
        const RunResult result = ExtendTrends(progress, *target.folder, target.names, options.to,
                                              options.dryRun ? RunMode::DryRun : RunMode::Write);
        // A flush fails after the lines of the files it covered: each is named
        // again, as failed, the last saying what its failure left untreated.
        if (const std::optional<FlushFailure>& failure = progress.flushFailure()) {
            for (const std::size_t file : failure->files)
                print(target.paths[file], result[file],
                      file == failure->files.back() && progress.left() > 0 &&
                          !progress.stoppedAtFile());
        }
        if (progress.stoppedAtFile() || progress.flushFailure()) return Stopped;
        if (const int signal = console.interrupted(); signal && progress.left() > 0)
            return interrupted(signal, progress.left(), printer, console);
    }
    return status;
}

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
    const int status =
        options.show ? show(options, console, files) : extend(options, console, files);
    return withReport(status, console);
}

}  // namespace cli
