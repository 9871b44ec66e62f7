#pragma once

// Test data and doubles for the trend core: headers, a temporary folder of
// real files, a view that records what a run shows, and file access that
// counts open files or fails on request.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Definitions.h"
#include "FileAccess.h"
#include "Trends.h"

using Bytes = std::vector<std::uint8_t>;

// A valid header (signature "VELMAR", kind 2) holding `count`.
TrendFileHeader validHeader(std::int16_t count);

// A valid header whose every unexamined byte holds a distinct non-zero value.
TrendFileHeader patternedHeader();

// A whole trend file: `header` followed by `tailLength` patterned bytes.
Bytes trendFile(const TrendFileHeader& header, std::size_t tailLength = 300);

// A folder that exists for the life of the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& path() const { return m_path; }
    // The folder as the program writes paths.
    std::string programPath() const;
    std::filesystem::path write(const std::string& name, const Bytes& bytes) const;
    Bytes read(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

// Every change of the run's view, in order, as text.
class RecordingView : public RunView {
public:
    std::vector<std::string> events;
    std::function<void()> onEvents;

    void showProgress() override { events.push_back("show"); }
    void setProgressFileName(const std::string& text) override {
        events.push_back("label " + text);
    }
    void hideProgress() override { events.push_back("hide"); }
    void showMessage(const std::string& text, MessageIcon icon) override;
    void doEvents() override;
};

// A view that shows nothing, for runs whose screen does not matter.
class QuietView : public RunView {
public:
    void showProgress() override {}
    void setProgressFileName(const std::string&) override {}
    void hideProgress() override {}
    void showMessage(const std::string&, MessageIcon) override {}
    void doEvents() override {}
};

// Passes through to the real files and counts those left open.
class CountingFileAccess : public platform::FileAccess {
public:
    enum class Fault { None, Open, Read, Write, Close };

    // Fails the given step for paths ending in `faultyName`.
    void inject(Fault fault, const std::string& faultyName, platform::Error error);

    int openFiles() const { return *m_open; }
    std::unique_ptr<platform::OpenFile> openExisting(const std::string& path) override;

private:
    std::shared_ptr<int> m_open = std::make_shared<int>(0);
    Fault m_fault = Fault::None;
    std::string m_faultyName;
    platform::Error m_error{0, ""};
};
