#include <algorithm>
#include <functional>

#include "cli/Commands.h"
#include "cli/Printer.h"
#include "cli/Report.h"
#include "cli/Targets.h"
#include "trends/FileTools.h"

namespace cli {
namespace {

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

}  // namespace

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
            printer.failure(target.path, *target.failure, false, progress.left() > 1);
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

}  // namespace cli
