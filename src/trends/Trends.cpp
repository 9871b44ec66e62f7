#include "trends/Trends.h"

#include <functional>
#include <utility>

#include "trends/FileTools.h"

namespace {

const std::string CrLf = "\r\n";

std::string invalidFileMessage(const std::string& fileName) {
    return "File '" + shownName(fileName) + "' is not a valid trend file.";
}

std::string alreadySetMessage(const std::string& fileName, int storedCount) {
    return shownName(StripExtension(fileName)) + " is already set for " +
           std::to_string(storedCount) + " files." + CrLf + "It will be skipped.";
}

std::string closingMessage() {
    return "Conversion is complete." + CrLf +
           "You must set the new number of history files in your project's" + CrLf +
           "trend tag definitions before restarting Velmar.";
}

// The cause is what names the folder or the program in the way.
std::string stoppedMessage(const std::string& fileName, const platform::Error& error) {
    const std::string cause = error.cause();
    return "Conversion stopped at file '" + shownName(fileName) + "'." + CrLf + error.what() +
           (cause.empty() ? "" : " (" + cause + ")");
}

// Reads the header of `file`, a missing file when null; true when it is a
// valid trend file's.
bool readValidHeader(platform::OpenFile* file, TrendFileHeader& header) {
    return file && file->readStart(header.bytes) == TrendFileHeader::Size &&
           IsValidTrendHeader(header);
}

}  // namespace

// A run under way: what it changed and has not yet flushed, and whom to tell.
struct RunUnderWay::Run {
    RunView& view;
    platform::Folder& folder;
    const std::vector<std::string>& fileNames;
    RunMode mode;
    RunResult result;
    std::optional<std::size_t> lastChanged;  // unflushed, else nothing
};

namespace {

using Run = RunUnderWay::Run;

// The file of the run named `name` that was treated last; `otherwise` when none is.
std::size_t lastIndexOf(const Run& run, const std::string& name, std::size_t otherwise) {
    for (std::size_t i = run.result.size(); i-- > 0;)
        if (run.fileNames[i] == name) return i;
    return otherwise;
}

// A flush failed: the file it was to make durable failed, and the message names it.
std::string flushFailed(Run& run, std::size_t failed, const platform::Error& error) {
    FileOutcome& outcome = run.result[failed];
    outcome = {Outcome::Failed, outcome.before, std::nullopt, error};
    return stoppedMessage(run.fileNames[failed], error);
}

// Makes the run's changes durable; when that fails, the last file changed
// is the one that failed, and the message says so.
std::optional<std::string> flushChanges(Run& run) {
    if (!run.lastChanged) return std::nullopt;
    const std::size_t changed = *std::exchange(run.lastChanged, std::nullopt);
    try {
        run.folder.flush();
    } catch (const platform::FlushError& error) {
        return flushFailed(run, lastIndexOf(run, error.fileName(), changed), error);
    } catch (const platform::Error& error) {
        return flushFailed(run, changed, error);
    }
    return std::nullopt;
}

// Opens `file`, decided on, for writing and reads its header again: another
// program may have changed it since it was read. True when it is still valid.
bool reopenForWriting(platform::OpenFile& file, TrendFileHeader& header,
                      const std::function<void()>& waiting) {
    file.openForWriting(waiting);
    // A file cut since it was read would grow again by the write.
    if (const std::uint64_t size = file.size(); size < TrendFileHeader::Size)
        throw platform::errors::make(platform::errors::InputPastEnd, platform::Operation::Write,
                                     "the file holds " + std::to_string(size) +
                                         " bytes, less than a header, since it was read");
    return readValidHeader(&file, header);
}

// Treats one file into `outcome`, the last of the run's result, which holds
// what was known when a failure is thrown. The file is decided on while
// open for reading only, and again once open for writing.
void ExtendTrendFile(Run& run, const std::string& fileName, std::int16_t newFileCount,
                     FileOutcome& outcome) {
    auto file = run.folder.openExisting(fileName);
    if (file && run.view.treatedBefore(*file)) {
        outcome.outcome = Outcome::Repeated;
        return file->close();
    }
    TrendFileHeader header;
    bool valid = readValidHeader(file.get(), header);
    const bool due = valid && header.HistoryFileCount() <= newFileCount;
    if (due && run.mode == RunMode::Write) {
        outcome.before = header.HistoryFileCount();  // the count read, should the open fail
        valid = reopenForWriting(*file, header, [&] { run.view.showWaiting(fileName); });
        outcome.before.reset();
    }
    if (valid) {
        outcome.before = header.HistoryFileCount();
        if (*outcome.before > newFileCount) {
            outcome = {Outcome::Skipped, outcome.before, outcome.before, {}};
        } else {
            if (run.mode == RunMode::Write) {
                header.SetHistoryFileCount(newFileCount);
                run.lastChanged = run.result.size() - 1;  // whatever the write does, it is flushed
                file->writeAt(TrendFileHeader::HistoryFileCountOffset,
                              header.HistoryFileCountBytes());
            }
            outcome = {Outcome::Extended, outcome.before, newFileCount, {}};
        }
    }
    if (file) file->close();
}

// Each file is closed before its message, so no box ever keeps a file open.
void tellUser(RunView& view, const std::string& fileName, const FileOutcome& outcome) {
    if (outcome.outcome == Outcome::Invalid)
        view.showMessage(invalidFileMessage(fileName), MessageIcon::Error);
    if (outcome.outcome == Outcome::Skipped)
        view.showMessage(alreadySetMessage(fileName, *outcome.before), MessageIcon::Information);
}

}  // namespace

RunResult ExtendTrends(RunView& view, platform::Folder& folder,
                       const std::vector<std::string>& fileNames, std::int16_t newFileCount,
                       RunMode mode, RunUnderWay* underWay) {
    Run run{view, folder, fileNames, mode, {}, {}};
    run.result.reserve(fileNames.size());
    RunUnderWay outside;  // for a caller who keeps none
    RunUnderWay& holder = underWay ? *underWay : outside;
    struct Holding {
        RunUnderWay& holder;
        Run* outer;  // the run this one started in, if any
        ~Holding() { holder.m_run = outer; }
    } holding{holder, std::exchange(holder.m_run, &run)};

    std::optional<std::string> stopped;
    view.showProgress();
    for (const std::string& fileName : fileNames) {
        if (view.stopRequested()) break;
        view.setProgressFileName(shownName(StripExtension(fileName)));
        view.doEvents();
        FileOutcome& outcome = run.result.emplace_back(FileOutcome{Outcome::Invalid, {}, {}, {}});
        try {
            ExtendTrendFile(run, fileName, newFileCount, outcome);
        } catch (const platform::Error& error) {
            outcome = {Outcome::Failed, outcome.before, std::nullopt, error};
            stopped = stoppedMessage(fileName, error);
            break;
        }
        tellUser(view, fileName, outcome);
        view.fileTreated(outcome);
    }
    // On disk before the user is told anything, however the run ended.
    const std::optional<std::string> flushFailed = flushChanges(run);
    view.hideProgress();
    if (stopped) view.showMessage(*stopped, MessageIcon::Exclamation);
    if (flushFailed) view.showMessage(*flushFailed, MessageIcon::Exclamation);
    if (!stopped && !flushFailed) view.showMessage(closingMessage(), MessageIcon::None);
    return std::move(run.result);
}

std::optional<TrendFileHeader> readTrendHeader(std::unique_ptr<platform::OpenFile> file) {
    TrendFileHeader header;
    const bool valid = readValidHeader(file.get(), header);
    if (file) file->close();
    return valid ? std::optional(header) : std::nullopt;
}

void RunUnderWay::flush() {
    if (!m_run) return;
    if (const std::optional<std::string> failed = flushChanges(*m_run)) {
        m_run->view.hideProgress();
        m_run->view.showMessage(*failed, MessageIcon::Exclamation);
    }
}
