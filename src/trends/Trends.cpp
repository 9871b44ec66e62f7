#include "trends/Trends.h"

#include <string_view>
#include <unordered_set>
#include <utility>

namespace {

// Reads the header of `file`, a missing file when null; true when it is a
// valid trend file's.
bool readValidHeader(platform::OpenFile* file, TrendFileHeader& header) {
    return file && file->readStart(header.bytes) == TrendFileHeader::Size &&
           IsValidTrendHeader(header);
}

}  // namespace

// A run under way: what it changed and has not yet flushed, and whom to tell.
struct RunUnderWay::Run {
    RunObserver& observer;
    platform::Folder& folder;
    const std::vector<std::string>& fileNames;
    RunMode mode;
    RunResult result;
    std::vector<std::size_t> unflushed;  // the files changed since the last flush
};

namespace {

using Run = RunUnderWay::Run;

// The files of `changed` that a flush failing with `error` was to make
// durable: those it names, or all of them when it names none.
std::vector<std::size_t> coveredBy(const Run& run, const platform::Error& error,
                                   const std::vector<std::size_t>& changed) {
    const auto* named = dynamic_cast<const platform::FlushError*>(&error);
    if (!named) return changed;
    // A set: a flush of many thousand changes names as many files.
    const std::unordered_set<std::string_view> names(named->fileNames().begin(),
                                                     named->fileNames().end());
    std::vector<std::size_t> covered;
    for (const std::size_t file : changed)
        if (names.contains(run.fileNames[file])) covered.push_back(file);
    return covered.empty() ? changed : covered;
}

// Makes the run's changes durable; when that fails, every file whose change
// the flush covered has failed with its error.
std::optional<FlushFailure> flushChanges(Run& run) {
    if (run.unflushed.empty()) return std::nullopt;
    const std::vector<std::size_t> changed = std::exchange(run.unflushed, {});
    try {
        run.folder.flush();
    } catch (const platform::Error& error) {
        FlushFailure failure{error, coveredBy(run, error, changed)};
        for (const std::size_t file : failure.files) {
            FileOutcome& outcome = run.result[file];
            outcome = {Outcome::Failed, outcome.before, std::nullopt, error};
        }
        return failure;
    }
    return std::nullopt;
}

// Opens `file`, decided on, for writing and reads its header again: another
// program may have changed it since it was read. Nothing when the wait for
// another program was given up; else whether the header is still valid.
std::optional<bool> reopenForWriting(Run& run, platform::OpenFile& file, TrendFileHeader& header) {
    const bool opened = file.openForWriting([&](platform::Holder holder, auto waited) {
        run.observer.waiting(holder, waited);
        return !run.observer.stopRequested();
    });
    if (!opened) return std::nullopt;
    // A file cut since it was read would grow again by the write.
    if (const std::uint64_t size = file.size(); size < TrendFileHeader::Size)
        throw platform::errors::make(platform::errors::InputPastEnd, platform::Operation::Write,
                                     "the file holds " + std::to_string(size) +
                                         " bytes, less than a header, since it was read");
    return readValidHeader(&file, header);
}

// Treats one file into `outcome`, the last of the run's result, which holds
// what was known when a failure is thrown. The file is decided on while
// open for reading only, and again once open for writing. False when the
// run was asked to stop while it waited for the file.
bool ExtendTrendFile(Run& run, const std::string& fileName, std::int16_t newFileCount,
                     FileOutcome& outcome) {
    auto file = run.folder.openExisting(fileName);
    if (file && run.observer.treatedBefore(*file)) {
        outcome.outcome = Outcome::Repeated;
        file->close();
        return true;
    }
    TrendFileHeader header;
    bool valid = readValidHeader(file.get(), header);
    const bool due = valid && header.HistoryFileCount() <= newFileCount;
    if (due && run.mode == RunMode::Write) {
        outcome.before = header.HistoryFileCount();  // the count read, should the open fail
        const std::optional<bool> validOnceOpen = reopenForWriting(run, *file, header);
        if (!validOnceOpen) return false;
        valid = *validOnceOpen;
        outcome.before.reset();
    }
    if (valid) {
        outcome.before = header.HistoryFileCount();
        if (*outcome.before > newFileCount) {
            outcome = {Outcome::Skipped, outcome.before, outcome.before, {}};
        } else {
            if (run.mode == RunMode::Write) {
                header.SetHistoryFileCount(newFileCount);
                run.unflushed.push_back(run.result.size() - 1);  // whatever the write does
                file->writeAt(TrendFileHeader::HistoryFileCountOffset,
                              header.HistoryFileCountBytes());
            }
            outcome = {Outcome::Extended, outcome.before, newFileCount, {}};
        }
    }
    if (file) file->close();
    return true;
}

}  // namespace

RunResult ExtendTrends(RunObserver& observer, platform::Folder& folder,
                       const std::vector<std::string>& fileNames, std::int16_t newFileCount,
                       RunMode mode, RunUnderWay* underWay) {
    Run run{observer, folder, fileNames, mode, {}, {}};
    run.result.reserve(fileNames.size());
    RunUnderWay outside;  // for a caller who keeps none
    RunUnderWay& holder = underWay ? *underWay : outside;
    struct Holding {
        RunUnderWay& holder;
        Run* outer;  // the run this one started in, if any
        ~Holding() { holder.m_run = outer; }
    } holding{holder, std::exchange(holder.m_run, &run)};

    for (std::size_t index = 0; index < fileNames.size(); ++index) {
        if (observer.stopRequested()) break;
        observer.fileStarted(index);
        FileOutcome& outcome = run.result.emplace_back(FileOutcome{Outcome::Invalid, {}, {}, {}});
        try {
            if (!ExtendTrendFile(run, fileNames[index], newFileCount, outcome)) {
                run.result.pop_back();  // untouched: as if the run had stopped before it
                break;
            }
        } catch (const platform::Error& error) {
            outcome = {Outcome::Failed, outcome.before, std::nullopt, error};
            observer.fileTreated(outcome);
            break;
        }
        observer.fileTreated(outcome);
    }
    // On disk before the run ends, however it ended.
    const std::optional<FlushFailure> failure = flushChanges(run);
    observer.flushed(failure ? &*failure : nullptr);
    observer.runEnded();
    return std::move(run.result);
}

std::optional<TrendFileHeader> readTrendHeader(std::unique_ptr<platform::OpenFile> file) {
    TrendFileHeader header;
    const bool valid = readValidHeader(file.get(), header);
    if (file) file->close();
    return valid ? std::optional(header) : std::nullopt;
}

std::optional<FlushFailure> RunUnderWay::flush() {
    if (!m_run) return std::nullopt;
    return flushChanges(*m_run);
}
