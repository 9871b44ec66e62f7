#pragma once

// The trend extension run: raises the number of history files in the header
// of each selected trend file, in place.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileAccess.h"
#include "trends/Definitions.h"

enum class MessageIcon { None, Information, Exclamation, Error };
struct FileOutcome;

// What a run needs of the windows: the progress window, modal message boxes
// (captioned with the application title by whoever shows them) and one pass
// over the pending window events.
class RunView {
public:
    virtual ~RunView() = default;
    virtual void showProgress() = 0;
    virtual void setProgressFileName(const std::string& text) = 0;
    virtual void hideProgress() = 0;
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    virtual void doEvents() = 0;
    // Another program's lock on `fileName` keeps the run waiting; the
    // progress window already names the file.
    virtual void showWaiting(const std::string& /*fileName*/) {}
    // Asked before each file: true ends the run there, as a program asked to stop does.
    virtual bool stopRequested() { return false; }
    // Each file once it is treated; a failed file ends the run instead.
    virtual void fileTreated(const FileOutcome&) {}
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

enum class RunMode {
    Write,
    DryRun  // decides as a run would; opens nothing for writing
};

class RunUnderWay;

// Treats every name of `fileNames`, in order, in `folder`: writes
// `newFileCount` into each valid header whose stored count is not greater,
// and tells the user about every other file. However the run ends, its
// changes are on disk before its last message. A failure stops the run at
// that file, closes it and is reported to the user. `underWay`, if given,
// holds the run while it goes on.
RunResult ExtendTrends(RunView& view, platform::Folder& folder,
                       const std::vector<std::string>& fileNames, std::int16_t newFileCount,
                       RunMode mode = RunMode::Write, RunUnderWay* underWay = nullptr);

// The run under way of whoever starts runs, so that a program ending in its
// middle (between two files) can make what it changed durable first.
class RunUnderWay {
public:
    struct Run;  // the run's own state

    // Makes what the run changed durable, and tells the user through the
    // run's view when that fails. Does nothing outside a run.
    void flush();

private:
    friend RunResult ExtendTrends(RunView&, platform::Folder&, const std::vector<std::string>&,
                                  std::int16_t, RunMode, RunUnderWay*);
    Run* m_run = nullptr;
};

// The header of `file`, open for reading only (null when no regular file
// was there), which is closed; nothing when it is no valid trend file.
// Throws Error when the file cannot be read.
std::optional<TrendFileHeader> readTrendHeader(std::unique_ptr<platform::OpenFile> file);
