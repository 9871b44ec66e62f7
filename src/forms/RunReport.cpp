#include "forms/RunReport.h"

#include "trends/FileTools.h"

namespace {

const std::string CrLf = "\r\n";

struct SystemClock final : Clock {
    time_point now() const override { return std::chrono::steady_clock::now(); }
};

// The program's number and, in brackets, what names the folder or the
// program in the way.
std::string errorText(const platform::Error& error) {
    const std::string cause = error.cause();
    return error.what() + (cause.empty() ? "" : " (" + cause + ")");
}

}  // namespace

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

namespace runMessages {

std::string invalidFile(const std::string& fileName) {
    return "File '" + shownName(fileName) + "' is not a valid trend file.";
}

std::string alreadySet(const std::string& fileName, int storedCount) {
    return shownName(StripExtension(fileName)) + " is already set for " +
           std::to_string(storedCount) + " files." + CrLf + "It will be skipped.";
}

std::string closing() {
    return "Conversion is complete." + CrLf +
           "You must set the new number of history files in your project's" + CrLf +
           "trend tag definitions before restarting Velmar.";
}

std::string stopped(const std::string& fileName, const platform::Error& error) {
    return "Conversion stopped at file '" + shownName(fileName) + "'." + CrLf + errorText(error);
}

std::string flushFailed(const std::vector<std::string>& fileNames, const FlushFailure& failure) {
    const std::string first = "'" + shownName(fileNames[failure.files.front()]) + "'";
    const std::size_t count = failure.files.size();
    const std::string which =
        count == 1 ? "the change to file " + first
                   : "the changes to " + std::to_string(count) + " files, the first " + first + ",";
    return "Conversion stopped: " + which + " may not be on disk." + CrLf +
           errorText(failure.error);
}

}  // namespace runMessages

RunReport::RunReport(RunWindow& window, ConvertingForm& converting, const Clock& clock,
                     const std::vector<std::string>& fileNames)
    : m_window(window), m_converting(converting), m_clock(clock), m_fileNames(fileNames) {
    m_converting.Show();
}

void RunReport::fileStarted(std::size_t index) {
    m_current = index;
    m_nameShown = false;
    if (!m_painted || m_clock.now() - *m_painted >= FramePeriod) showName();
    m_window.doEvents();
}

void RunReport::waiting(platform::Holder, std::chrono::milliseconds waited) {
    if (!m_waitShown && waited >= WaitNoticeAfter) {
        showName();
        m_converting.showWaiting(true);
        m_waitShown = true;
    }
    m_window.doEvents();  // the windows answer, Close among them, while the run waits
}

void RunReport::fileTreated(const FileOutcome& outcome) {
    if (m_waitShown) m_converting.showWaiting(false);
    m_waitShown = false;
    const std::string& fileName = m_fileNames[*m_current];
    if (outcome.outcome == Outcome::Failed)
        m_stopped = runMessages::stopped(fileName, *outcome.error);
    if (outcome.outcome != Outcome::Invalid && outcome.outcome != Outcome::Skipped) return;
    showName();
    // Each file is closed before its message, so no box ever keeps a file open.
    if (outcome.outcome == Outcome::Invalid)
        m_window.showMessage(runMessages::invalidFile(fileName), MessageIcon::Error);
    else
        m_window.showMessage(runMessages::alreadySet(fileName, *outcome.before),
                             MessageIcon::Information);
}

void RunReport::flushed(const FlushFailure* failure) {
    if (failure) m_flushFailed = runMessages::flushFailed(m_fileNames, *failure);
}

void RunReport::runEnded() {
    if (m_current) showName();
    m_converting.Hide();
    if (m_stopped) m_window.showMessage(*m_stopped, MessageIcon::Exclamation);
    if (m_flushFailed) m_window.showMessage(*m_flushFailed, MessageIcon::Exclamation);
    if (!m_stopped && !m_flushFailed)
        m_window.showMessage(runMessages::closing(), MessageIcon::None);
}

void RunReport::tellFlushFailed(const FlushFailure& failure) {
    m_converting.Hide();
    m_window.showMessage(runMessages::flushFailed(m_fileNames, failure), MessageIcon::Exclamation);
}

void RunReport::showName() {
    if (m_nameShown) return;
    m_converting.setFileName(shownName(StripExtension(m_fileNames[*m_current])));
    m_painted = m_clock.now();
    m_nameShown = true;
}
