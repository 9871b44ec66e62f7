#pragma once

// A run as the windows show it: the run's messages worded, the progress
// window's name painted at the screen's pace, each box beside the name of
// its own file, and every wait for another program said and stoppable.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "forms/frmConverting.h"
#include "trends/Trends.h"

enum class MessageIcon { None, Information, Exclamation, Error };

// Steady time, which tests set.
class Clock {
public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual time_point now() const = 0;
};
Clock& systemClock();

// What a run's report needs of the main window: its boxes, owned by it,
// and one pass over the pending window events.
class RunWindow {
public:
    virtual ~RunWindow() = default;
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    virtual void doEvents() = 0;
};

namespace runMessages {

std::string invalidFile(const std::string& fileName);
std::string alreadySet(const std::string& fileName, int storedCount);
std::string closing();
std::string stopped(const std::string& fileName, const platform::Error& error);
// A flush failed: how many files' changes may not be on disk, the first named.
std::string flushFailed(const std::vector<std::string>& fileNames, const FlushFailure& failure);

}  // namespace runMessages

// One run of the main window, told to the user. A screen shows 60 frames a
// second and a run treats thousands of files a second, so a file's name is
// painted when a frame has passed since the last, and always before a box,
// a wait notice or the end of the run; the window events run once per file.
class RunReport final : public RunObserver {
public:
    static constexpr std::chrono::microseconds FramePeriod{16'667};
    // A wait this long is said in the progress window; a shorter one would flash.
    static constexpr std::chrono::milliseconds WaitNoticeAfter{250};

    // A run of `fileNames` that starts now: the progress window shows.
    RunReport(RunWindow& window, ConvertingForm& converting, const Clock& clock,
              const std::vector<std::string>& fileNames);

    void fileStarted(std::size_t index) override;
    void waiting(platform::Holder holder, std::chrono::milliseconds waited) override;
    void fileTreated(const FileOutcome& outcome) override;
    void flushed(const FlushFailure* failure) override;
    void runEnded() override;

    // A flush made as the program ends, in the middle of the run, failed.
    void tellFlushFailed(const FlushFailure& failure);

private:
    // The file under way's name on screen now.
    void showName();

    RunWindow& m_window;
    ConvertingForm& m_converting;
    const Clock& m_clock;
    const std::vector<std::string>& m_fileNames;
    std::optional<std::size_t> m_current;  // the file under way
    std::optional<Clock::time_point> m_painted;
    bool m_nameShown = false;  // the current file's
    bool m_waitShown = false;
    std::optional<std::string> m_stopped, m_flushFailed;  // the closing words, if not the usual
};
