#pragma once

// The trend extension run: raises the number of history files in the header
// of each selected trend file, in place.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileAccess.h"
#include "trends/Definitions.h"

struct FileOutcome;
struct FlushFailure;

// What a run tells of itself as it goes, in order, for its caller to word
// and to show when it sees fit; the run words nothing a user reads. For
// each file, by its place in the run's names: fileStarted, any waiting,
// then fileTreated (a failed file ends the run there); then flushed, once
// the changes are on disk or the flush failed; then runEnded.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    // Before anything is done with the file.
    virtual void fileStarted(std::size_t index) = 0;
    // Another program holds the file under way; told again at least every
    // 50 ms while the wait lasts, with how long it has lasted.
    virtual void waiting(platform::Holder /*holder*/, std::chrono::milliseconds /*waited*/) {}
    // What became of the file under way.
    virtual void fileTreated(const FileOutcome& outcome) = 0;
    // Every change is on disk, or, given a failure, not known to be.
    virtual void flushed(const FlushFailure* /*failure*/) {}
    virtual void runEnded() {}
    // Asked before each file and during any wait: true ends the run there,
    // the file under way untouched and untold, as a program asked to stop.
    virtual bool stopRequested() { return false; }
    // Asked of each file once open: true leaves it alone and untold, as a
    // file the caller has treated already under another name.
    virtual bool treatedBefore(const platform::OpenFile&) { return false; }
};

// What became of one file of a run.
enum class Outcome { Extended, Skipped, Invalid, Failed, Repeated };
struct FileOutcome {
    Outcome outcome;
    std::optional<std::int16_t> before;    // the count its valid header held
    std::optional<std::int16_t> after;     // the count it holds now, or would in a dry run
    std::optional<platform::Error> error;  // why it failed
};
// One outcome for each file treated, in order; a run stopped by a failure
// ends with the failed file.
using RunResult = std::vector<FileOutcome>;

// A flush that failed: why, and the files (their places in the run) whose
// changes it was to make durable, each now failed with that error.
struct FlushFailure {
    platform::Error error;
    std::vector<std::size_t> files;
};

enum class RunMode {
    Write,
    DryRun  // decides as a run would; opens nothing for writing
};

class RunUnderWay;

// Treats every name of `fileNames`, in order, in `folder`: writes
// `newFileCount` into each valid header whose stored count is not greater,
// and tells `observer` what became of each file. However the run ends, its
// changes are on disk before it ends. A failure stops the run at that file,
// which is closed. `underWay`, if given, holds the run while it goes on.
RunResult ExtendTrends(RunObserver& observer, platform::Folder& folder,
                       const std::vector<std::string>& fileNames, std::int16_t newFileCount,
                       RunMode mode = RunMode::Write, RunUnderWay* underWay = nullptr);

// The run under way of whoever starts runs, so that a program ending in its
// middle (between two files) can make what it changed durable first.
class RunUnderWay {
public:
    struct Run;  // the run's own state

    // Makes what the run changed durable; what failed, if it did. Does
    // nothing outside a run.
    std::optional<FlushFailure> flush();

private:
    friend RunResult ExtendTrends(RunObserver&, platform::Folder&, const std::vector<std::string>&,
                                  std::int16_t, RunMode, RunUnderWay*);
    Run* m_run = nullptr;
};

// The header of `file`, open for reading only (null when no regular file
// was there), which is closed; nothing when it is no valid trend file.
// Throws Error when the file cannot be read.
std::optional<TrendFileHeader> readTrendHeader(std::unique_ptr<platform::OpenFile> file);
