#pragma once

// Test data and doubles for the trend core: headers, a temporary folder of
// real files, the run's closing texts, a view that records what a run shows
// in the windows, and file access that logs, counts and fails on request.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/RunReport.h"
#include "trends/Trends.h"

using Bytes = std::vector<std::uint8_t>;
using Events = std::vector<std::string>;

// A valid header (signature "VELMAR", kind 2) holding `count`.
TrendFileHeader validHeader(std::int16_t count);
// A valid header holding 0x0102 whose every unexamined byte holds a distinct
// non-zero value.
TrendFileHeader patternedHeader();
// A whole trend file: `header` followed by `tailLength` patterned bytes.
Bytes trendFile(const TrendFileHeader& header, std::size_t tailLength = 300);
Bytes withCount(Bytes file, std::int16_t count);
inline Bytes withByte(Bytes file, std::size_t at, std::uint8_t value) {
    return file[at] = value, file;
}
// A parameterized test's name for its row, so that the row can be run alone.
inline constexpr auto rowName = [](const auto& info) { return std::string(info.param.name); };

// The run's closing messages, plain and as RecordingView records them.
constexpr char Completed[] =
    "Conversion is complete.\r\nYou must set the new number of history files in your "
    "project's\r\ntrend tag definitions before restarting Velmar.";
inline const std::string CompletedEvent = std::string("message none: ") + Completed;
// The two messages a file of a run can get, plain and as RecordingView
// records them.
inline std::string invalidText(const std::string& name) {
    return "File '" + name + "' is not a valid trend file.";
}
inline std::string alreadySetText(const std::string& stem, int count) {
    return stem + " is already set for " + std::to_string(count) + " files.\r\nIt will be skipped.";
}
inline std::string invalidEvent(const std::string& name) {
    return "message error: " + invalidText(name);
}
inline std::string alreadySetEvent(const std::string& stem, int count) {
    return "message information: " + alreadySetText(stem, count);
}
inline std::string stoppedEvent(const std::string& name, const std::string& error) {
    return "message exclamation: Conversion stopped at file '" + name + "'.\r\nError " + error;
}

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
inline Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A new folder in `parent` that exists for the life of the object.
class TempFolder {
public:
    explicit TempFolder(
        const std::filesystem::path& parent = std::filesystem::temp_directory_path());
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }
    std::string programPath() const {  // as the program writes paths
        const auto text = m_path.u8string();
        return std::string(text.begin(), text.end());
    }
    std::filesystem::path write(const std::string& name, const Bytes& bytes) const {
        writeFile(m_path / name, bytes);
        return m_path / name;
    }
    Bytes read(const std::string& name) const { return readFile(m_path / name); }

private:
    std::filesystem::path m_path;
};

// Every change a run makes in the windows, in order, as text: the progress
// window ("show", "label NAME", "heading TEXT", "hide"), the boxes
// ("message ICON: TEXT") and the event passes ("events"). Its clock moves
// `step` at every look, a frame unless told otherwise, so that every name is
// painted.
class RecordingView : public RunWindow, public Clock {
public:
    Events events;
    std::function<void(const std::string& event)> onEvent;  // after each is recorded
    std::chrono::steady_clock::duration step = RunReport::FramePeriod;

    RecordingView();
    void showMessage(const std::string& text, MessageIcon icon) override;
    void doEvents() override { record("events"); }
    time_point now() const override { return m_now += step; }
    void record(std::string event);
    ConvertingForm& progress() { return m_progress; }

private:
    mutable time_point m_now;
    ConvertingForm m_progress;
};

// The progress window, each change recorded in `view`; never placed over an owner.
class RecordedProgress : public ConvertingWindow {
public:
    explicit RecordedProgress(RecordingView& recording) : view(recording) {}
    RecordingView& view;
    bool isShown() const override { return m_shown; }
    void show() override { m_shown = true, view.record("show"); }
    void hide() override { m_shown = false, view.record("hide"); }
    void setFileName(const std::string& text) override { view.record("label " + text); }
    void setHeading(const std::string& text, const twips::Rect&) override {
        view.record("heading " + text);
    }
    twips::PixelRect frame() const override { return {0, 0, 300, 90}; }
    std::optional<twips::PixelRect> ownerFrame() const override { return std::nullopt; }
    void moveTo(int, int) override {}
    void centreOnScreen() override {}
    void allowClose(bool) override {}

private:
    bool m_shown = false;
};

// A run in the folder at the path `folder`, opened when the run starts,
// shown through `view`.
RunResult ExtendTrends(RecordingView& view, const std::string& folder,
                       const std::vector<std::string>& fileNames, std::int16_t newFileCount,
                       platform::FileAccess& files = platform::nativeFileAccess(),
                       RunUnderWay* underWay = nullptr);

// Passes through to the real files; logs every write and flush, counts the
// files left open, fails a step or lets another program act on request.
class SpyFiles : public platform::FileAccess {
public:
    enum class Step { List, Open, Read, OpenForWriting, Size, Write, Flush };
    Events logged;                                          // "write NAME OFFSET+LENGTH", "flush"
    Events* log = &logged;                                  // or where a test wants them
    std::optional<std::pair<Step, platform::Error>> fault;  // at every such step
    std::function<void(Step, const std::string& name)> before;  // each step; "" for the folder
    int openFiles = 0;

    void step(Step step, const std::string& name) const {
        if (before) before(step, name);
        if (fault && fault->first == step) throw fault->second;
    }
    void note(const std::string& entry) const { log->push_back(entry); }
    std::unique_ptr<platform::Folder> openFolder(const std::string& path) override;
};
